// File-system helpers over the ANSI Win32 calls. Paths use "\" (a "/" is accepted where Windows accepts it).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

std::string ExtractFilePath(const std::string& path);  // folder with its trailing "\" (or ":")
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);   // ".ext", or empty
std::string ChangeFileExt(const std::string& path, const std::string& ext);
std::string ExpandFileName(const std::string& path);   // full path
std::string ModuleFileName();                          // the running program's file

bool FileExists(const std::string& path);       // an existing file, not a folder
bool DirectoryExists(const std::string& path);
bool ForceDirectories(const std::string& path);  // creates missing parents; true when it exists after
bool DeleteFileAt(const std::string& path);  // true when the file is gone
// Names (not paths) of the entries that match a wildcard pattern such as "C:\x\*.avo".
std::vector<std::string> FindFiles(const std::string& pattern, bool directories = false);
// Reads a whole file; false when it cannot be opened.
bool ReadFileText(const std::string& path, std::string& data);
// Writes a whole file; false on failure (a partly written file is removed).
bool WriteFileText(const std::string& path, const std::string& data);
