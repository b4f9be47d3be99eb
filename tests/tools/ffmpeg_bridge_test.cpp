// The encoder bridge's translation of the program's (older FFmpeg) command lines and of ffmpeg's
// console lines, and its plan of programs to run.
#include "BridgeCommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TArgs Words(const std::string& Text) {
  TArgs Result;
  std::istringstream In(Text);
  std::string W;
  while (In >> W) Result.push_back(W);
  return Result;
}

std::string Line(const TArgs& Args) {
  std::string Result;
  for (const std::string& A : Args) Result += (Result.empty() ? "" : " ") + A;
  return Result;
}

TEST(SplitCommandLine, FollowsTheRuntimeRules) {
  struct Case {
    const char* Line;
    TArgs Expected;
  } Cases[] = {
      {"a b  c", {"a", "b", "c"}},
      {"C:\\p\\avcore.dll -i \"C:\\My Files\\in.avi\" -y", {"C:\\p\\avcore.dll", "-i", "C:\\My Files\\in.avi", "-y"}},
      {"\"\" x", {"", "x"}},
      {"a\\\\\"b c\"", {"a\\b c"}},
      {"a\\\"b", {"a\"b"}},
      {"tail\\ \"D:\\out dir\\\"", {"tail\\", "D:\\out dir\""}},
      {"  ", {}},
  };
  for (const Case& C : Cases) EXPECT_EQ(C.Expected, SplitCommandLine(C.Line)) << C.Line;
}

TEST(TranslateOptions, EachRuleOfTheTable) {
  struct Case {
    const char* In;
    const char* Out;
  } Cases[] = {
      {"-p 4730615 -i in out", "-i in out"},
      {"-i in -sameq -y out", "-i in -y out"},
      {"-i in -ab 96 out", "-i in -b:a 96k out"},
      {"-i in -ab 13 out", "-i in -b:a 13k out"},
      {"-i in -ab 128k out", "-i in -b:a 128k out"},
      {"-i in -ab 64000 out", "-i in -b:a 64000 out"},
      {"-i in -b 1080k out", "-i in -b:v 1080k out"},
      {"-i in -b 800 out", "-i in -b:v 800k out"},
      {"-i in -ac 5:1 out", "-i in -ac 6 out"},
      {"-i in -ac 2 out", "-i in -ac 2 out"},
      {"-i in -f aac out", "-i in -f adts out"},
      {"-i in -f avi out", "-i in -f avi out"},
      {"-i in -acodec mp3 out", "-i in -acodec libmp3lame out"},
      {"-i in -acodec mp2 out", "-i in -acodec mp2 out"},
      {"-i in -vcodec h264 out", "-i in -vcodec libx264 out"},
      {"-i in -vcodec xvid out", "-i in -vcodec libxvid out"},
      {"-i in -vcodec h263 out", "-i in -vcodec h263 out"},
  };
  for (const Case& C : Cases) EXPECT_EQ(C.Out, Line(TranslateOptions(Words(C.In)))) << C.In;
}

TEST(TranslateOptions, EveryTableLineIsTested) {
  // Each rule changes at least one of the lines above; a new rule needs a case there.
  EXPECT_EQ(9u, OptionRuleCount);
}

TEST(TranslateOptions, InputAndOutputAreNeverTranslated) {
  EXPECT_EQ("-i -sameq -y -b:v", Line(TranslateOptions(Words("-i -sameq -y -b"))));
  EXPECT_EQ("-i in -b:v out", Line(TranslateOptions(Words("-i in -b out"))));
  EXPECT_EQ("-i mp3 -acodec libmp3lame mp3", Line(TranslateOptions(Words("-i mp3 -acodec mp3 mp3"))));
}

TEST(TranslateOptions, TheProgramsDefaultAviLine) {
  TArgs Args = SplitCommandLine(
      "-p 4730615 -i \"C:\\in.avi\" -y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 "
      "\"C:\\out\\in.avi\"");
  EXPECT_EQ("-i C:\\in.avi -y -f avi -vcodec msmpeg4 -b:v 1080k -r 25 -acodec libmp3lame -ac 2 -b:a 96k -ar 22050 "
            "C:\\out\\in.avi",
            Line(TranslateOptions(Args)));
}

const TPlanContext Context = {"ffmpeg", "/prog/orvane-amrenc", "/w/"};

TEST(PlanRun, OrdinaryLineIsOneFfmpegRun) {
  TBridgePlan Plan = PlanRun(Words("-i /in.avi -y -f avi -b:v 1080k /out.avi"), Context);
  ASSERT_EQ("", Plan.Error);
  ASSERT_EQ(1u, Plan.Steps.size());
  EXPECT_EQ("ffmpeg -nostdin -i /in.avi -y -f avi -b:v 1080k /out.avi", Line(Plan.Steps[0]));
}

TEST(PlanRun, AmrFileIsDecodedThenEncodedNatively) {
  TBridgePlan Plan =
      PlanRun(Words("-i /in.avi -y -f amr -vn -acodec amr_nb -ac 1 -ar 8000 -b:a 13k /out.amr"), Context);
  ASSERT_EQ(2u, Plan.Steps.size());
  EXPECT_EQ("ffmpeg -nostdin -i /in.avi -vn -y -f s16le -acodec pcm_s16le -ac 1 -ar 8000 /w/audio.pcm",
            Line(Plan.Steps[0]));
  EXPECT_EQ("/prog/orvane-amrenc nb 13 /w/audio.pcm /out.amr", Line(Plan.Steps[1]));
}

TEST(PlanRun, WideBandKeepsTheTimeRange) {
  TBridgePlan Plan = PlanRun(
      Words("-i /in.wav -y -f amr -t 0:00:02.000 -ss 0:00:01.000 -vn -acodec amr_wb -ar 16000 /out.amr"), Context);
  ASSERT_EQ(2u, Plan.Steps.size());
  EXPECT_EQ(
      "ffmpeg -nostdin -i /in.wav -t 0:00:02.000 -ss 0:00:01.000 -vn -y -f s16le -acodec pcm_s16le -ac 1 -ar 16000 "
      "/w/audio.pcm",
      Line(Plan.Steps[0]));
  EXPECT_EQ("/prog/orvane-amrenc wb 0 /w/audio.pcm /out.amr", Line(Plan.Steps[1]));
}

TEST(PlanRun, AmrInAContainerIsMuxedByCopy) {
  TBridgePlan Plan = PlanRun(Words("-i /in.avi -y -f 3gp -vcodec h263 -s 176x144 -b:v 144k -r 12.5 -aspect 11:9 "
                                   "-acodec amr_nb -ac 1 -ar 8000 -b:a 13k /out.3gp"),
                             Context);
  ASSERT_EQ(3u, Plan.Steps.size());
  EXPECT_EQ("ffmpeg -nostdin -y -i /in.avi -vn -f s16le -acodec pcm_s16le -ac 1 -ar 8000 /w/audio.pcm",
            Line(Plan.Steps[0]));
  EXPECT_EQ("/prog/orvane-amrenc nb 13 /w/audio.pcm /w/audio.amr", Line(Plan.Steps[1]));
  EXPECT_EQ("ffmpeg -nostdin -i /in.avi -i /w/audio.amr -map 0:v? -map 1:a -y -f 3gp -vcodec h263 -s 176x144 "
            "-b:v 144k -r 12.5 -aspect 11:9 -acodec copy /out.3gp",
            Line(Plan.Steps[2]));
}

TEST(PlanRun, MissingInputOrOutputIsAnError) {
  EXPECT_NE("", PlanRun(Words("-y -f avi /out.avi"), Context).Error);
  EXPECT_NE("", PlanRun(Words("-i /in.avi -y"), Context).Error);
  EXPECT_NE("", PlanRun(Words("-y -i /in.avi"), Context).Error);
}

TEST(TranslateOutputLine, TimesBecomeSecondsAndPathsGoBack) {
  const std::vector<std::pair<std::string, std::string>> Paths = {{"/tmp/in.avi", "Z:\\tmp\\in.avi"},
                                                                   {"/w/audio.pcm", "C:\\out\\x.amr"}};
  struct Case {
    const char* In;
    const char* Out;
  } Cases[] = {
      {"frame=   75 fps=0.0 q=2.0 size=     161kB time=00:00:03.04 bitrate= 433.5kbits/s speed=44x",
       "frame=   75 fps=0.0 q=2.0 size=     161kB time=3.04 bitrate= 433.5kbits/s speed=44x"},
      {"size=  10kB time=01:02:03.50 bitrate=1.0kbits/s", "size=  10kB time=3723.50 bitrate=1.0kbits/s"},
      {"size=  0kB time=-577014:32:22.77 bitrate=N/A", "size=  0kB time=10000000000.0 bitrate=N/A"},
      {"size=N/A time=N/A bitrate=N/A", "size=N/A time=N/A bitrate=N/A"},
      {"size=1kB time=4.00 bitrate=2.0kbits/s", "size=1kB time=4.00 bitrate=2.0kbits/s"},
      {"Input #0, avi, from '/tmp/in.avi':", "Input #0, avi, from 'Z:\\tmp\\in.avi':"},
      {"Output #0, s16le, to '/w/audio.pcm':", "Output #0, s16le, to 'C:\\out\\x.amr':"},
      {"  Duration: 00:00:03.04, start: 0.000000, bitrate: 502 kb/s",
       "  Duration: 00:00:03.04, start: 0.000000, bitrate: 502 kb/s"},
  };
  for (const Case& C : Cases) EXPECT_EQ(C.Out, TranslateOutputLine(C.In, Paths)) << C.In;
}

TEST(OutputTranslator, CompleteLinesOnlyAndTheRestOnFlush) {
  TOutputTranslator T({});
  EXPECT_EQ("", T.Feed("frame=1 time=00:00:0"));
  EXPECT_EQ("frame=1 time=1.50 x\r", T.Feed("1.50 x\rframe=2 time=00:"));
  EXPECT_EQ("frame=2 time=62.00\r\nnext\n", T.Feed("01:02.00\r\nnext\nlast time=00:00:01.00"));
  EXPECT_EQ("last time=1.00", T.Flush());
  EXPECT_EQ("", T.Flush());
}

TEST(BuildRunScript, QuotesEveryWordAndRunsStepsInOrder) {
  TBridgePlan Plan;
  Plan.Steps = {{"ffmpeg", "-i", "/a b/it's.avi", "/o.wav"}, {"/p/enc", "nb", "13", "x", "y"}};
  std::string Script = BuildRunScript(Plan, "/w d/");
  EXPECT_NE(std::string::npos, Script.find("d='/w d/'"));
  size_t First = Script.find("'ffmpeg' '-i' '/a b/it'\\''s.avi' '/o.wav'");
  size_t Second = Script.find("'/p/enc' 'nb' '13' 'x' 'y'");
  ASSERT_NE(std::string::npos, First);
  ASSERT_NE(std::string::npos, Second);
  EXPECT_LT(First, Second);
}

}  // namespace
