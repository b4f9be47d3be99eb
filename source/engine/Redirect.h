// TRedirector: runs one console child process with its standard input, output and error on pipes, and
// hands what the child writes, and its end, to the owner's events on the main thread.
//
// A reader thread (TRedirectorThread) peeks at both output pipes and, when they are empty, waits up to
// 10 ms for the child to end, so a child that writes much is never left waiting on a full pipe for long.
// Every pipe read and every event runs on the main thread through TThread::Synchronize while the reader
// waits, so the events need no locks and keep arriving inside modal loops. One child at a time; the same
// runner serves any number of children one after another.
//
// Every end of a run is reported exactly once through OnTerminated with the child's exit code, also when
// the reader fails (a failed pipe read or an exception from OnData/OnErrorData): the child is then killed,
// the end is reported with RedirectorReaderFailed as exit code and the reason in ReaderError(), and the
// runner is ready for the next Execute.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Thread.h"

class TRedirector;

// Raw console bytes of one read: not zero-terminated, valid only during the call.
using TDataEvent = std::function<void(TRedirector* Sender, const char* Buffer, DWORD Size)>;
// The child has ended and all its output has been delivered; ExitCode is the child's exit code.
using TRedirectorEndEvent = std::function<void(TRedirector* Sender, DWORD ExitCode)>;

// The exit code reported when the reader failed before it saw the child end (the child is killed with it).
const DWORD RedirectorReaderFailed = 0xFFFFFFFF;

class TRedirectorThread : public TThread {
public:
    explicit TRedirectorThread(TRedirector* redirector) : Redirector(redirector) {}
    ~TRedirectorThread() override;
    // Stop at once, without draining or reporting, and never touch the runner again.
    void Abandon()
    {
        abandoned_ = true;
        Terminate();
    }

    TRedirector* const Redirector;

protected:
    void Execute() override;

private:
    // Hands what waits in `pipe` to the runner's `read`, on the main thread: synchronised, or called
    // directly when we run there already. True when something was waiting.
    bool ReadWaiting(HANDLE pipe, void (TRedirector::*read)(), bool onMainThread);
    bool ReadPass(bool onMainThread);  // both pipes; true when something was read
    bool DrainAndReportEnd();
    void ReportFailure(const std::string& reason, std::exception_ptr error);
    std::atomic<bool> abandoned_{false};
};

class TRedirector {
public:
    TRedirector();
    ~TRedirector();
    TRedirector(const TRedirector&) = delete;
    TRedirector& operator=(const TRedirector&) = delete;

    // ApplicationName + " " + command line, or the command line alone when ApplicationName is empty.
    std::string GetCommandLine() const;
    // Raises "Cannot change Commandline while process is active" unless inactive or the same text.
    void SetCommandLine(const std::string& value);
    bool DefaultErrorMode() const { return defaultErrorMode_; }
    void SetDefaultErrorMode(bool value);
    // 0 default, 1 idle, 2 normal, 3 high, 4 realtime; any assignment while active raises.
    uint8_t InitialPriority() const { return initialPriority_; }
    void SetInitialPriority(uint8_t value);

    bool KillOnDestroy = false;
    std::string ApplicationName;   // empty: the program is the first word of the command line
    std::string CurrentDirectory;  // empty: inherit
    void* Environment = nullptr;   // null: inherit
    int16_t ShowWindowCmd = SW_HIDE;
    TDataEvent OnData;        // standard output
    TDataEvent OnErrorData;   // standard error
    TRedirectorEndEvent OnTerminated;

    // Starts the child. Raises "Process is already active", "No commandline to run",
    // "Error creating process : <code>" and the pipe errors.
    void Execute();
    // Ends the child with ExitCode without waiting; the end is reported like any other end.
    void Terminate(DWORD ExitCode);

    bool Active() const { return processInfo_.hProcess != nullptr; }
    bool Exited() const { return exited_; }  // the reader has seen the child end
    HANDLE GetProcessHandle() const { return processInfo_.hProcess; }
    const PROCESS_INFORMATION& ProcessInfo() const { return processInfo_; }
    DWORD BytesAvailable() const { return bytesAvailable_; }
    // Of the last finished run: the child's exit code and, when the reader failed, why.
    DWORD ExitCode() const { return exitCode_; }
    const std::string& ReaderError() const { return readerError_; }

    // Main thread only, called by the reader thread through Synchronize.
    void ReadStdOutput();
    void ReadStdError();
    void ProcessTerminated();

private:
    friend class TRedirectorThread;

    [[noreturn]] static void RaiseError(const std::string& msg);
    [[noreturn]] static void RaiseLastError(const std::string& msg);
    void CreatePipes();
    void ClosePipes();
    void CloseProcess();
    void ReadPipe(HANDLE pipe, const TDataEvent& event, const char* failure);
    void EndRun(DWORD exitCode, const std::string& readerError);
    void ReaderFailed(const std::string& reason);
    void ReleaseThread();

    std::atomic<DWORD> bytesAvailable_{0};
    PROCESS_INFORMATION processInfo_ = {};
    std::string commandLine_;
    bool defaultErrorMode_ = false;
    uint8_t initialPriority_ = 0;
    HANDLE stdInRead_ = nullptr, stdInWrite_ = nullptr, stdOutRead_ = nullptr, stdOutWrite_ = nullptr,
           stdErrRead_ = nullptr, stdErrWrite_ = nullptr;
    std::unique_ptr<TRedirectorThread> thread_;
    std::atomic<bool> exited_{false};
    bool endReported_ = false;
    DWORD exitCode_ = 0;
    std::string readerError_;
};
