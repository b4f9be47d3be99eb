// What a failed file leaves behind: the reason the user is told, and the output that must not stay
// under the final name as if it were the result.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "ConversionTexts.h"

// --- the reason -----------------------------------------------------------------------------------------

// Whether an encoder's console line tells why it failed ("av_interleaved_write_frame(): No space left
// on device", "Output file #0 does not contain any stream"). Progress lines, the input and output
// headers and the indented lines below them never do.
bool IsEncoderErrorLine(const std::string& line);
// A line that only says that the run failed ("Conversion failed!"): it never hides a line that said why.
bool IsGenericFailureLine(const std::string& line);

// Keeps the last line of one encoder run that said why it failed.
class TEncoderErrorWatch {
public:
    void Clear() { line_.clear(); }
    void See(const std::string& line);
    const std::string& LastErrorLine() const { return line_; }

private:
    std::string line_;
};

// An exit code as the user reads it: decimal, and the large codes of a crash in hex ("0xC0000005").
std::string ExitCodeText(DWORD exitCode);

// A reason with each of `paths` (the run's input and output, which encoders name in full) cut to its
// file name: the message names the folders once, in the file list, not in every line.
std::string ReasonWithFileNames(const std::string& reason, std::initializer_list<std::string> paths);

struct TFailedFile {
    std::string File;    // the source's file name
    std::string Reason;  // one line
};

// The message after a batch with failures: IDS_MESSAGEBOX_AnErrorOccurred, then the failed files, each
// with its reason, at most MaxListedFailures of them, and how many more there were. Names and reasons
// longer than a message box shows on one line lose their middle.
const size_t MaxListedFailures = 8;
const size_t MaxFailedNameLength = 60;
const size_t MaxFailureReasonLength = 110;
std::string FailureMessage(const TConversionTexts& texts, const std::vector<TFailedFile>& failures);

// --- the output -----------------------------------------------------------------------------------------

// The output file as it was just before its encoder started.
struct TOutputSnapshot {
    bool Existed = false;
    int64_t Size = 0;
    FILETIME Written = {};
};
TOutputSnapshot TakeOutputSnapshot(const std::string& path);

// After a failed run: deletes the output when this run made it, that is when it was not there before
// the start, or when it was there (the user chose to overwrite it) and the run has rewritten it. An
// existing file the run left untouched stays. True when a file was deleted.
bool RemoveFailedOutput(const std::string& path, const TOutputSnapshot& before);
