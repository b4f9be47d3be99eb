// Running Linux programs from under Wine: the caller's own handles survive, and a command that does not
// end is reported instead of waited for.
#include "UnixShell.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

// Every handle value of this process that is open now (the low range, where Wine hands them out).
std::vector<HANDLE> OpenHandles() {
  std::vector<HANDLE> Open;
  for (UINT_PTR Value = 4; Value < 0x1000; Value += 4) {
    DWORD Flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(Value), &Flags)) Open.push_back(reinterpret_cast<HANDLE>(Value));
  }
  return Open;
}

TEST(UnixShell, StartingALinuxProgramLeavesTheCallersHandlesOpen) {
  // Some handles of our own, so that the low handle values are in use.
  std::vector<HANDLE> Events;
  for (int I = 0; I < 16; ++I) Events.push_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::vector<HANDLE> Before = OpenHandles();
  for (int Run = 0; Run < 3; ++Run) {
    TUnixCommandResult Result = RunUnixCommand("echo ran");
    ASSERT_TRUE(Result.Finished) << Result.Output;
    EXPECT_EQ("ran\n", Result.Output);
  }
  for (HANDLE H : Before) {
    DWORD Flags = 0;
    EXPECT_TRUE(GetHandleInformation(H, &Flags)) << "handle " << H << " was closed";
  }
  for (HANDLE H : Events) CloseHandle(H);
}

TEST(UnixShell, ExitCodeAndOutputComeBack) {
  TUnixCommandResult Result = RunUnixCommand("echo out; echo err >&2; exit 3");
  ASSERT_TRUE(Result.Finished) << Result.Output;
  EXPECT_EQ(3, Result.ExitCode);
  EXPECT_EQ("out\nerr\n", Result.Output);
}

TEST(UnixShell, ACommandBeyondTheTimeLimitIsReportedNotAwaited) {
  TUnixCommandResult Result = RunUnixCommand("echo begun; sleep 5", 1000);
  EXPECT_FALSE(Result.Finished);
  EXPECT_EQ(-1, Result.ExitCode);
  EXPECT_NE(std::string::npos, Result.Output.find("no exit code within 1 s")) << Result.Output;
}

TEST(UnixShell, ACommandBeyondTheTimeLimitIsEndedWithWhatItStarted) {
  // A command that outlived our wait would hold on to whatever it was given (files, a test runner's
  // pipes) for as long as it runs.
  const std::string PidFile = "/tmp/orv-unixshell-" + std::to_string(GetCurrentProcessId());
  TUnixCommandResult Late = RunUnixCommand("sleep 120 & echo $! > " + PidFile + "; wait", 1000);
  EXPECT_FALSE(Late.Finished);
  bool Gone = false;
  for (int Try = 0; Try < 60 && !Gone; ++Try) {
    TUnixCommandResult Probe = RunUnixCommand("kill -0 \"$(cat " + PidFile + ")\" 2>/dev/null && echo alive || echo gone");
    Gone = Probe.Finished && Probe.Output == "gone\n";
    if (!Gone) Sleep(500);
  }
  EXPECT_TRUE(Gone) << "the command's child still runs 30 s after the limit";
  RunUnixCommand("rm -f " + PidFile);
}

}  // namespace
