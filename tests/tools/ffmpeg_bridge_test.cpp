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

TEST(DirectShowScript, OnlyTheTemplatesFormNamesASource) {
  struct TCase {
    const char* Text;
    const char* Source;  // "" : not the template's form
  };
  const TCase Cases[] = {
      {"DirectShowSource(\"C:\\Videos\\a b.wmv\")\r\n", "C:\\Videos\\a b.wmv"},
      {"  directshowsource(\"D:\\x.avi\")  \r\n\r\n", "D:\\x.avi"},  // the language's letter case, blank lines
      {"DirectShowSource(\"C:\\a.avi\")\r\nTrim(0, 100)\r\n", ""},   // more than the template
      {"AviSource(\"C:\\a.avi\")\r\n", ""},
      {"DirectShowSource(\"\")", ""},
      {"DirectShowSource(\"C:\\a.avi\", fps=25)", ""},
      {"DirectShowSource(\"C:\\a\"+\"b.avi\")", ""},
      {"", ""},
  };
  for (const TCase& C : Cases) EXPECT_EQ(C.Source, DirectShowScriptSource(C.Text)) << C.Text;
  EXPECT_TRUE(IsScriptFile("C:\\Orvane\\DirectShow.avs"));
  EXPECT_TRUE(IsScriptFile("C:\\x\\MINE.AVS"));
  EXPECT_FALSE(IsScriptFile("C:\\x\\clip.avi"));
  EXPECT_FALSE(IsScriptFile(".avs"));
}

TEST(ProbeOutput, FirstVideoAndFirstAudioStream) {
  TSourceInfo Info = ParseProbeOutput(
      "codec_type=audio\nsample_rate=11025\nchannels=2\n"
      "codec_type=video\nwidth=321\nheight=241\nr_frame_rate=24000/1001\n"
      "codec_type=video\nwidth=640\nheight=480\nr_frame_rate=25/1\n"
      "codec_type=audio\nsample_rate=48000\nchannels=6\n");
  EXPECT_EQ(321, Info.Width);
  EXPECT_EQ(241, Info.Height);
  EXPECT_NEAR(23.976, Info.FrameRate, 0.001);
  EXPECT_EQ(11025, Info.SampleRate);
  EXPECT_EQ(2, Info.Channels);
  EXPECT_TRUE(Info.Known && Info.Video && Info.Audio);
  TSourceInfo None = ParseProbeOutput("");
  EXPECT_EQ(0, None.Width);
  EXPECT_EQ(0, None.SampleRate);
  EXPECT_TRUE(None.Known);
  EXPECT_FALSE(None.Video || None.Audio);
  EXPECT_FALSE(TSourceInfo().Known);
}

TEST(ProbeOutput, SaysWhichKindsOfStreamTheSourceHas) {
  TSourceInfo Silent = ParseProbeOutput("codec_type=video\nwidth=170\nheight=98\nr_frame_rate=15/1\n");
  EXPECT_TRUE(Silent.Video);
  EXPECT_FALSE(Silent.Audio);
  TSourceInfo Sound = ParseProbeOutput("codec_type=audio\nsample_rate=8000\nchannels=1\n");
  EXPECT_FALSE(Sound.Video);
  EXPECT_TRUE(Sound.Audio);
  // A stream whose values ffprobe does not know still counts.
  TSourceInfo Bare = ParseProbeOutput("codec_type=audio\nsample_rate=N/A\n");
  EXPECT_TRUE(Bare.Audio);
  EXPECT_EQ(0, Bare.SampleRate);
}

TSourceInfo Holding(bool Video, bool Audio) {
  TSourceInfo Info;
  Info.Known = true;
  Info.Video = Video;
  Info.Audio = Audio;
  return Info;
}

// What the output can hold against what the source has, for the default profiles' kinds of line.
TEST(CannotConvert, WhenTheSourceHasNothingTheOutputHolds) {
  const char* const Mp3 = "-i /in.avi -y -f mp3 -vn -acodec libmp3lame -ac 2 -b:a 128k -ar 44100 /out/x.mp3";
  const char* const Wav = "-i /in.avi -y -vn -acodec pcm_s16le /out/x.wav";  // no -f: the extension
  const char* const Avi = "-i /in.avi -y -f avi -vcodec msmpeg4 -acodec libmp3lame /out/x.avi";
  const char* const AviNoSound = "-i /in.avi -y -f avi -vcodec msmpeg4 -an /out/x.avi";
  const char* const Amr3gp = "-i /in.avi -y -f 3gp -vcodec h263 -acodec amr_nb /out/x.3gp";
  struct TCase {
    const char* Args;
    TSourceInfo Source;
    const char* Why;  // "" : it can
  };
  const TCase Cases[] = {
      {Mp3, Holding(true, false), "the source has no sound stream, and MP3 files hold only sound: it cannot be converted to MP3."},
      {Wav, Holding(true, false), "the source has no sound stream, and WAV files hold only sound: it cannot be converted to WAV."},
      {Mp3, Holding(false, true), ""},
      {Mp3, Holding(true, true), ""},
      {Mp3, TSourceInfo(), ""},  // not looked up: ffmpeg tells
      {Avi, Holding(true, false), ""},
      {Avi, Holding(false, true), ""},
      {Amr3gp, Holding(true, false), ""},
      {Amr3gp, Holding(false, true), ""},
      {AviNoSound, Holding(false, true),
       "the source has no picture, and the profile leaves out the sound: it cannot be converted to AVI."},
      {AviNoSound, Holding(true, true), ""},
      {Avi, Holding(false, false), "the source has neither a picture nor a sound stream: it cannot be converted to AVI."},
      {Mp3, Holding(false, false), "the source has neither a picture nor a sound stream: it cannot be converted to MP3."},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Args);
    EXPECT_EQ(C.Why, CannotConvert(Words(C.Args), C.Source));
    EXPECT_EQ(C.Why, PlanRun(Words(C.Args), Context, C.Source).Error);  // no step runs then
  }
}

// A clip without sound in a container with AMR sound: the picture alone, in one ffmpeg run.
TEST(PlanRun, AmrContainerOfASilentSourceHoldsThePictureAlone) {
  const std::string Line3gp = "-i /in.avi -y -f 3gp -vcodec h263 -s 176x144 -b:v 144k -r 12.5 -aspect 11:9 "
                              "-acodec amr_nb -ac 1 -ar 8000 -b:a 13k /out.3gp";
  TBridgePlan Plan = PlanRun(Words(Line3gp), Context, Holding(true, false));
  ASSERT_EQ("", Plan.Error);
  ASSERT_EQ(1u, Plan.Steps.size());
  EXPECT_EQ("ffmpeg -nostdin -i /in.avi -y -f 3gp -vcodec h263 -s 176x144 -b:v 144k -r 12.5 -aspect 11:9 -an /out.3gp",
            Line(Plan.Steps[0]));
  // With sound, or not looked up: decoded, encoded and muxed as before.
  EXPECT_EQ(3u, PlanRun(Words(Line3gp), Context, Holding(true, true)).Steps.size());
  EXPECT_EQ(3u, PlanRun(Words(Line3gp), Context, Holding(false, true)).Steps.size());
  EXPECT_EQ(3u, PlanRun(Words(Line3gp), Context).Steps.size());
}

// Each kind of refusal: the value the source brings (or the profile asks for) moves to the nearest the
// encoder takes, and a note says so; accepted values are left alone and need no look-up.
TEST(FitToEncoders, RefusedValuesMoveToTheNearestAccepted) {
  TSourceInfo Odd;
  Odd.Width = 330;
  Odd.Height = 241;
  Odd.FrameRate = 15;
  Odd.SampleRate = 11025;
  Odd.Channels = 6;
  struct TCase {
    const char* Args;
    bool NeedsSource;
    const char* Fitted;
    const char* Note;  // part of the note ("" : none)
  };
  const TCase Cases[] = {
      {"-y -f rm -vcodec rv10 -r 25 -acodec ac3 -ac 2 -ar 48000 out.rm", true,
       "-y -f rm -vcodec rv10 -r 25 -acodec ac3 -ac 2 -ar 48000 -s 336x240 out.rm", "multiples of 16: 330x241 is encoded as 336x240"},
      {"-y -f mov -vcodec libx264 -r 25 -ac 2 -ar 22050 out.mov", true,
       "-y -f mov -vcodec libx264 -r 25 -ac 2 -ar 22050 -s 330x240 out.mov", "multiples of 2: 330x241 is encoded as 330x240"},
      {"-y -f 3gp -vcodec h263 -s 320x240 -an out.3gp", false,
       "-y -f 3gp -vcodec h263 -s 352x288 -an out.3gp", "176x144, 352x288, 704x576 and 1408x1152: 320x240 is encoded as 352x288"},
      {"-y -vcodec mpeg1video -s 320x240 -an out.mpg", true,
       "-y -vcodec mpeg1video -s 320x240 -an -r 24000/1001 out.mpg", "15 fps is encoded as 23.976 fps"},
      {"-y -vn -acodec mp2 -ar 11025 out.mp2", true, "-y -vn -acodec mp2 -ar 16000 -ac 2 out.mp2",
       "does not take 11025 Hz: the sound is resampled to 16000 Hz"},
      {"-y -vn -acodec libmp3lame -ac 6 -ar 44100 out.mp3", true, "-y -vn -acodec libmp3lame -ac 2 -ar 44100 out.mp3",
       "at most 2 channels: 6 channels are mixed down to 2"},
      {"-y -vcodec flv -s 320x240 -acodec libmp3lame -ar 8000 -ac 1 out.swf", false,
       "-y -vcodec flv -s 320x240 -acodec libmp3lame -ar 11025 -ac 1 out.swf", "(in swf) does not take 8000 Hz"},
      {"-y -vcodec wmv2 -s 320x240 -ar 22050 out.wmv", true, "-y -vcodec wmv2 -s 320x240 -ar 22050 -ac 2 out.wmv",
       "the wmav2 encoder takes at most 2 channels"},
      {"-y -f avi -vcodec msmpeg4 -r 25 -acodec libmp3lame -ac 2 -ar 22050 out.avi", false,
       "-y -f avi -vcodec msmpeg4 -r 25 -acodec libmp3lame -ac 2 -ar 22050 out.avi", ""},
      // Sound only: whether the source has sound is looked up (CannotConvert).
      {"-y -vn -acodec pcm_s16le out.wav", true, "-y -vn -acodec pcm_s16le out.wav", ""},
      {"-y -f 3gp -vcodec h263 -s 176x144 -acodec amr_nb -ac 1 -ar 8000 out.3gp", true,
       "-y -f 3gp -vcodec h263 -s 176x144 -acodec amr_nb -ac 1 -ar 8000 out.3gp", ""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Args);
    TArgs Args = Words(C.Args);
    EXPECT_EQ(C.NeedsSource, NeedsSourceInfo(Args));
    std::vector<std::string> Notes = FitToEncoders(Args, Odd);
    EXPECT_EQ(C.Fitted, Line(Args));
    if (*C.Note) {
      ASSERT_FALSE(Notes.empty());
      std::string All;
      for (const std::string& N : Notes) All += N + "\n";
      EXPECT_NE(std::string::npos, All.find(C.Note)) << All;
    } else {
      EXPECT_TRUE(Notes.empty());
    }
  }
}

// Nothing known of the source: only the values on the command line are checked.
TEST(FitToEncoders, UnknownSourceChangesNothingItCannotSee) {
  TArgs Args = Words("-y -f rm -vcodec rv10 -r 25 -acodec ac3 -ac 2 -ar 48000 out.rm");
  EXPECT_TRUE(FitToEncoders(Args, TSourceInfo()).empty());
  EXPECT_EQ("-y -f rm -vcodec rv10 -r 25 -acodec ac3 -ac 2 -ar 48000 out.rm", Line(Args));
}

}  // namespace
