#include "Thread.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Errors.h"
#include "PumpMessages.h"

namespace {

// Runs a function as its Execute.
class TFunctionThread : public TThread {
public:
    explicit TFunctionThread(std::function<void(TFunctionThread&)> body) : body_(std::move(body)) {}
    ~TFunctionThread() override
    {
        Terminate();
        WaitFor();
    }
    using TThread::Synchronize;
    using TThread::ReturnValue;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(TFunctionThread&)> body_;
};

}  // namespace

TEST(Thread, TestsRunOnTheMainThread) { EXPECT_TRUE(IsMainThread()); }

// Execute sees what the most derived constructor set up, because nothing runs before Start.
TEST(Thread, RunsOnlyAfterStartAndSeesTheFinishedObject)
{
    class TValueThread : public TThread {
    public:
        TValueThread() { value = 42; }
        ~TValueThread() override { WaitFor(); }
        int value = 0;
        std::atomic<int> seen{-1};

    protected:
        void Execute() override { seen = value; }
    };
    TValueThread thread;
    EXPECT_FALSE(thread.Started());
    EXPECT_EQ(thread.seen, -1);
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(thread.seen, 42);
    EXPECT_THROW(thread.Start(), Exception);
}

TEST(Thread, TerminateEndsALoopAndWaitForGivesTheReturnValue)
{
    std::atomic<int> passes{0};
    TFunctionThread thread([&](TFunctionThread& self) {
        while (!self.Terminated()) {
            ++passes;
            Sleep(1);
        }
        self.ReturnValue = 7;
    });
    thread.Start();
    while (passes == 0) Sleep(1);
    EXPECT_FALSE(thread.Terminated());
    thread.Terminate();
    EXPECT_TRUE(thread.Terminated());
    EXPECT_EQ(thread.WaitFor(), 7);
    EXPECT_TRUE(thread.Finished());
}

TEST(Thread, DestroyingARunningThreadStopsAndJoinsIt)
{
    std::atomic<bool> left{false};
    {
        TFunctionThread thread([&](TFunctionThread& self) {
            while (!self.Terminated()) Sleep(1);
            left = true;
        });
        thread.Start();
    }
    EXPECT_TRUE(left);
}

TEST(Thread, ExceptionFromExecuteIsKeptAsFatalException)
{
    TFunctionThread thread([](TFunctionThread&) { throw Exception("worker broke"); });
    thread.Start();
    thread.WaitFor();
    ASSERT_TRUE(thread.FatalException());
    try {
        std::rethrow_exception(thread.FatalException());
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "worker broke");
    }
}

TEST(Thread, SynchronizeRunsOnTheMainThreadWhileTheWorkerWaits)
{
    DWORD workerId = 0, callId = 0;
    std::vector<int> order;  // touched on the main thread only, or by the worker while the main thread waits
    TFunctionThread thread([&](TFunctionThread& self) {
        workerId = GetCurrentThreadId();
        for (int i = 0; i < 20; ++i)
            self.Synchronize([&, i] {
                callId = GetCurrentThreadId();
                order.push_back(i);
            });
        order.push_back(-1);  // after the last call has returned
    });
    thread.Start();
    thread.WaitFor();  // services the calls while it waits
    EXPECT_EQ(callId, GetCurrentThreadId());
    EXPECT_NE(workerId, callId);
    ASSERT_EQ(order.size(), 21u);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(order[i], i);
    EXPECT_EQ(order.back(), -1);
}

TEST(Thread, SynchronizeIsServicedByAnyMessageLoop)
{
    std::atomic<bool> done{false};
    int calls = 0;
    TFunctionThread thread([&](TFunctionThread& self) {
        self.Synchronize([&] { ++calls; });
        self.Synchronize([&] { ++calls; });
        done = true;
    });
    thread.Start();
    ASSERT_TRUE(PumpMessagesUntil([&] { return done.load(); }));
    EXPECT_EQ(calls, 2);
}

TEST(Thread, SynchronizeOnTheMainThreadRunsAtOnce)
{
    int calls = 0;
    TThread::Synchronize(nullptr, [&] { ++calls; });
    EXPECT_EQ(calls, 1);
}

// The call's exception travels back to the worker, with its own type, and the main thread goes on.
TEST(Thread, SynchronizeRethrowsTheCallsExceptionInTheWorker)
{
    struct Case {
        std::function<void()> fn;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {[] { throw Exception("plain"); }, "Exception:plain"},
        {[] { throw EOSError("Error reading STDOUT pipe : 109", 109); }, "EOSError:Error reading STDOUT pipe : 109:109"},
        {[] { throw std::runtime_error("std"); }, "std:std"},
        {[] { throw 5; }, "other"},
        {[] {}, "none"},
    };
    for (const Case& c : cases) {
        std::string caught;
        TFunctionThread thread([&](TFunctionThread& self) {
            try {
                self.Synchronize(c.fn);
                caught = "none";
            } catch (const EOSError& e) {
                caught = std::string(e.ClassName()) + ":" + e.Message() + ":" + std::to_string(e.ErrorCode);
            } catch (const Exception& e) {
                caught = std::string(e.ClassName()) + ":" + e.Message();
            } catch (const std::exception& e) {
                caught = std::string("std:") + e.what();
            } catch (...) {
                caught = "other";
            }
        });
        thread.Start();
        thread.WaitFor();
        EXPECT_EQ(caught, c.expected);
        EXPECT_FALSE(thread.FatalException());
    }
}

// A worker's owner that goes away inside the worker's own synchronised call hands the thread over;
// it is joined and freed once it has left Execute.
TEST(Thread, ReleasedThreadIsFreedOnceFinished)
{
    static std::atomic<bool> destroyed;
    destroyed = false;
    class TReportingThread : public TFunctionThread {
    public:
        using TFunctionThread::TFunctionThread;
        ~TReportingThread() override
        {
            Terminate();
            WaitFor();
            destroyed = true;
        }
    };
    std::unique_ptr<TReportingThread> owned;
    std::atomic<bool> afterCall{false};
    owned = std::make_unique<TReportingThread>([&](TFunctionThread& self) {
        self.Synchronize([&] {
            EXPECT_TRUE(owned->Synchronizing());
            ReleaseThreadWhenFinished(std::move(owned));  // joining here would deadlock
        });
        afterCall = true;
    });
    owned->Start();
    ASSERT_TRUE(PumpMessagesUntil([&] { return destroyed.load(); }));
    EXPECT_TRUE(afterCall);
    EXPECT_FALSE(owned);
}

TEST(Thread, WaitForFromAnotherWorkerDoesNotNeedTheMainThread)
{
    TFunctionThread inner([](TFunctionThread&) { Sleep(1); });
    TFunctionThread outer([&](TFunctionThread& self) {
        inner.Start();
        self.ReturnValue = inner.WaitFor() + 1;
    });
    outer.Start();
    EXPECT_EQ(outer.WaitFor(), 1);
}
