// The media-information library as the file list uses it: loaded from its folder, read through the
// ANSI interface, and compared with what Debian's own mediainfo answers for the same files.
#include "MediaInfoDll.h"

#include "Errors.h"
#include "UnixShell.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <sstream>

// The program folder of the build holds videoinfo.Dll.
#define ORV_MEDIAINFO_DIR ORV_PROGRAM_DIR

namespace {

const char* StreamKindName(TMediaStreamKind Kind) {
  switch (Kind) {
    case mskGeneral: return "General";
    case mskVideo: return "Video";
    case mskAudio: return "Audio";
    default: return "Other";
  }
}

std::string TestDataFile(const std::string& Name) {
  std::string Dir = ORV_TEST_DATA_DIR;
  while (!Dir.empty() && (Dir.back() == '/' || Dir.back() == '\\')) Dir.pop_back();
  return Dir + "\\" + Name;
}

std::string Key(TMediaStreamKind Kind, const std::string& Parameter) {
  return std::string(StreamKindName(Kind)) + ";" + Parameter;
}

// Media files made once for all tests, with mediainfo's answers: file -> "Kind;Parameter" -> value.
class MediaFiles : public ::testing::Test {
protected:
  static std::string Folder;
  static std::map<std::string, std::map<std::string, std::string>> Expected;
  static std::string SetupError;

  static void SetUpTestSuite() {
    Folder = MakeScratchFolder("orv-media-");
    std::string Params;
    for (const TMediaValueParam& P : MediaValueParams) {
      Params += Key(P.Kind, P.Parameter) + "\n";
      if (P.Current) Params += Key(P.Kind, P.Current) + "\n";
    }
    WriteWholeFile(Folder + "params.txt", Params);
    std::string Script = UnixPathOf(TestDataFile("make-media.sh"));
    std::string UnixFolder = UnixPathOf(Folder + "params.txt");
    UnixFolder.erase(UnixFolder.size() - std::string("params.txt").size());
    TUnixCommandResult Run = RunUnixCommand("sh " + ShellQuote(Script) + " " + ShellQuote(UnixFolder));
    if (!Run.Finished || Run.ExitCode != 0) {
      SetupError = "make-media.sh failed (" + std::to_string(Run.ExitCode) + "): " + Run.Output;
      return;
    }
    std::istringstream Lines(ReadWholeFile(Folder + "expected.txt"));
    std::string Line;
    while (std::getline(Lines, Line)) {
      size_t First = Line.find('|'), Second = Line.find('|', First + 1);
      if (First == std::string::npos || Second == std::string::npos) continue;
      Expected[Line.substr(0, First)][Line.substr(First + 1, Second - First - 1)] = Line.substr(Second + 1);
    }
  }

  static void TearDownTestSuite() {
    UnloadMediaInfoDll();
    RemoveScratchFolder(Folder);
  }

  void SetUp() override {
    ASSERT_EQ("", SetupError);
    LoadMediaInfoDll(ORV_MEDIAINFO_DIR);
    ASSERT_TRUE(MediaInfoDllLoaded()) << MediaInfoDllError();
  }

  // What the file list must show for Param, from mediainfo's answers: the listed name's answer, or
  // the current name's answer when the listed one is empty.
  static std::string ExpectedValue(const std::string& File, const TMediaValueParam& Param) {
    if (std::string(Param.Parameter) == "CompleteName") return Folder + File;
    auto& Answers = Expected[File];
    std::string Value = Answers[Key(Param.Kind, Param.Parameter)];
    if (Value.empty() && Param.Current) Value = Answers[Key(Param.Kind, Param.Current)];
    return Value;
  }
};

std::string MediaFiles::Folder;
std::map<std::string, std::map<std::string, std::string>> MediaFiles::Expected;
std::string MediaFiles::SetupError;

TEST_F(MediaFiles, SixteenValuesMatchMediainfo) {
  const char* Files[] = {"clip.avi", "clip.mp4", "clip.mp3", "clip.wav", "random.avi"};
  for (const char* File : Files) {
    ASSERT_FALSE(Expected[File].empty()) << File;
    TMediaValues Values = ReadMediaValues(Folder + File);
    for (size_t I = 0; I < MediaValueCount; ++I)
      EXPECT_EQ(ExpectedValue(File, MediaValueParams[I]), Values[I])
          << File << ": " << MediaValueParams[I].Field << " (" << MediaValueParams[I].Parameter << ")";
  }
}

TEST_F(MediaFiles, CodecsAndVideoBitRateAreNotEmpty) {
  // The older names alone give nothing on current libraries; the panel must still show codecs.
  TMediaValues Avi = ReadMediaValues(Folder + "clip.avi");
  EXPECT_EQ("MPEG-4 Visual", Avi[6]);
  EXPECT_NE("", Avi[9]);
  EXPECT_EQ("MPEG Audio", Avi[12]);
  TMediaValues Mp4 = ReadMediaValues(Folder + "clip.mp4");
  EXPECT_EQ("AVC", Mp4[6]);
  EXPECT_EQ(0u, Mp4[12].find("AAC")) << Mp4[12];
}

TEST_F(MediaFiles, ListedNameIsAskedFirst) {
  // Where the listed name answers, its answer stands even though the current name differs.
  TMediaInfoFile File(Folder + "clip.avi");
  ASSERT_TRUE(File.Opened());
  const TMediaValueParam Both = {"Test", mskGeneral, "Format", "Format/String"};
  EXPECT_EQ(File.Get(mskGeneral, "Format"), ReadMediaValue(File, Both));
  const TMediaValueParam Fallback = {"Test", mskGeneral, "NoSuchParameter", "FileSize"};
  EXPECT_EQ(Expected["clip.avi"]["General;FileSize"], ReadMediaValue(File, Fallback));
}

TEST_F(MediaFiles, CompleteReportNamesTheFile) {
  TMediaInfoFile File(Folder + "clip.mp4");
  std::string Report = File.CompleteReport();
  EXPECT_NE(std::string::npos, Report.find("clip.mp4"));
  EXPECT_NE(std::string::npos, Report.find("AVC"));
}

TEST(MediaInfoDllLoading, MissingDllGivesClearErrorAndEmptyValues) {
  UnloadMediaInfoDll();
  std::string Empty = MakeScratchFolder("orv-nodll-");
  EXPECT_FALSE(LoadMediaInfoDll(Empty));
  EXPECT_FALSE(MediaInfoDllLoaded());
  EXPECT_NE(std::string::npos, MediaInfoDllError().find("\"" + Empty + "videoinfo.Dll\""));
  EXPECT_NE(std::string::npos, MediaInfoDllError().find("could not be loaded"));
  // In parts for the user's message: the path, and the system's reason with its code.
  EXPECT_EQ(Empty + "videoinfo.Dll", MediaInfoDllFailure().Path);
  EXPECT_EQ(SysErrorMessage(ERROR_MOD_NOT_FOUND) + " (126)", MediaInfoDllFailure().Reason);
  EXPECT_GT(MediaInfoDllFailure().Reason.size(), std::string(" (126)").size());
  // The stubs answer; nothing crashes.
  TMediaValues Values = ReadMediaValues("C:\\windows\\win.ini");
  for (const std::string& V : Values) EXPECT_EQ("", V);
  TMediaInfoFile File("C:\\windows\\win.ini");
  EXPECT_FALSE(File.Opened());
  EXPECT_EQ("", File.CompleteReport());
  RemoveScratchFolder(Empty);
}

TEST(MediaInfoDllLoading, DllWithoutTheCallsIsRefused) {
  UnloadMediaInfoDll();
  std::string Folder = MakeScratchFolder("orv-baddll-");
  char System[MAX_PATH];
  GetSystemDirectoryA(System, MAX_PATH);
  ASSERT_TRUE(CopyFileA((std::string(System) + "\\version.dll").c_str(), (Folder + "videoinfo.Dll").c_str(), FALSE));
  EXPECT_FALSE(LoadMediaInfoDll(Folder));
  EXPECT_FALSE(MediaInfoDllLoaded());
  EXPECT_NE(std::string::npos, MediaInfoDllError().find("has no function \"MediaInfoA_New\""));
  EXPECT_EQ(Folder + "videoinfo.Dll", MediaInfoDllFailure().Path);
  EXPECT_EQ(SysErrorMessage(ERROR_PROC_NOT_FOUND) + " (MediaInfoA_New)", MediaInfoDllFailure().Reason);
  EXPECT_EQ("", ReadMediaValues("C:\\windows\\win.ini")[1]);
  RemoveScratchFolder(Folder);
}

TEST(MediaInfoDllLoading, LoadsFromAFolderWithOrWithoutBackslash) {
  UnloadMediaInfoDll();
  std::string Dir = ORV_MEDIAINFO_DIR;
  ASSERT_TRUE(LoadMediaInfoDll(Dir.substr(0, Dir.size() - 1))) << MediaInfoDllError();
  EXPECT_EQ("", MediaInfoDllError());
  EXPECT_EQ("", MediaInfoDllFailure().Path);
  EXPECT_EQ("", MediaInfoDllFailure().Reason);
  EXPECT_TRUE(LoadMediaInfoDll(Dir));
  UnloadMediaInfoDll();
  EXPECT_FALSE(MediaInfoDllLoaded());
}

}  // namespace
