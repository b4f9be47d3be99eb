// Sources with a picture and no sound, or with sound and no picture (odd sizes, rates and channel
// counts among them), against every format's default profile through the encoder bridge: each
// converts to every format that can hold what it has; for a format that cannot (an audio-only format
// given a silent clip) the run fails, the bridge says why, and no output is left.
#include "DefaultProfiles.h"
#include "EncoderRun.h"

#include <gtest/gtest.h>

namespace {

struct TStreamlessSource {
  const char* Name;  // made by make-streamless-sources.sh
  bool Video;        // a picture and no sound, or sound and no picture
};
const TStreamlessSource Sources[] = {
    {"silent.avi", true},   // 170x98, 15 fps
    {"silent.mkv", true},   // 161x121, 23.976 fps
    {"sound.mp3", false},   // stereo at 44.1 kHz
    {"mono8k.wav", false},  // mono at 8 kHz
    {"six.ac3", false},     // six channels at 48 kHz
};

class StreamlessSources : public ::testing::TestWithParam<TStreamlessSource> {
protected:
  static void SetUpTestSuite() {
    Folder = MakeScratchFolder("orv-streamless-");
    TUnixCommandResult Make = RunUnixCommand("sh " + ShellQuote(UnixPathOf(TestDataFile("make-streamless-sources.sh"))) +
                                             " " + ShellQuote(UnixPathOf(Folder)));
    Made = Make.Finished && Make.ExitCode == 0;
    MakeOutput = Make.Output;
  }
  static void TearDownTestSuite() { RemoveScratchFolder(Folder); }

  static std::string Folder, MakeOutput;
  static bool Made;
};
std::string StreamlessSources::Folder, StreamlessSources::MakeOutput;
bool StreamlessSources::Made = false;

TEST_P(StreamlessSources, ConvertToEveryFormatThatCanHoldThem) {
  ASSERT_TRUE(Made) << MakeOutput;
  const TStreamlessSource& S = GetParam();
  for (const TFormatCase& F : DefaultProfileFormats) {
    SCOPED_TRACE(std::string(S.Name) + " to " + F.Ext);
    const std::string Output = Folder + "out" + F.Ext;
    std::string Log;
    const int Code = RunEncoder(EncoderCommandLine(Folder + S.Name, DefaultProfileOptions(F, Folder), Output), Log);
    if (S.Video && !F.Video) {
      // Sound only, and the source has none.
      EXPECT_NE(0, Code) << Log;
      EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Output.c_str())) << "a broken output is left";
      std::string Ext = F.Ext + 1;
      for (char& C : Ext) C = static_cast<char>(toupper(C));
      EXPECT_NE(std::string::npos, Log.find("avcore: the source has no sound stream, and " + Ext +
                                            " files hold only sound: it cannot be converted to " + Ext + "."))
          << Log;
      continue;
    }
    ASSERT_EQ(0, Code) << Log;
    // The container with what the source has: its picture alone, or its sound alone, of the format's
    // kind. (Mediainfo counts one video stream more in a Flash file than it holds: the file itself.)
    const std::string Streams = MediainfoSays(Output, "General;%Format%|%AudioCount%|%VideoCount%");
    const bool Swf = F.Format == 7;
    if (S.Video) {
      EXPECT_EQ(std::string(F.Container) + "||" + (Swf ? "2" : "1"), Streams);
    } else {
      EXPECT_EQ(std::string(F.Container) + "|1|" + (Swf ? "1" : ""), Streams);
      EXPECT_EQ(F.AudioFormat, MediainfoSays(Output, "Audio;%Format%"));
    }
    DeleteFileA(Output.c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, StreamlessSources, ::testing::ValuesIn(Sources),
                         [](const ::testing::TestParamInfo<TStreamlessSource>& Info) {
                           std::string Name = Info.param.Name;
                           for (char& C : Name)
                             if (!isalnum(static_cast<unsigned char>(C))) C = '_';
                           return Name;
                         });

}  // namespace
