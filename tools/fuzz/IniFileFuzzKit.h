// What the INI-file fuzz targets share: each input becomes a file of its own, read through the system's
// profile routines as the program reads its language and profile files. Every input gets a new name,
// because the system caches INI files by name and modification time, and two inputs written within the
// file system's clock tick would look like the same file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>

class TInputIniFile {
public:
  TInputIniFile(const uint8_t* data, size_t size, const char* extension) {
    // One folder of the process's own, removed when the program ends (each input's file goes with it).
    static const struct TFolder {
      TFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Path = std::string(temp) + "orv-fuzz-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(Path.c_str(), nullptr);
      }
      ~TFolder() { RemoveDirectoryA(Path.c_str()); }
      std::string Path;
    } folder;
    static unsigned counter = 0;
    Path = folder.Path + "input" + std::to_string(counter++) + extension;
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  ~TInputIniFile() { DeleteFileA(Path.c_str()); }
  TInputIniFile(const TInputIniFile&) = delete;
  TInputIniFile& operator=(const TInputIniFile&) = delete;

  std::string Path;
};
