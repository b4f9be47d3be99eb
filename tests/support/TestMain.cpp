// The tests' entry point: GoogleTest's own, except that failures are printed without
// OutputDebugStringA. Wine raises a debug-print exception for that call, and with Wine's 32-bit side
// under emulation that exception can bring the test program down right after its first failure.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>

namespace {

class FailurePrinter : public testing::TestEventListener {
public:
    explicit FailurePrinter(testing::TestEventListener* inner) : inner_(inner) {}

    void OnTestProgramStart(const testing::UnitTest& u) override { inner_->OnTestProgramStart(u); }
    void OnTestIterationStart(const testing::UnitTest& u, int i) override { inner_->OnTestIterationStart(u, i); }
    void OnEnvironmentsSetUpStart(const testing::UnitTest& u) override { inner_->OnEnvironmentsSetUpStart(u); }
    void OnEnvironmentsSetUpEnd(const testing::UnitTest& u) override { inner_->OnEnvironmentsSetUpEnd(u); }
    void OnTestSuiteStart(const testing::TestSuite& s) override { inner_->OnTestSuiteStart(s); }
    void OnTestStart(const testing::TestInfo& t) override { inner_->OnTestStart(t); }
    void OnTestPartResult(const testing::TestPartResult& r) override
    {
        if (r.type() == testing::TestPartResult::kSuccess) return;
        std::printf("%s:%d: %s\n%s\n", r.file_name() ? r.file_name() : "unknown file", r.line_number(),
                    r.skipped() ? "Skipped" : "Failure", r.message());
        std::fflush(stdout);
    }
    void OnTestEnd(const testing::TestInfo& t) override { inner_->OnTestEnd(t); }
    void OnTestSuiteEnd(const testing::TestSuite& s) override { inner_->OnTestSuiteEnd(s); }
    void OnEnvironmentsTearDownStart(const testing::UnitTest& u) override { inner_->OnEnvironmentsTearDownStart(u); }
    void OnEnvironmentsTearDownEnd(const testing::UnitTest& u) override { inner_->OnEnvironmentsTearDownEnd(u); }
    void OnTestIterationEnd(const testing::UnitTest& u, int i) override { inner_->OnTestIterationEnd(u, i); }
    void OnTestProgramEnd(const testing::UnitTest& u) override { inner_->OnTestProgramEnd(u); }

private:
    std::unique_ptr<testing::TestEventListener> inner_;
};

}  // namespace

// ctest waits until the test program has ended AND every copy of its output pipe is closed. Programs
// the tests start (the encoder and its Linux helpers) would inherit our standard handles and keep
// ctest waiting for as long as they live, so they are not handed on.
void KeepStandardHandlesToOurselves()
{
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE handle = GetStdHandle(which);
        if (handle && handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    }
}

int main(int argc, char** argv)
{
    KeepStandardHandlesToOurselves();
    testing::InitGoogleTest(&argc, argv);
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    if (testing::TestEventListener* printer = listeners.default_result_printer()) {
        listeners.Release(printer);
        listeners.Append(new FailurePrinter(printer));
    }
    int result = RUN_ALL_TESTS();
    // The results are out; ending the process here skips the library detach routines, where Wine under
    // heavy load has been seen to hang a finished test for good (a thread killed while it held a lock).
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
