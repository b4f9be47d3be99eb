#include "Redirect.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Errors.h"
#include "PumpMessages.h"
#include "Strings.h"
#include "TempDir.h"
#include "TestEncoder.h"

namespace {

// What the runner reported, in arrival order.
struct Event {
    char kind;  // 'O' standard output, 'E' standard error, 'T' end
    std::string data;
    DWORD thread;
    bool exited;
    DWORD exitCode;
};

std::string TailPattern(size_t size)
{
    std::string pattern;
    char line[16];
    for (long i = 0; pattern.size() < size; ++i) {
        snprintf(line, sizeof line, "%08ld\n", i);
        pattern += line;
    }
    pattern.resize(size);
    return pattern;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class RedirectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        encoder = InstallTestEncoder(dir);
        runner = std::make_unique<TRedirector>();
        Record(*runner);
    }
    void TearDown() override
    {
        runner.reset();
        SetTestEncoderSettings("");
    }

    void Record(TRedirector& r)
    {
        r.OnData = [this](TRedirector* s, const char* b, DWORD n) {
            events.push_back({'O', std::string(b, n), GetCurrentThreadId(), s->Exited(), 0});
        };
        r.OnErrorData = [this](TRedirector* s, const char* b, DWORD n) {
            events.push_back({'E', std::string(b, n), GetCurrentThreadId(), s->Exited(), 0});
        };
        r.OnTerminated = [this](TRedirector* s, DWORD code) {
            events.push_back({'T', "", GetCurrentThreadId(), s->Exited(), code});
            EXPECT_FALSE(s->Active());  // the next child may start from the end event
        };
    }

    // The command line the conversion driver builds: unquoted encoder path, quoted input and output.
    std::string Line(const std::string& output = "out.avi") const
    {
        return encoder + " -p 4730615 -i \"" + (dir / "in.avi") + "\" -y -f avi \"" + (dir / output) + "\"";
    }

    void Start(const std::string& settings)
    {
        SetTestEncoderSettings(settings);
        runner->SetCommandLine(Line());
        runner->Execute();
    }

    // Starts a child and pumps messages until its end arrived.
    void Run(const std::string& settings)
    {
        const int before = Count('T');
        Start(settings);
        ASSERT_TRUE(PumpMessagesUntil([&] { return Count('T') > before; })) << settings;
    }

    int Count(char kind) const
    {
        int n = 0;
        for (const Event& e : events) n += e.kind == kind;
        return n;
    }

    std::string Text(char kind) const
    {
        std::string text;
        for (const Event& e : events)
            if (e.kind == kind) text += e.data;
        return text;
    }

    const Event& LastEnd() const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->kind == 'T') return *it;
        static const Event none{'-', "", 0, false, 0};
        return none;
    }

    TempDir dir;
    std::string encoder;
    std::unique_ptr<TRedirector> runner;
    std::vector<Event> events;
};

}  // namespace

TEST_F(RedirectTest, SilentChildGivesNoDataAndExactlyOneEndEachRun)
{
    Run("mode=silent");
    Run("mode=silent");  // the same runner serves the next child
    EXPECT_EQ(Count('O') + Count('E'), 0);
    ASSERT_EQ(Count('T'), 2);
    EXPECT_EQ(events[0].exitCode, 0u);
    EXPECT_TRUE(events[0].exited);
    EXPECT_FALSE(runner->Active());
}

TEST_F(RedirectTest, ExitCodeArrivesWithTheEnd)
{
    const DWORD Crashed = 0xC0000000;  // any exception code: the emulated machine reports its own kind
    struct Case {
        const char* settings;
        DWORD expected;
    };
    for (const Case& c : {Case{"mode=normal", 0}, {"mode=fail", 1}, {"mode=fail;exitcode=7", 7},
                          {"mode=silent;exitcode=3", 3}, {"mode=crash", Crashed}}) {
        events.clear();
        Run(c.settings);
        ASSERT_EQ(Count('T'), 1) << c.settings;
        if (c.expected == Crashed) {
            EXPECT_GE(LastEnd().exitCode, Crashed) << c.settings;
            EXPECT_NE(LastEnd().exitCode, RedirectorReaderFailed) << c.settings;
        } else {
            EXPECT_EQ(LastEnd().exitCode, c.expected) << c.settings;
        }
        EXPECT_EQ(runner->ExitCode(), LastEnd().exitCode) << c.settings;
        EXPECT_EQ(runner->ReaderError(), "") << c.settings;
    }
}

TEST_F(RedirectTest, EncoderWritesTheOutputFileNamedLast)
{
    Run("mode=normal");
    HANDLE f = CreateFileA((dir / "out.avi").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    char buf[4096];
    DWORD got = 0;
    ReadFile(f, buf, sizeof buf, &got, nullptr);
    CloseHandle(f);
    const std::string content(buf, got);
    EXPECT_NE(content.find("input=" + (dir / "in.avi")), std::string::npos) << content;
    EXPECT_NE(content.find("arg=4730615"), std::string::npos) << content;
}

// Bytes written just before the child exits are all delivered, in order, before the end event; with
// more than a pipe holds the child is still writing when it is read, with less it has already gone.
TEST_F(RedirectTest, LastBytesBeforeExitAllArriveBeforeTheEnd)
{
    for (size_t size : {3000u, 200000u}) {
        events.clear();
        Run("mode=normal;stream=stdout;frames=1;tail=" + std::to_string(size));
        ASSERT_EQ(events.back().kind, 'T');
        EXPECT_EQ(Count('T'), 1);
        const std::string out = Text('O');
        EXPECT_TRUE(EndsWith(out, "muxing overhead 1.234567%\n" + TailPattern(size))) << size;
        for (size_t i = 0; i + 1 < events.size(); ++i)
            if (events[i].kind == 'O' && events[i].exited) {
                for (size_t j = i; j + 1 < events.size(); ++j) EXPECT_TRUE(events[j].exited);  // stays set
                break;
            }
    }
}

TEST_F(RedirectTest, EachPipeArrivesOnItsOwnEvent)
{
    struct Case {
        const char* stream;
        bool headerOnOut, progressOnOut, headerOnErr, progressOnErr;
    };
    for (const Case& c : {Case{"stderr", false, false, true, true}, {"stdout", true, true, false, false},
                          {"both", true, false, false, true}}) {
        events.clear();
        Run(std::string("mode=normal;stream=") + c.stream);
        const std::string out = Text('O'), err = Text('E');
        EXPECT_EQ(out.find("Input #0, avi, from '") != std::string::npos, c.headerOnOut) << c.stream;
        EXPECT_EQ(out.find("frame=") != std::string::npos, c.progressOnOut) << c.stream;
        EXPECT_EQ(err.find("Input #0, avi, from '") != std::string::npos, c.headerOnErr) << c.stream;
        EXPECT_EQ(err.find("frame=") != std::string::npos, c.progressOnErr) << c.stream;
        EXPECT_EQ(events.back().kind, 'T') << c.stream;
    }
}

TEST_F(RedirectTest, EventsRunOnTheMainThread)
{
    Run("mode=normal;stream=both;split=7");
    ASSERT_GT(events.size(), 2u);
    for (const Event& e : events) EXPECT_EQ(e.thread, GetCurrentThreadId()) << e.kind;
}

// Output cut into slices of a few bytes arrives complete, unchanged and in order.
TEST_F(RedirectTest, SplitWritesArriveWhole)
{
    Run("mode=normal;frames=3");
    const std::string whole = Text('E');
    events.clear();
    Run("mode=normal;frames=3;split=5");
    EXPECT_EQ(Text('E'), whole);
    EXPECT_GT(Count('E'), 1);
}

TEST_F(RedirectTest, PriorityClassIsApplied)
{
    struct Case {
        uint8_t priority;
        DWORD expected;
    };
    const DWORD inherited = GetPriorityClass(GetCurrentProcess());
    for (const Case& c : {Case{0, inherited}, {1, IDLE_PRIORITY_CLASS}, {2, NORMAL_PRIORITY_CLASS},
                          {3, HIGH_PRIORITY_CLASS}, {9, inherited}}) {
        events.clear();
        runner->SetInitialPriority(c.priority);
        Start("mode=hang;showpriority=1");
        const DWORD seen = GetPriorityClass(runner->GetProcessHandle());
        ASSERT_TRUE(PumpMessagesUntil([&] { return Text('E').find("Press [q]") != std::string::npos; }));
        runner->Terminate(0);
        ASSERT_TRUE(PumpMessagesUntil([&] { return Count('T') == 1; }));
        EXPECT_EQ(seen, c.expected) << int(c.priority);
        // The child runs at that class from its first instruction on.
        EXPECT_NE(Text('E').find("Priority class: " + std::to_string(c.expected) + "\n"), std::string::npos)
            << int(c.priority);
    }
}

TEST_F(RedirectTest, MissingProgramAndEmptyLineRaiseTheirTexts)
{
    runner->SetCommandLine("   ");
    try {
        runner->Execute();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "No commandline to run");
    }
    runner->SetCommandLine(dir / "nothing-here.exe -i x y");
    try {
        runner->Execute();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Error creating process : 2");
    }
    EXPECT_FALSE(runner->Active());
    try {
        runner->Terminate(0);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot Terminate an inactive process");
    }
    Run("mode=silent");  // a failed start leaves the runner usable
    EXPECT_EQ(Count('T'), 1);
}

TEST_F(RedirectTest, SettingsAreGuardedWhileAChildRuns)
{
    runner->ApplicationName = "";
    runner->SetDefaultErrorMode(true);
    runner->SetInitialPriority(2);
    Start("mode=hang");
    auto message = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const Exception& e) {
            return e.Message();
        }
        return std::string("no exception");
    };
    EXPECT_EQ(message([&] { runner->Execute(); }), "Process is already active");
    EXPECT_EQ(message([&] { runner->SetCommandLine("other"); }), "Cannot change Commandline while process is active");
    EXPECT_EQ(message([&] { runner->SetCommandLine(UpperCase(Line())); }), "no exception");
    EXPECT_EQ(message([&] { runner->SetInitialPriority(2); }), "Cannot change InititalPriority while process is active");
    EXPECT_EQ(message([&] { runner->SetDefaultErrorMode(true); }), "no exception");
    EXPECT_EQ(message([&] { runner->SetDefaultErrorMode(false); }),
              "Cannot change DefaultErrorMode while process is active");
    runner->Terminate(4);
    ASSERT_TRUE(PumpMessagesUntil([&] { return Count('T') == 1; }));
    EXPECT_EQ(LastEnd().exitCode, 4u);
    EXPECT_EQ(message([&] { runner->SetInitialPriority(3); }), "no exception");
    EXPECT_EQ(runner->InitialPriority(), 3);
}

TEST_F(RedirectTest, CommandLineJoinsTheProgramName)
{
    runner->SetCommandLine("-i a b");
    EXPECT_EQ(runner->GetCommandLine(), "-i a b");
    runner->ApplicationName = encoder;
    EXPECT_EQ(runner->GetCommandLine(), encoder + " -i a b");
    // With a separate program name the child is started from it.
    runner->SetCommandLine("avcore -i \"" + (dir / "in.avi") + "\" \"" + (dir / "named.avi") + "\"");
    SetTestEncoderSettings("mode=silent");
    runner->Execute();
    ASSERT_TRUE(PumpMessagesUntil([&] { return Count('T') == 1; }));
    EXPECT_EQ(LastEnd().exitCode, 0u);
    EXPECT_NE(GetFileAttributesA((dir / "named.avi").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Output still in the pipe when the child is killed is delivered before the end.
TEST_F(RedirectTest, TerminateDuringOutputDrainsAndEnds)
{
    const std::string ready = dir / "ready";
    Start("mode=hang;tail=3000;ready=" + ready);
    // Not reading messages here keeps the output waiting in the pipe.
    while (GetFileAttributesA(ready.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(10);
    runner->Terminate(5);
    ASSERT_TRUE(PumpMessagesUntil([&] { return Count('T') == 1; }));
    EXPECT_TRUE(EndsWith(Text('E'), "Press [q] to stop encoding\n" + TailPattern(3000)));
    EXPECT_EQ(events.back().kind, 'T');
    EXPECT_EQ(LastEnd().exitCode, 5u);
    EXPECT_FALSE(runner->Active());
}

// An output handler that throws ends the run like any end: the child is killed, the end carries the
// failure code and the reason, and the runner takes the next child.
TEST_F(RedirectTest, FailingOutputHandlerStillReportsTheEnd)
{
    runner->OnErrorData = [](TRedirector*, const char*, DWORD) { throw Exception("parser broke"); };
    const std::string ready = dir / "ready";
    Start("mode=hang;ready=" + ready);
    HANDLE child = nullptr;
    DuplicateHandle(GetCurrentProcess(), runner->GetProcessHandle(), GetCurrentProcess(), &child, SYNCHRONIZE, FALSE, 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return Count('T') == 1; }));
    EXPECT_EQ(LastEnd().exitCode, RedirectorReaderFailed);
    EXPECT_EQ(runner->ReaderError(), "parser broke");
    EXPECT_EQ(WaitForSingleObject(child, 0), WAIT_OBJECT_0);  // not left running
    CloseHandle(child);
    Record(*runner);
    Run("mode=normal");
    EXPECT_EQ(Count('T'), 2);
    EXPECT_EQ(LastEnd().exitCode, 0u);
    EXPECT_EQ(runner->ReaderError(), "");
}

TEST_F(RedirectTest, FailingEndHandlerGoesToTheExceptionHandler)
{
    std::vector<std::string> reported;
    ThreadExceptionHandler = [&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            reported.push_back(x.what());
        }
    };
    runner->OnTerminated = [](TRedirector*, DWORD) { throw Exception("end handler broke"); };
    SetTestEncoderSettings("mode=silent");
    runner->SetCommandLine(Line());
    runner->Execute();
    const bool arrived = PumpMessagesUntil([&] { return !reported.empty(); });
    ThreadExceptionHandler = nullptr;
    ASSERT_TRUE(arrived);
    EXPECT_EQ(reported, std::vector<std::string>{"end handler broke"});
    EXPECT_FALSE(runner->Active());
}

TEST_F(RedirectTest, NextChildMayStartFromTheEndEvent)
{
    int ends = 0;
    runner->OnTerminated = [&](TRedirector* s, DWORD) {
        if (++ends == 1) s->Execute();  // same command line again
    };
    Start("mode=silent");
    ASSERT_TRUE(PumpMessagesUntil([&] { return ends == 2; }));
    EXPECT_FALSE(runner->Active());
}
