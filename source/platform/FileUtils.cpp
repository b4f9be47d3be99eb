#include "FileUtils.h"

#include <windows.h>

namespace {

size_t LastDelimiter(const std::string& path, const char* delimiters)
{
    return path.find_last_of(delimiters);
}

}  // namespace

std::string ExtractFilePath(const std::string& path)
{
    const size_t i = LastDelimiter(path, "\\/:");
    return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

std::string ExtractFileName(const std::string& path)
{
    const size_t i = LastDelimiter(path, "\\/:");
    return i == std::string::npos ? path : path.substr(i + 1);
}

std::string ExtractFileExt(const std::string& path)
{
    const size_t i = LastDelimiter(path, ".\\/:");
    return (i == std::string::npos || path[i] != '.') ? std::string() : path.substr(i);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    const size_t i = LastDelimiter(path, ".\\/:");
    if (i == std::string::npos || path[i] != '.') return path + ext;
    return path.substr(0, i) + ext;
}

std::string ExpandFileName(const std::string& path)
{
    char buffer[MAX_PATH * 4];
    char* namePart = nullptr;
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, &namePart);
    return (n == 0 || n >= sizeof buffer) ? path : std::string(buffer, n);
}

std::string ModuleFileName()
{
    char buffer[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, n);
}

bool FileExists(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& path)
{
    std::string dir = path;
    while (dir.size() > 3 && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    const std::string parent = ExtractFilePath(dir);
    if (!parent.empty() && parent != dir && !(parent.size() <= 3 && parent.back() == ':') && !ForceDirectories(parent))
        return false;
    return CreateDirectoryA(dir.c_str(), nullptr) || DirectoryExists(dir);
}

bool DeleteFileAt(const std::string& path) { return DeleteFileA(path.c_str()) || !FileExists(path); }

std::vector<std::string> FindFiles(const std::string& pattern, bool directories)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const bool isDir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (isDir == directories) names.push_back(name);
    } while (FindNextFileA(h, &data));
    FindClose(h);
    return names;
}

bool ReadFileText(const std::string& path, std::string& data)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    data.clear();
    char buffer[65536];
    DWORD got = 0;
    BOOL ok;
    while ((ok = ReadFile(f, buffer, sizeof buffer, &got, nullptr)) && got > 0) data.append(buffer, got);
    CloseHandle(f);
    return ok != FALSE;
}

bool WriteFileText(const std::string& path, const std::string& data)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, data.data(), DWORD(data.size()), &written, nullptr) && written == data.size();
    CloseHandle(f);
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}
