// filelist-bench FOLDER: builds a program folder in the temp folder, opens the main window and adds
// every file of FOLDER through AddFiles; writes the counts, the milliseconds of AddFiles and those of the
// library alone to FOLDER\bench.txt.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "Forms.h"
#include "MainWnd.h"
#include "MediaInfoDll.h"
#include "MultiLanguages.h"
#include "globals.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The program folder (language file, media library) and the folder of files to add.
  std::string exeDir = __argc > 2 ? __argv[1] : "", folder = __argc > 2 ? __argv[2] : "";
  if (exeDir.empty() || folder.empty()) return 2;
  if (exeDir.back() != '\\') exeDir += '\\';
  if (folder.back() != '\\') folder += '\\';

  // A program folder of its own, so the build's program folder gets no options file.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string home = std::string(temp) + "orv-filelist-bench\\";
  CreateDirectoryA(home.c_str(), nullptr);
  CreateDirectoryA((home + "langs").c_str(), nullptr);
  CopyFileA((exeDir + "langs\\English.ini").c_str(), (home + "langs\\English.ini").c_str(), FALSE);

  Application->Initialize();
  InitGlobals(home);
  if (!ReadLanguageFile() || !LoadMediaInfoDll(exeDir)) return 3;
  std::vector<std::string> files;
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &d);
  if (h != INVALID_HANDLE_VALUE) {
    do
      if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::string(d.cFileName) != "bench.txt")
        files.push_back(folder + d.cFileName);
    while (FindNextFileA(h, &d));
    FindClose(h);
  }
  // The library alone, for comparison: the sixteen values of every file.
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  for (const std::string& file : files) ReadMediaValues(file);
  QueryPerformanceCounter(&t1);
  double libraryMs = double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(f.QuadPart);
  auto* form = new TfrmMain(Application);
  form->Show();
  QueryPerformanceCounter(&t0);
  form->AddFiles(files);
  QueryPerformanceCounter(&t1);
  double ms = double(t1.QuadPart - t0.QuadPart) * 1000.0 / double(f.QuadPart);
  std::ofstream(folder + "bench.txt") << files.size() << " " << form->lsvFileName->Count() << " " << ms << " " << libraryMs << "\n";
  form->Free();
  return 0;
}
