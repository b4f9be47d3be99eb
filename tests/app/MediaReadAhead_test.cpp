// The read-ahead of a batch's media values: whatever files it reads on its workers and in whatever
// order the batch asks, every answer is what the library gives for that file read alone on the main
// thread; good, damaged, truncated, empty and missing files alike.
#include "MediaReadAhead.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>

#include "UnixShell.h"

namespace {

std::string TestDataFile(const std::string& name) {
  std::string dir = ORV_TEST_DATA_DIR;
  while (!dir.empty() && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
  return dir + "\\" + name;
}

DWORD Processors() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors;
}

class MediaReadAheadTest : public ::testing::Test {
protected:
  static std::string Folder, SetupError;
  static std::vector<std::string> Paths;  // a mix of every class of file, several times over

  static void SetUpTestSuite() {
    Folder = MakeScratchFolder("orv-readahead-");
    WriteWholeFile(Folder + "params.txt", "");
    std::string unixFolder = UnixPathOf(Folder + "params.txt");
    unixFolder.erase(unixFolder.size() - std::string("params.txt").size());
    TUnixCommandResult run =
        RunUnixCommand("sh " + ShellQuote(UnixPathOf(TestDataFile("make-media.sh"))) + " " + ShellQuote(unixFolder));
    if (!run.Finished || run.ExitCode != 0) {
      SetupError = "make-media.sh failed: " + run.Output;
      return;
    }
    // Truncated copies of a good file (cut inside its header, its index and its data) and an empty one.
    const std::string mp4 = ReadWholeFile(Folder + "clip.mp4");
    const size_t cuts[] = {0, 7, 100, 1000, mp4.size() / 2, mp4.size() - 1};
    std::vector<std::string> classes = {"clip.avi", "clip.mp4", "clip.mp3", "clip.wav", "random.avi", "missing.avi"};
    for (size_t cut : cuts) {
      const std::string name = "cut" + std::to_string(cut) + ".mp4";
      WriteWholeFile(Folder + name, mp4.substr(0, cut));
      classes.push_back(name);
    }
    for (int round = 0; round < 4; ++round)
      for (const std::string& name : classes) Paths.push_back(Folder + name);
  }
  static void TearDownTestSuite() {
    UnloadMediaInfoDll();
    RemoveScratchFolder(Folder);
  }
  void SetUp() override {
    ASSERT_EQ(SetupError, "");
    ASSERT_TRUE(LoadMediaInfoDll(ORV_PROGRAM_DIR)) << MediaInfoDllError();
  }
};
std::string MediaReadAheadTest::Folder, MediaReadAheadTest::SetupError;
std::vector<std::string> MediaReadAheadTest::Paths;

TEST_F(MediaReadAheadTest, EveryAnswerIsWhatReadingTheFileAloneGives) {
  const std::vector<bool> all(Paths.size(), true);
  std::vector<bool> some(Paths.size(), false);
  for (size_t i = 0; i < Paths.size(); i += 2) some[i] = true;
  struct {
    const char* Name;
    const std::vector<bool>& Wanted;
    size_t Step;   // the batch asks for every Step-th file only
    size_t First;  // and starts there
  } cases[] = {
      {"all wanted, all asked", all, 1, 0},
      {"every other wanted, all asked", some, 1, 0},
      {"all wanted, every third asked", all, 3, 0},
      {"all wanted, asked from the middle on", all, 1, Paths.size() / 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TMediaReadAhead readAhead(Paths, c.Wanted, nullptr);
    EXPECT_EQ(readAhead.WorkerCount(), 0u);  // nothing runs before the batch asks for its first file
    for (size_t i = c.First; i < Paths.size(); i += c.Step) {
      const TMediaValues values = readAhead.Take(i);
      EXPECT_EQ(readAhead.WorkerCount() > 0, Processors() > 1);
      EXPECT_LE(readAhead.WorkerCount(), TMediaReadAhead::MaxWorkers);
      EXPECT_EQ(values, ReadMediaValues(Paths[i])) << Paths[i];
    }
  }
}

TEST_F(MediaReadAheadTest, NothingOrOneFileWantedStartsNoWorker) {
  for (size_t wantedCount : {size_t(0), size_t(1), size_t(2)}) {
    SCOPED_TRACE(wantedCount);
    std::vector<bool> wanted(Paths.size(), false);
    for (size_t i = 0; i < wantedCount; ++i) wanted[i] = true;
    TMediaReadAhead readAhead(Paths, wanted, nullptr);
    for (size_t i = 0; i < Paths.size(); ++i) EXPECT_EQ(readAhead.Take(i), ReadMediaValues(Paths[i])) << Paths[i];
    // The first file is read by the batch itself; a single one left is not worth a thread.
    EXPECT_EQ(readAhead.WorkerCount(), 0u);
  }
}

// A batch that ends early (an exception, a closed window) leaves no thread behind and does not wait
// for the files nobody asked for.
TEST_F(MediaReadAheadTest, EndingEarlyStopsTheWorkers) {
  const std::vector<bool> all(Paths.size(), true);
  for (size_t taken : {size_t(0), size_t(1), size_t(5)}) {
    SCOPED_TRACE(taken);
    auto readAhead = std::make_unique<TMediaReadAhead>(Paths, all, nullptr);
    for (size_t i = 0; i < taken; ++i) EXPECT_EQ(readAhead->Take(i), ReadMediaValues(Paths[i]));
    readAhead.reset();  // joins: returns only once every worker has left
  }
  SUCCEED();
}

// The library corrupts its heap when two threads are inside it at once, even on different handles.
// Every entry point is wrapped here in a counter of the threads inside it (the file's opening lingers
// there a moment, so that an unguarded second reader would be caught inside too), and a batch runs its
// workers while the main thread reads files of its own: the same file's values, and never two threads
// inside.
namespace library_entries {

std::atomic<int> inside{0}, mostInside{0};
TMediaInfoA_New realNew;
TMediaInfoA_Delete realDelete;
TMediaInfoA_Open realOpen;
TMediaInfoA_Close realClose;
TMediaInfoA_Inform realInform;
TMediaInfoA_Get realGet;
TMediaInfoA_Option realOption;

struct TInside {
  TInside() {
    const int now = ++inside;
    int most = mostInside;
    while (now > most && !mostInside.compare_exchange_weak(most, now)) {
    }
  }
  ~TInside() { --inside; }
};

void* __stdcall New() { TInside in; return realNew(); }
void __stdcall Delete(void* h) { TInside in; realDelete(h); }
size_t __stdcall Open(void* h, const char* file) {
  TInside in;
  const size_t opened = realOpen(h, file);
  Sleep(1);
  return opened;
}
void __stdcall Close(void* h) { TInside in; realClose(h); }
const char* __stdcall Inform(void* h, size_t reserved) { TInside in; return realInform(h, reserved); }
const char* __stdcall Get(void* h, int kind, size_t number, const char* parameter, int info, int search) {
  TInside in;
  return realGet(h, kind, number, parameter, info, search);
}
const char* __stdcall Option(void* h, const char* option, const char* value) {
  TInside in;
  return realOption(h, option, value);
}

// Puts the counting entries in place for its lifetime.
struct TCountedEntries {
  TCountedEntries() {
    realNew = MediaInfoA_New, realDelete = MediaInfoA_Delete, realOpen = MediaInfoA_Open;
    realClose = MediaInfoA_Close, realInform = MediaInfoA_Inform, realGet = MediaInfoA_Get;
    realOption = MediaInfoA_Option;
    MediaInfoA_New = New, MediaInfoA_Delete = Delete, MediaInfoA_Open = Open, MediaInfoA_Close = Close;
    MediaInfoA_Inform = Inform, MediaInfoA_Get = Get, MediaInfoA_Option = Option;
    inside = 0, mostInside = 0;
  }
  ~TCountedEntries() {
    MediaInfoA_New = realNew, MediaInfoA_Delete = realDelete, MediaInfoA_Open = realOpen;
    MediaInfoA_Close = realClose, MediaInfoA_Inform = realInform, MediaInfoA_Get = realGet;
    MediaInfoA_Option = realOption;
  }
};

}  // namespace library_entries

TEST_F(MediaReadAheadTest, NoTwoThreadsAreEverInsideTheLibraryAtOnce) {
  if (Processors() < 2) GTEST_SKIP() << "one processor: the batch starts no worker";
  std::vector<TMediaValues> alone;
  for (const std::string& path : Paths) alone.push_back(ReadMediaValues(path));
  // The workers read every other file; the main thread reads the ones between on the spot, and the
  // full report of a file each time it takes one, as a click on the list would ask for it meanwhile.
  std::vector<bool> everyOther(Paths.size(), false);
  for (size_t i = 0; i < Paths.size(); i += 2) everyOther[i] = true;
  library_entries::TCountedEntries counted;
  TMediaReadAhead readAhead(Paths, everyOther, nullptr);
  for (size_t i = 0; i < Paths.size(); ++i) {
    EXPECT_EQ(readAhead.Take(i), alone[i]) << Paths[i];
    EXPECT_NE(TMediaInfoFile(Paths[0]).CompleteReport(), "");
  }
  EXPECT_GT(readAhead.WorkerCount(), 0u);
  EXPECT_EQ(library_entries::mostInside, 1);
}

}  // namespace
