#include "DelayLoad.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The libraries an executable file names in its import directory, in lower case.
std::vector<std::string> ImportedLibraries(const std::string& path) {
  HMODULE image = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!image) return {};
  // A module loaded as an image resource has its low bits set; the mapping starts at the page.
  const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<uintptr_t>(image) & ~uintptr_t(3));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> names;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d)
    names.push_back(Lower(reinterpret_cast<const char*>(base + d->Name)));
  FreeLibrary(image);
  return names;
}

TEST(DelayLoad, TheProgramStartsWithoutTheLibrariesItBindsOnFirstUse) {
  const std::vector<std::string> imported = ImportedLibraries(ORV_PROGRAM_DIR "Orvane.exe");
  ASSERT_NE(std::find(imported.begin(), imported.end(), "user32.dll"), imported.end())
      << "the program's import directory was not read";
  ASSERT_FALSE(DelayLoadedLibraries().empty());
  for (const char* library : DelayLoadedLibraries())
    EXPECT_EQ(std::find(imported.begin(), imported.end(), Lower(library)), imported.end()) << library;
}

TEST(DelayLoad, TheBackgroundLoadBringsEveryLibraryIntoMemory) {
  LoadDelayedLibrariesInBackground();
  LoadDelayedLibrariesInBackground();  // a second call starts nothing more
  for (const char* library : DelayLoadedLibraries()) {
    // The thread has done its work once it lets go of the loader: wait for each library in turn.
    for (int i = 0; i < 6000 && !GetModuleHandleA(library); ++i) Sleep(10);
    EXPECT_NE(GetModuleHandleA(library), nullptr) << library;
  }
}

TEST(DelayLoad, ABoundFunctionAnswersAsTheLibrarysOwn) {
  // The first call goes through the binding stub, later ones straight to the library.
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 2, 2);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_TRUE(ImageList_Destroy(list));
  HIMAGELIST second = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
  EXPECT_NE(second, nullptr) << "a second call reaches the library too";
  ImageList_Destroy(second);
}

}  // namespace
