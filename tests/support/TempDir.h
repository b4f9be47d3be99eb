// A fresh folder under the system's temporary folder for one test, removed with everything in it.
#pragma once
#include <windows.h>

#include <string>

class TempDir {
public:
    TempDir()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int counter = 0;
        for (;;) {
            path_ = std::string(base) + "orvane-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++counter) + "\\";
            if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        }
    }
    ~TempDir() { RemoveTree(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, with a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((dir + "*").c_str(), &data);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..") continue;
                const std::string full = dir + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full + "\\");
                } else {
                    SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(h, &data));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }

private:
    std::string path_;
};
