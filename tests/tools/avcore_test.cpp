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
  EXPECT_NE(0, Code);
  EXPECT_NE(-1, Code);
  EXPECT_NE(std::string::npos, Log.find("nonesuch")) << Log;
}

TEST_F(Avcore, MissingInputFails) {
  std::string Log;
  int Code = RunEncoder(EncoderCommandLine(Folder + "nothere.avi", "-y -f avi ", Folder + "none.avi"), Log);
  EXPECT_NE(0, Code);
  EXPECT_NE(-1, Code);
  EXPECT_NE(std::string::npos, Log.find("nothere.avi")) << Log;
}

TEST_F(Avcore, TerminatingTheBridgeStopsFfmpeg) {
  // An endless conversion: the clip read in a loop at its own pace.
  std::string Marker = "endless-" + std::to_string(GetTickCount());
  std::string Output = Folder + Marker + ".avi";
  std::string Line = EncoderCommandLine(Clip, "-y -f avi -acodec mp3 ", Output);
  Line.replace(Line.find(" -i "), 4, " -stream_loop -1 -re -i ");
  TEncoderRun Run;
  ASSERT_TRUE(Run.Start(Line));
  DWORD Start = GetTickCount();
  while (Run.Output().find(" time=") == std::string::npos && GetTickCount() - Start < 60000) {
    Run.Poll();
    Sleep(50);
  }
  ASSERT_NE(std::string::npos, Run.Output().find(" time=")) << Run.Output();
  ASSERT_EQ("running", WaitForProcesses(Marker, "running", 0));

  Run.Terminate();
  // Within two seconds no program of the conversion may be left.
  std::string State = WaitForProcesses(Marker, "gone", 20);
  if (State != "gone") StopProcesses(Marker);
  EXPECT_EQ("gone", State);
}

}  // namespace
