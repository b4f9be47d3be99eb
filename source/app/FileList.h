// The file list's rules, apart from its window: which extensions the list accepts, when two paths
// name the same file, the media values of an entry, the summary line and where deleting and moving
// leave the selection.
#pragma once

#include <string>
#include <vector>

#include "StringList.h"
#include "globals.h"

// True when Ext (with its dot, any letter case) is one of the extensions named by the patterns of
// the filter lines (name=pattern, patterns split by ";", such as "*.mp4;*.m4v"). Whole extensions
// only: ".m" does not pass because of "*.mp4". Wildcards other than the leading "*." match nothing.
bool IsSupportedExtension(const std::string& ext, const TStringList& filters);
// Whether two paths name the same file: compared without regard to letter case, as the file system does.
bool SameFilePath(const std::string& a, const std::string& b);
// A key for which SameFilePath(a, b) implies FilePathKey(a) == FilePathKey(b): the system's sort key
// without regard to case. A set of keys answers "not listed yet" at once; a key found there is then
// confirmed with SameFilePath. Empty when the system gives no key.
std::string FilePathKey(const std::string& path);

// The sixteen media values in the order of TFileItem and the library parameters that give them.
constexpr int FileItemValueCount = 16;
extern std::string TFileItem::* const FileItemValues[FileItemValueCount];

// "Summary: No files", "Summary: One file", "Summary: %d files".
std::string SummaryText(int count);
// After deleting the entries at `deleted` (indexes before the deletion): the index to select (the
// lowest deleted index; SelectListItem clamps it to the last entry); -1 when nothing was deleted.
int SelectionAfterDelete(const std::vector<int>& deleted);
// Where an entry at `index` goes when moved up or down in a list of `count`: the index at which its
// copy is inserted before the original goes; -1 when it cannot move (first up, last down, none).
int MoveInsertIndex(int index, int count, bool up);
