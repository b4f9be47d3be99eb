// The encoder bridge of the program folder ("avcore.dll") run as the conversion driver runs it:
// it converts with Debian's ffmpeg, relays ffmpeg's console output in the shape the program parses,
// exits with ffmpeg's exit code, and stops ffmpeg when it is terminated.
#include "EncoderRun.h"

#include <gtest/gtest.h>

namespace {

class Avcore : public ::testing::Test {
protected:
  static std::string Folder, Clip, SetupError;

  static void SetUpTestSuite() {
    Folder = MakeScratchFolder("orv-avcore-");
    Clip = Folder + "clip.avi";
    SetupError = MakeTestClip(Clip);
  }
  static void TearDownTestSuite() { RemoveScratchFolder(Folder); }
  void SetUp() override { ASSERT_EQ("", SetupError); }
};
std::string Avcore::Folder, Avcore::Clip, Avcore::SetupError;

// Shell test: is a process running whose command line holds Marker? Waits up to Tenths / 10 s for
// the answer Wanted ("running" or "gone") and prints the last answer.
std::string WaitForProcesses(const std::string& Marker, const std::string& Wanted, int Tenths) {
  // "[x]" keeps the pattern from matching grep's own command line.
  std::string Pattern = Marker.substr(0, Marker.size() - 1) + "[" + Marker.back() + "]";
  std::string Command = "i=0; while :; do if grep -qs " + ShellQuote(Pattern) +
                        " /proc/[0-9]*/cmdline; then s=running; else s=gone; fi; "
                        "if [ $s = " + Wanted + " ] || [ $i -ge " + std::to_string(Tenths) +
                        " ]; then echo $s; break; fi; i=$((i+1)); sleep 0.1; done";
  TUnixCommandResult Run = RunUnixCommand(Command);
  std::string Answer = Run.Output;
  while (!Answer.empty() && (Answer.back() == '\n' || Answer.back() == '\r')) Answer.pop_back();
  return Answer;
}

void StopProcesses(const std::string& Marker) {
  std::string Pattern = Marker.substr(0, Marker.size() - 1) + "[" + Marker.back() + "]";
  RunUnixCommand("for p in /proc/[0-9]*; do grep -qs " + ShellQuote(Pattern) + " $p/cmdline && kill -9 ${p#/proc/}; done; true");
}

TEST_F(Avcore, ConvertsAndRelaysProgressInTheProgramsShape) {
  std::string Output = Folder + "out.avi";
  std::string Log;
  int Code = RunEncoder(EncoderCommandLine(Clip, "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ", Output), Log);
  ASSERT_EQ(0, Code) << Log;
  EXPECT_EQ("AVI|1|1", MediainfoSays(Output, "General;%Format%|%VideoCount%|%AudioCount%"));
  // The paths in ffmpeg's lines are the Windows paths the program gave.
  EXPECT_NE(std::string::npos, Log.find("from '" + Clip + "':")) << Log;
  EXPECT_NE(std::string::npos, Log.find("to '" + Output + "':")) << Log;
  EXPECT_NE(std::string::npos, Log.find("  Duration: 00:00:03.")) << Log;
  // Progress times are seconds, as the older encoder printed them, on lines ended by a CR.
  size_t Time = Log.rfind(" time=");
  ASSERT_NE(std::string::npos, Time) << Log;
  std::string Value = Log.substr(Time + 6, Log.find(' ', Time + 6) - Time - 6);
  EXPECT_EQ(std::string::npos, Value.find(':')) << Value;
  EXPECT_NEAR(3.0, atof(Value.c_str()), 0.2) << Value;
  EXPECT_NE(std::string::npos, Log.find('\r')) << Log;
}

TEST_F(Avcore, ExitsWithFfmpegsExitCode) {
  std::string Log;
  int Code = RunEncoder(EncoderCommandLine(Clip, "-y -vcodec nonesuch ", Folder + "bad.avi"), Log);
  EXPECT_NE(0, Code) << Log;
  EXPECT_NE(-1, Code) << Log;
  EXPECT_NE(std::string::npos, Log.find("nonesuch")) << Log;
}

TEST_F(Avcore, MissingInputFails) {
  std::string Log;
  int Code = RunEncoder(EncoderCommandLine(Folder + "nothere.avi", "-y -f avi ", Folder + "none.avi"), Log);
  EXPECT_NE(0, Code) << Log;
  EXPECT_NE(-1, Code) << Log;
  EXPECT_NE(std::string::npos, Log.find("nothere.avi")) << Log;
}

TEST_F(Avcore, ProfileChoicesBeyondTheDefaultsConvert) {
  // Option strings the builders make for non-default profiles whose translation differs from the
  // default lines: AMR in MOV and wide-band AMR in 3GP, 5.1 AC-3 (after the driver's fix-up), a disc
  // target, the PSP container, HuffYUV with the driver's fix-up, and a time range on AMR.
  struct Case {
    const char* Options;
    const char* Ext;
    const char* Expected;  // General;%Format%|%VideoCount% then Audio;%Format%|%Format_Profile%|%Channel(s)%
  } Cases[] = {
      {"-y -f mov -vcodec h264 -b 1200k -r 25 -acodec amr_nb -ac 1 -ar 8000 -ab 13 ", ".mov", "MPEG-4|1 AMR|Narrow band|1"},
      {"-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec amr_wb -ac 1 -ar 16000 ", ".3gp", "MPEG-4|1 AMR|Wide band|1"},
      {"-y -f ac3 -vn -acodec ac3 -ac 5:1 -ar 48000 ", ".ac3", "AC-3| AC-3||6"},
      {"-target pal-vcd ", ".mpg", "MPEG-PS|1 MPEG Audio|Layer 2|2"},
      {"-y -f psp -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 48000 ", ".mp4", "MPEG-4|1 AAC||2"},
      {"-y -f avi -sameq -vcodec ffvhuff -b 1080k -r 25 -acodec pcm_s16le -ac 2 -ar 44100 ", ".avi", "AVI|1 PCM||2"},
      {"-y -f amr  -t 0:00:02.000 -ss 0:00:00.500 -vn -acodec amr_wb -ac 1 -ar 16000 -ab 23 ", ".amr", "AMR| AMR|Wide band|1"},
  };
  int N = 0;
  for (const Case& C : Cases) {
    std::string Output = Folder + "variant" + std::to_string(++N) + C.Ext;
    std::string Log;
    int Code = RunEncoder(EncoderCommandLine(Clip, C.Options, Output), Log);
    EXPECT_EQ(0, Code) << C.Options << Log;
    EXPECT_EQ(C.Expected, MediainfoSays(Output, "General;%Format%|%VideoCount%") + " " +
                              MediainfoSays(Output, "Audio;%Format%|%Format_Profile%|%Channel(s)%"))
        << C.Options;
  }
}

TEST_F(Avcore, TerminatingTheBridgeStopsFfmpeg) {
  // An endless conversion: the clip read in a loop at its own pace.
  std::string Marker = "endless-" + std::to_string(GetTickCount());
  std::string Output = Folder + Marker + ".avi";
  std::string Line = EncoderCommandLine(Clip, "-y -f avi -acodec mp3 ", Output);
  Line.replace(Line.find(" -i "), 4, " -stream_loop -1 -re -i ");
  TEncoderRun Run;
  Run.Start(Line);
  ASSERT_TRUE(Run.PumpUntil([&] { return Run.Output().find(" time=") != std::string::npos; })) << Run.Output();
  ASSERT_EQ("running", WaitForProcesses(Marker, "running", 0));

  Run.Terminate();
  ASSERT_NE(-1, Run.Wait());
  // Within two seconds no program of the conversion may be left.
  std::string State = WaitForProcesses(Marker, "gone", 20);
  if (State != "gone") StopProcesses(Marker);
  EXPECT_EQ("gone", State);
}

}  // namespace
