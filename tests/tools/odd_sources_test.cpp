// Sources with what real-world files bring (odd frame sizes, 23.976 and 15 frames/s, six-channel
// sound, mono at 8 kHz, stereo at 11025 Hz) convert with every format's default profile through the
// encoder bridge; where an encoder refuses what the source brings, the bridge's log says what it
// changed, and the output holds what the encoder takes.
#include "DefaultProfiles.h"
#include "EncoderRun.h"

#include <gtest/gtest.h>

namespace {

struct TOddSource {
  const char* Name;     // made by make-odd-sources.sh
  const char* RmSize;   // the frame size the RM output gets (multiples of 16)
  const char* MovSize;  // the frame size the MOV output gets (even)
};
const TOddSource Sources[] = {
    {"odd.mkv", "160x128", "160x120"},      // 161x121, 23.976 fps, 6 channels at 48 kHz
    {"mono8k.avi", "176x96", "170x98"},     // 170x98, 15 fps, mono at 8 kHz
    {"stereo11k.avi", "128x96", "122x90"},  // 122x90, 25 fps, stereo at 11025 Hz
};

TEST(OddSources, EveryDefaultProfileConvertsThem) {
  std::string Folder = MakeScratchFolder("orv-odd-");
  TUnixCommandResult Make = RunUnixCommand("sh " + ShellQuote(UnixPathOf(TestDataFile("make-odd-sources.sh"))) + " " +
                                           ShellQuote(UnixPathOf(Folder)));
  ASSERT_TRUE(Make.Finished && Make.ExitCode == 0) << Make.Output;
  for (const TOddSource& S : Sources) {
    for (const TFormatCase& F : DefaultProfileFormats) {
      SCOPED_TRACE(std::string(S.Name) + " to " + F.Ext);
      std::string Output = Folder + "out" + F.Ext;
      std::string Log;
      int Code = RunEncoder(EncoderCommandLine(Folder + S.Name, DefaultProfileOptions(F, Folder), Output), Log);
      ASSERT_EQ(0, Code) << Log;
      ExpectStreamsOf(F, Output);
      const char* Size = F.Format == 6 ? S.RmSize : F.Format == 4 ? S.MovSize : nullptr;
      if (Size) { EXPECT_EQ(Size, MediainfoSays(Output, "Video;%Width%x%Height%")); }
      // A change of the frame size is told in the log.
      if (F.Format == 6) {
        EXPECT_NE(std::string::npos, Log.find("avcore: the rv10 encoder takes only frame sizes")) << Log;
      }
      DeleteFileA(Output.c_str());
    }
  }
  RemoveScratchFolder(Folder);
}

}  // namespace
