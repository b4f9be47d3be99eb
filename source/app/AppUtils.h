// Free routines shared by the application's windows: time texts, the open dialog's filter, file-name
// checks, file sizes, the folder browser and small text helpers of the conversion driver.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "StringList.h"
#include "TimeText.h"  // the time texts of profiles live with the engine

// --- time texts ---
// The encoder's h:m:s with decimal seconds ("00:01:23.45"); 0 for a text with fewer than three parts.
int64_t DurationToMilliseconds(const std::string& text);

// --- texts and file names ---
// The pieces between the delimiters; a trailing delimiter gives an empty last piece.
TStringList SplitString(const std::string& text, char delimiter);
// The trimmed text between the first StartMark and the next EndMark after it; empty when either is
// missing.
std::string ExtractBetween(const std::string& text, const std::string& startMark, const std::string& endMark);
// "name|pattern|" per name=pattern line, then the All Files entry: "...|All Files|*.*".
std::string BuildFilterString(const TStringList& list);
bool ContainsAnyChar(const std::string& text, const std::string& chars);
// False for an empty name or one holding any of \ / : * ? " < > |.
bool IsValidFileName(const std::string& name);

class TCustomForm;
// Asks for an integer in Min .. Max in the value-entry window, centred on Owner, with its own caption and
// prompt; the edit starts empty. Returns the accepted value, or Default when the user cancelled.
int32_t InputIntegerDialog(TCustomForm* owner, const std::string& caption, const std::string& prompt, int32_t min,
                           int32_t max, int32_t def);
// Same folder and extension, new base name.
std::string ReplaceFileName(const std::string& path, const std::string& newName);
// Size of the first entry matching Path (a pattern or a folder matches too); -1 when none does.
int64_t GetFileSize64(const std::string& path);
// Deletes FileName when it exists and is empty; true when it was deleted.
bool DeleteFileIfEmpty(const std::string& fileName);

// --- the shell's folder browser ---
// Starts at Path (selected through BrowseCallbackProc); Root empty means the desktop. True and Path set to
// the chosen folder when the user picked one.
bool BrowseForFolder(HWND ownerWindow, std::string& path, const std::string& title, const std::string& root,
                     uint32_t flags);
int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM param, LPARAM data);
