#include "Redirect.h"

#include <vector>

#include "Errors.h"
#include "Strings.h"

namespace {

// Creation flag of each InitialPriority value; 0 and unknown values leave the system's default.
const DWORD PriorityClasses[] = {0, IDLE_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS,
                                 REALTIME_PRIORITY_CLASS};

// How long the reader waits for the child's end after finding both pipes empty. Short, because a child
// that writes more than a pipe holds meanwhile stops until the next look; a look costs next to nothing.
const DWORD IdleWaitMs = 10;

// How long the runner waits for a child it has just killed to be gone, so that nothing outlives it.
const DWORD KilledChildWait = 5000;

void CloseAndZero(HANDLE& h)
{
    if (h) CloseHandle(h);
    h = nullptr;
}

}  // namespace

// --- reader thread ---------------------------------------------------------------------------------

TRedirectorThread::~TRedirectorThread()
{
    Terminate();
    WaitFor();  // Execute uses our members: join before they go
}

bool TRedirectorThread::ReadWaiting(HANDLE pipe, void (TRedirector::*read)(), bool onMainThread)
{
    TRedirector* R = Redirector;
    DWORD waiting = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) || waiting == 0) return false;
    R->bytesAvailable_ = waiting;
    if (onMainThread)
        (R->*read)();
    else
        Synchronize([R, read] { (R->*read)(); });
    return true;
}

bool TRedirectorThread::ReadPass(bool onMainThread)
{
    TRedirector* R = Redirector;
    const bool read = ReadWaiting(R->stdOutRead_, &TRedirector::ReadStdOutput, onMainThread);
    if (abandoned_) return read;
    return ReadWaiting(R->stdErrRead_, &TRedirector::ReadStdError, onMainThread) || read;
}

// On the main thread, once the child has exited: hands on the output it left and reports its end.
// One call for both, because every round trip to the main thread lies between the child's exit and
// the moment its owner can start the next one. False when the end was not reported.
bool TRedirectorThread::DrainAndReportEnd()
{
    while (ReadPass(true)) {
        if (abandoned_) return false;  // an event freed the runner
    }
    if (abandoned_ || Terminated()) return false;
    Redirector->ProcessTerminated();
    return true;
}

void TRedirectorThread::Execute()
{
    TRedirector* R = Redirector;
    std::string failure = "The output reader stopped before the process ended";
    std::exception_ptr error;
    try {
        for (;;) {
            const bool idle = !ReadPass(false);
            if (abandoned_) return;
            if (!idle) continue;  // output flows: poll again at once
            if (Terminated()) break;
            if (WaitForSingleObject(R->processInfo_.hProcess, IdleWaitMs) != WAIT_OBJECT_0) continue;
            // Set before the drain, so every event from here on sees it.
            R->exited_ = true;
            bool reported = false;
            Synchronize([this, &reported] { reported = DrainAndReportEnd(); });
            if (reported || abandoned_) return;  // the runner may already serve its next child: touch nothing more
            break;
        }
    } catch (const std::exception& e) {
        failure = e.what();
        error = std::current_exception();
    } catch (...) {
        failure = "Unknown error in the output reader";
        error = std::current_exception();
    }
    if (!abandoned_) ReportFailure(failure, error);
}

// The reader ends without having reported the child's end (or the end handler itself threw): make sure
// the end is reported once and the runner is free again; an error nobody else sees goes to the
// program's exception handler.
void TRedirectorThread::ReportFailure(const std::string& reason, std::exception_ptr error)
{
    TRedirector* R = Redirector;
    try {
        Synchronize([R, &reason, &error] {
            if (!R->endReported_ && R->Active()) R->ReaderFailed(reason);
            else if (error && ThreadExceptionHandler) ThreadExceptionHandler(error);
        });
    } catch (...) {
        std::exception_ptr late = std::current_exception();
        if (!abandoned_ && ThreadExceptionHandler) {
            try {
                Synchronize([&late] { ThreadExceptionHandler(late); });
            } catch (...) {
            }
        }
    }
}

// --- runner -----------------------------------------------------------------------------------------

TRedirector::TRedirector() = default;

TRedirector::~TRedirector()
{
    // No event may reach an owner that is going away, not even one already on its way.
    OnData = nullptr;
    OnErrorData = nullptr;
    OnTerminated = nullptr;
    if (Active() && KillOnDestroy && !exited_) {
        TerminateProcess(processInfo_.hProcess, 0);
        WaitForSingleObject(processInfo_.hProcess, KilledChildWait);
    }
    if (thread_) thread_->Abandon();
    ReleaseThread();
    ClosePipes();
    CloseProcess();
}

void TRedirector::RaiseError(const std::string& msg) { throw Exception(msg); }

void TRedirector::RaiseLastError(const std::string& msg) { RaiseLastOSError(msg); }

std::string TRedirector::GetCommandLine() const
{
    return ApplicationName.empty() ? commandLine_ : ApplicationName + " " + commandLine_;
}

void TRedirector::SetCommandLine(const std::string& value)
{
    if (Active() && !SameText(value, GetCommandLine())) RaiseError("Cannot change Commandline while process is active");
    commandLine_ = value;
}

void TRedirector::SetDefaultErrorMode(bool value)
{
    if (value != defaultErrorMode_ && Active()) RaiseError("Cannot change DefaultErrorMode while process is active");
    defaultErrorMode_ = value;
}

void TRedirector::SetInitialPriority(uint8_t value)
{
    if (Active()) RaiseError("Cannot change InititalPriority while process is active");
    initialPriority_ = value;
}

void TRedirector::CreatePipes()
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    struct PipeStep {
        HANDLE* read;
        HANDLE* write;
        HANDLE* childEnd;
        const char* createError;
        const char* duplicateError;
    };
    const PipeStep steps[] = {
        {&stdInRead_, &stdInWrite_, &stdInRead_, "Error on STDIN pipe creation : ", "Error on STDIN pipe duplication : "},
        {&stdOutRead_, &stdOutWrite_, &stdOutWrite_, "Error on STDOUT pipe creation : ",
         "Error on STDOUT pipe duplication : "},
        {&stdErrRead_, &stdErrWrite_, &stdErrWrite_, "Error on STDERR pipe creation : ",
         "Error on STDERR pipe duplication : "},
    };
    const HANDLE self = GetCurrentProcess();
    for (const PipeStep& step : steps) {
        if (!CreatePipe(step.read, step.write, &sa, 0)) RaiseLastError(step.createError);
        HANDLE duplicate = nullptr;
        if (!DuplicateHandle(self, *step.childEnd, self, &duplicate, 0, TRUE,
                             DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE)) {
            *step.childEnd = nullptr;  // the source is closed even when duplication fails
            RaiseLastError(step.duplicateError);
        }
        *step.childEnd = duplicate;
        // Our own end stays out of the child, or the child would hold its own input open.
        HANDLE ownEnd = step.childEnd == step.read ? *step.write : *step.read;
        SetHandleInformation(ownEnd, HANDLE_FLAG_INHERIT, 0);
    }
}

void TRedirector::ClosePipes()
{
    for (HANDLE* h : {&stdInRead_, &stdInWrite_, &stdOutRead_, &stdOutWrite_, &stdErrRead_, &stdErrWrite_})
        CloseAndZero(*h);
}

void TRedirector::CloseProcess()
{
    CloseAndZero(processInfo_.hProcess);
    CloseAndZero(processInfo_.hThread);
    processInfo_ = {};
}

// The previous reader has reported its end and is leaving. Join it, unless we run inside its last
// synchronised call (Execute or the destructor called from an event), where joining would deadlock.
void TRedirector::ReleaseThread()
{
    if (!thread_) return;
    if (thread_->Synchronizing() && IsMainThread())
        ReleaseThreadWhenFinished(std::move(thread_));
    else
        thread_.reset();
}

void TRedirector::Execute()
{
    if (Active()) RaiseError("Process is already active");
    if (Trim(GetCommandLine()).empty()) RaiseError("No commandline to run");
    ReleaseThread();
    exited_ = false;
    endReported_ = false;
    exitCode_ = 0;
    readerError_.clear();
    try {
        CreatePipes();
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
        si.wShowWindow = WORD(ShowWindowCmd);
        si.hStdInput = stdInRead_;
        si.hStdOutput = stdOutWrite_;
        si.hStdError = stdErrWrite_;
        const DWORD priorityClass = initialPriority_ < sizeof PriorityClasses / sizeof PriorityClasses[0]
                                        ? PriorityClasses[initialPriority_] : 0;
        // Started suspended so the class can be set again before the child runs: some systems (Wine)
        // ignore the class among the creation flags.
        DWORD flags = priorityClass | CREATE_SUSPENDED;
        if (defaultErrorMode_) flags |= CREATE_DEFAULT_ERROR_MODE;
        const std::string app = Trim(ApplicationName);
        const std::string dir = Trim(CurrentDirectory);
        std::vector<char> cmd(commandLine_.begin(), commandLine_.end());
        cmd.push_back('\0');
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(app.empty() ? nullptr : app.c_str(), cmd.data(), nullptr, nullptr, TRUE, flags,
                            Environment, dir.empty() ? nullptr : CurrentDirectory.c_str(), &si, &pi))
            RaiseLastError("Error creating process : ");
        processInfo_ = pi;
        if (priorityClass) SetPriorityClass(pi.hProcess, priorityClass);
        if (ResumeThread(pi.hThread) == DWORD(-1)) RaiseLastError("Error creating process : ");
        // The child has its own copies now. Dropping ours means the pipes end when the child's ends do.
        CloseAndZero(stdInRead_);
        CloseAndZero(stdOutWrite_);
        CloseAndZero(stdErrWrite_);
        thread_ = std::make_unique<TRedirectorThread>(this);
        thread_->Start();
    } catch (...) {
        thread_.reset();
        if (processInfo_.hProcess) {  // started, but nobody would read it: do not leave it behind
            TerminateProcess(processInfo_.hProcess, RedirectorReaderFailed);
            WaitForSingleObject(processInfo_.hProcess, KilledChildWait);
        }
        ClosePipes();
        CloseProcess();
        throw;
    }
}

void TRedirector::Terminate(DWORD ExitCode)
{
    if (!Active()) RaiseError("Cannot Terminate an inactive process");
    TerminateProcess(processInfo_.hProcess, ExitCode);
}

void TRedirector::ReadPipe(HANDLE pipe, const TDataEvent& event, const char* failure)
{
    const DWORD want = bytesAvailable_;
    std::vector<char> buffer(want ? want : 1);
    DWORD got = 0;
    if (!ReadFile(pipe, buffer.data(), want, &got, nullptr)) {
        const DWORD code = GetLastError();
        if (thread_) thread_->Terminate();
        SetLastError(code);
        RaiseLastError(failure);
    }
    // A copy: the handler may free this runner, and with it the event.
    TDataEvent handler = event;
    if (handler && got > 0) handler(this, buffer.data(), got);
}

void TRedirector::ReadStdOutput() { ReadPipe(stdOutRead_, OnData, "Error reading STDOUT pipe : "); }

void TRedirector::ReadStdError() { ReadPipe(stdErrRead_, OnErrorData, "Error reading STDERR pipe : "); }

void TRedirector::ProcessTerminated()
{
    if (thread_) thread_->Terminate();
    DWORD code = RedirectorReaderFailed;
    if (!GetExitCodeProcess(processInfo_.hProcess, &code)) code = RedirectorReaderFailed;
    EndRun(code, std::string());
}

void TRedirector::ReaderFailed(const std::string& reason)
{
    if (thread_) thread_->Terminate();
    DWORD code = RedirectorReaderFailed;
    if (!exited_) {
        TerminateProcess(processInfo_.hProcess, RedirectorReaderFailed);
        WaitForSingleObject(processInfo_.hProcess, KilledChildWait);
    } else if (!GetExitCodeProcess(processInfo_.hProcess, &code)) {
        code = RedirectorReaderFailed;
    }
    EndRun(code, reason);
}

void TRedirector::EndRun(DWORD exitCode, const std::string& readerError)
{
    exitCode_ = exitCode;
    readerError_ = readerError;
    endReported_ = true;
    ClosePipes();
    CloseProcess();  // from here on Active() is false and Execute may start the next child
    TRedirectorEndEvent handler = OnTerminated;  // a copy: the handler may free this runner
    if (handler) handler(this, exitCode);
}
