#include "DelayLoad.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <uxtheme.h>

#include <cstring>
#include <string>

// The compiler calls an imported function through its import slot, "__imp__<name>@<argument bytes>",
// which the import library defines and the system's loader fills in at start. This file defines those
// slots for the functions below instead. Each slot first holds a stub that loads the library, looks the
// function up, stores its address in the slot and calls it; later calls go straight to the function.
// (The toolchain's own delay-load libraries leave the slots empty on this target.) A function missing
// here is still imported at start through its import library, so the table only ever saves time.
#define ORV_DELAY_LOADED_FUNCTIONS(X)        \
  X("comctl32.dll", ImageList_Add, 12)       \
  X("comctl32.dll", ImageList_AddMasked, 12) \
  X("comctl32.dll", ImageList_Create, 20)    \
  X("comctl32.dll", ImageList_Destroy, 4)    \
  X("comctl32.dll", ImageList_Draw, 24)      \
  X("comctl32.dll", ImageList_DrawIndirect, 4) \
  X("comctl32.dll", ImageList_GetIcon, 12)   \
  X("comctl32.dll", ImageList_GetIconSize, 12) \
  X("comctl32.dll", ImageList_GetImageCount, 4) \
  X("comctl32.dll", ImageList_Remove, 8)     \
  X("comctl32.dll", ImageList_ReplaceIcon, 12) \
  X("comctl32.dll", ImageList_SetBkColor, 8) \
  X("comctl32.dll", InitCommonControlsEx, 4) \
  X("comdlg32.dll", GetOpenFileNameA, 4)     \
  X("comdlg32.dll", GetSaveFileNameA, 4)     \
  X("shell32.dll", DragAcceptFiles, 8)       \
  X("shell32.dll", DragFinish, 4)            \
  X("shell32.dll", DragQueryFileA, 16)       \
  X("shell32.dll", SHBrowseForFolderA, 4)    \
  X("shell32.dll", SHGetDesktopFolder, 4)    \
  X("shell32.dll", SHGetFolderPathA, 20)     \
  X("shell32.dll", SHGetMalloc, 4)           \
  X("shell32.dll", SHGetPathFromIDListA, 8)  \
  X("shell32.dll", ShellExecuteA, 24)        \
  X("shell32.dll", Shell_NotifyIconA, 8)     \
  X("uxtheme.dll", CloseThemeData, 4)        \
  X("uxtheme.dll", DrawThemeBackground, 24)  \
  X("uxtheme.dll", IsAppThemed, 0)           \
  X("uxtheme.dll", IsThemeActive, 0)         \
  X("uxtheme.dll", OpenThemeData, 8)         \
  X("msimg32.dll", TransparentBlt, 44)

namespace {

struct TDelayImport {
  const char* Library;
  const char* Function;
  void* Slot;  // the function's import slot
};

FARPROC Bind(const TDelayImport& import) {
  HMODULE library = LoadLibraryA(import.Library);
  FARPROC address = library ? GetProcAddress(library, import.Function) : nullptr;
  if (!address) {
    // What the system's loader would have said at start.
    const std::string text = std::string("The procedure entry point ") + import.Function +
                             " could not be located in the dynamic link library " + import.Library + ".";
    FatalAppExitA(0, text.c_str());
  }
  // Threads binding the same function at once all store the same address.
  InterlockedExchangePointer(static_cast<void**>(import.Slot), reinterpret_cast<void*>(address));
  return address;
}

template <const TDelayImport& Import, typename R, typename... A>
R WINAPI BindAndCall(A... args) {
  return reinterpret_cast<R(WINAPI*)(A...)>(Bind(Import))(args...);
}

template <const TDelayImport& Import, typename R, typename... A>
constexpr auto FirstCallStub(R(WINAPI*)(A...)) {
  return &BindAndCall<Import, R, A...>;
}

// The "@<n>" of a function's import name: its arguments' bytes on the stack.
template <typename R, typename... A>
constexpr int ArgumentBytes(R(WINAPI*)(A...)) {
  return (0 + ... + ((int(sizeof(A)) + 3) / 4 * 4));
}

}  // namespace

#define ORV_DEFINE_DELAY_IMPORT(library, function, argumentBytes)                                          \
  extern "C" decltype(&::function) orvImportSlot_##function asm("__imp__" #function "@" #argumentBytes); \
  static_assert(ArgumentBytes(decltype(&::function){}) == argumentBytes, #function " takes other arguments"); \
  namespace {                                                                                              \
  const TDelayImport orvDelayImport_##function{library, #function, &orvImportSlot_##function};             \
  }                                                                                                        \
  decltype(&::function) orvImportSlot_##function = FirstCallStub<orvDelayImport_##function>(decltype(&::function){});
ORV_DELAY_LOADED_FUNCTIONS(ORV_DEFINE_DELAY_IMPORT)
#undef ORV_DEFINE_DELAY_IMPORT

const std::vector<const char*>& DelayLoadedLibraries() {
  static const std::vector<const char*> libraries = [] {
    std::vector<const char*> names;
    for (const char* name : {
#define ORV_LIBRARY_NAME(library, function, argumentBytes) library,
             ORV_DELAY_LOADED_FUNCTIONS(ORV_LIBRARY_NAME)
#undef ORV_LIBRARY_NAME
         }) {
      bool known = false;
      for (const char* n : names) known = known || std::strcmp(n, name) == 0;
      if (!known) names.push_back(name);
    }
    return names;
  }();
  return libraries;
}

namespace {

// The libraries stay loaded for the program's life, as imports loaded at start would.
DWORD WINAPI LoadDelayedLibraries(void*) {
  for (const char* name : DelayLoadedLibraries()) LoadLibraryA(name);
  return 0;
}

}  // namespace

void LoadDelayedLibrariesInBackground() {
  static bool started = false;
  if (started) return;
  started = true;
  DelayLoadedLibraries();  // built here, not raced for on the new thread
  if (HANDLE thread = CreateThread(nullptr, 0, LoadDelayedLibraries, nullptr, 0, nullptr)) CloseHandle(thread);
}
