#include "OrvMultiLanguages.h"

#include <windows.h>

#include "FileUtils.h"
#include "IniFile.h"
#include "OrvUtils.h"

TOrvMultiLanguages::TOrvMultiLanguages(const std::string& dir, const std::string& key, const std::string& section) {
  const DWORD attributes = GetFileAttributesA(dir.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  FileNames = std::make_unique<TStringList>();
  LanguageNames = std::make_unique<TStringList>();
  const std::string folder = (!dir.empty() && dir.back() == '\\') ? dir : dir + "\\";
  WIN32_FIND_DATAA data;
  const HANDLE search = FindFirstFileA((folder + "*.ini").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string path = dir + data.cFileName;
    const std::string plainName = ExtractFileNameOnly(data.cFileName);
    const std::string name = TIniFile(path).ReadString(section, key, plainName);
    FileNames->Add(path);
    LanguageNames->Add(name.empty() ? plainName : name);
    ++Count;
  } while (FindNextFileA(search, &data));
  FindClose(search);
}

std::string TOrvMultiLanguages::GetFileName(int index) const {
  return index >= 0 && index < Count ? (*FileNames)[index] : std::string();
}

std::string TOrvMultiLanguages::GetLanguageName(int index) const {
  return index >= 0 && index < Count ? (*LanguageNames)[index] : std::string();
}

void TOrvMultiLanguages::SetItemIndex(int index) {
  if (index >= 0 && index < Count) ItemIndex = index;
}
