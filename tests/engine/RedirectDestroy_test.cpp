// Destroying a runner while its child runs, at every moment of the run. Its own file: the loop starts
// fifty processes and runs beside the other tests.
#include "Redirect.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PumpMessages.h"
#include "TempDir.h"
#include "TestEncoder.h"

// Destroying the runner at any moment of a run kills the child, delivers nothing more and returns.
TEST(RedirectDestroy, WithARunningChildLeavesNothingBehind)
{
    TempDir dir;
    const std::string line = InstallTestEncoder(dir) + " -i \"" + (dir / "in.avi") + "\" \"" + (dir / "out.avi") + "\"";
    SetTestEncoderSettings("mode=hang");
    int lateEvents = 0;
    for (int i = 0; i < 50; ++i) {
        auto r = std::make_unique<TRedirector>();
        r->KillOnDestroy = true;
        r->SetCommandLine(line);
        bool destroyedInHandler = false;
        r->OnTerminated = [&](TRedirector*, DWORD) { ++lateEvents; };
        const int moment = i % 3;  // 0: at once, 1: from inside an output event, 2: after output arrived
        bool gotOutput = false;
        r->OnErrorData = [&](TRedirector*, const char*, DWORD) {
            if (destroyedInHandler) ++lateEvents;
            gotOutput = true;
            if (moment == 1 && !destroyedInHandler) {
                destroyedInHandler = true;
                r.reset();
            }
        };
        r->Execute();
        HANDLE child = nullptr;
        DuplicateHandle(GetCurrentProcess(), r->GetProcessHandle(), GetCurrentProcess(), &child, SYNCHRONIZE, FALSE, 0);
        if (moment != 0) {
            ASSERT_TRUE(PumpMessagesUntil([&] { return gotOutput; }));
        }
        r.reset();
        CheckSynchronize();
        EXPECT_EQ(WaitForSingleObject(child, 0), WAIT_OBJECT_0) << i;
        CloseHandle(child);
    }
    // Threads handed over from inside their own calls are freed from the message loop.
    PumpMessagesUntil([] { return false; }, 200);
    EXPECT_EQ(lateEvents, 0);
    SetTestEncoderSettings("");
}

// Without KillOnDestroy the child is left running, but the runner still stops its reader and returns.
TEST(RedirectDestroy, WithoutKillOnDestroyLeavesTheChildButStopsReading)
{
    TempDir dir;
    SetTestEncoderSettings("mode=hang");
    auto r = std::make_unique<TRedirector>();
    int events = 0;
    r->OnErrorData = [&](TRedirector*, const char*, DWORD) { ++events; };
    r->OnTerminated = [&](TRedirector*, DWORD) { ++events; };
    r->SetCommandLine(InstallTestEncoder(dir) + " -i a.avi \"" + (dir / "out.avi") + "\"");
    r->Execute();
    HANDLE child = nullptr;
    DuplicateHandle(GetCurrentProcess(), r->GetProcessHandle(), GetCurrentProcess(), &child,
                    SYNCHRONIZE | PROCESS_TERMINATE, FALSE, 0);
    r.reset();
    const int seen = events;
    EXPECT_EQ(WaitForSingleObject(child, 0), DWORD(WAIT_TIMEOUT));
    TerminateProcess(child, 0);
    WaitForSingleObject(child, INFINITE);
    CloseHandle(child);
    PumpMessagesUntil([] { return false; }, 200);
    EXPECT_EQ(events, seen);
    SetTestEncoderSettings("");
}
