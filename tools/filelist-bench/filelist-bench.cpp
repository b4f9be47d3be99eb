// filelist-bench PROGRAM_FOLDER FOLDER [ROUNDS]: builds a program folder in the temp folder, then in each
// round reads every file of FOLDER with the library alone and adds them all to a new main window through
// AddFiles; writes the count of files, the count listed, the median milliseconds of AddFiles and of the
// library alone and the median of the rounds' ratios to FOLDER\bench.txt.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
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
  // Rounds of the library alone (the sixteen values of every file, one after the other), then a new
  // main window adding them all; the ratio of each round, so that a slower spell of the machine
  // touches both sides of it.
  const int rounds = __argc > 3 ? std::max(1, atoi(__argv[3])) : 1;
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  auto msSince = [&f](const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    return double(b.QuadPart - a.QuadPart) * 1000.0 / double(f.QuadPart);
  };
  std::vector<double> libraryMs, addMs, ratios;
  int listed = 0;
  for (int round = 0; round < rounds; ++round) {
    QueryPerformanceCounter(&t0);
    for (const std::string& file : files) ReadMediaValues(file);
    QueryPerformanceCounter(&t1);
    libraryMs.push_back(msSince(t0, t1));
    auto* form = new TfrmMain(Application);
    form->Show();
    QueryPerformanceCounter(&t0);
    form->AddFiles(files);
    QueryPerformanceCounter(&t1);
    addMs.push_back(msSince(t0, t1));
    ratios.push_back(addMs.back() / libraryMs.back());
    listed = form->lsvFileName->Count();
    form->Free();
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::ofstream(folder + "bench.txt") << files.size() << " " << listed << " " << median(addMs) << " "
                                      << median(libraryMs) << " " << median(ratios) << "\n";
  return 0;
}
