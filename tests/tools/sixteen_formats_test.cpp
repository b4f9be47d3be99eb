// Every output format's default profile, as the conversion driver puts it on the encoder's command
// line, converts a 3-second clip with sound through the encoder bridge into a file that Debian's
// mediainfo reads as the expected container with the expected streams.
#include "DefaultProfiles.h"
#include "EncoderRun.h"

#include <gtest/gtest.h>

namespace {

TEST(SixteenFormats, DefaultProfilesConvertThroughTheBridge) {
  std::string Folder = MakeScratchFolder("orv-sixteen-");
  std::string Clip = Folder + "source.avi";
  ASSERT_EQ("", MakeTestClip(Clip));
  for (const TFormatCase& F : DefaultProfileFormats) {
    SCOPED_TRACE(std::string("format ") + std::to_string(F.Format) + " " + F.Ext);
    std::string Output = Folder + "clip" + F.Ext;
    std::string Log;
    int Code = RunEncoder(EncoderCommandLine(Clip, DefaultProfileOptions(F, Folder), Output), Log);
    EXPECT_EQ(0, Code) << Log;
    ExpectStreamsOf(F, Output);
  }
  RemoveScratchFolder(Folder);
}

}  // namespace
