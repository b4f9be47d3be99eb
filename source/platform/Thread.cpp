#include "Thread.h"

#include <process.h>

#include <vector>

#include "Errors.h"

// Static initialisation runs on the thread that starts the program.
const DWORD MainThreadID = GetCurrentThreadId();

namespace {

const char SyncWindowClass[] = "TThreadSyncWindow";
const UINT WM_SYNCHRONIZE = WM_APP + 0x3A1;

const UINT_PTR ReapTimer = 1;

std::atomic<HWND> syncWindow{nullptr};
std::vector<std::unique_ptr<TThread>> releasedThreads;  // main thread only

void ReapFinishedThreads()
{
    for (size_t i = 0; i < releasedThreads.size();) {
        if (releasedThreads[i]->Finished()) {
            std::unique_ptr<TThread> done = std::move(releasedThreads[i]);
            releasedThreads.erase(releasedThreads.begin() + i);
            done.reset();  // joins a thread that has already left Execute
        } else {
            ++i;
        }
    }
    if (releasedThreads.empty() && syncWindow) KillTimer(syncWindow, ReapTimer);
}

struct SyncCall {
    const std::function<void()>* fn;
    std::exception_ptr error;
    bool done = false;
};

// Nothing may unwind out of here: the call's exception travels back to the worker inside the record.
LRESULT CALLBACK SyncWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SYNCHRONIZE) {
        auto* call = reinterpret_cast<SyncCall*>(lp);
        try {
            (*call->fn)();
        } catch (...) {
            call->error = std::current_exception();
        }
        call->done = true;
        return 0;
    }
    if (msg == WM_TIMER && wp == ReapTimer) {
        ReapFinishedThreads();
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

std::function<void(std::exception_ptr)> ThreadExceptionHandler;

bool IsMainThread() { return GetCurrentThreadId() == MainThreadID; }

void InitSynchronize()
{
    if (syncWindow) return;
    if (!IsMainThread()) throw Exception("InitSynchronize must run on the main thread");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SyncWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = SyncWindowClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    HWND wnd = CreateWindowExA(0, SyncWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!wnd) RaiseLastOSError("Error creating the synchronisation window : ");
    syncWindow = wnd;
}

void CheckSynchronize()
{
    MSG msg;
    // Peeking for sent messages delivers every one that waits, then finds nothing to return.
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void ReleaseThreadWhenFinished(std::unique_ptr<TThread> thread)
{
    if (!thread) return;
    thread->Terminate();
    releasedThreads.push_back(std::move(thread));
    if (syncWindow) SetTimer(syncWindow, ReapTimer, 20, nullptr);
}

TThread::TThread()
{
    if (IsMainThread()) InitSynchronize();
}

TThread::~TThread()
{
    Terminate();
    WaitFor();
    if (handle_) CloseHandle(handle_);
}

void TThread::Start()
{
    if (handle_) throw Exception("Thread already started");
    unsigned id = 0;
    uintptr_t h = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, 0, &id);
    if (h == 0) RaiseLastOSError("Thread creation error: ");
    threadId_ = id;
    handle_ = reinterpret_cast<HANDLE>(h);
}

unsigned __stdcall TThread::ThreadProc(void* self)
{
    auto* thread = static_cast<TThread*>(self);
    try {
        thread->Execute();
    } catch (...) {
        thread->fatalException_ = std::current_exception();
    }
    const int result = thread->ReturnValue;
    thread->finished_ = true;
    return unsigned(result);
}

int TThread::WaitFor()
{
    if (!handle_) return ReturnValue;
    if (GetCurrentThreadId() == threadId_) throw Exception("A thread cannot wait for itself");
    if (IsMainThread()) {
        for (;;) {
            CheckSynchronize();
            DWORD r = MsgWaitForMultipleObjects(1, &handle_, FALSE, INFINITE, QS_SENDMESSAGE);
            if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) break;
        }
    } else {
        WaitForSingleObject(handle_, INFINITE);
    }
    return ReturnValue;
}

void TThread::Synchronize(TThread* thread, const std::function<void()>& fn)
{
    if (IsMainThread()) {
        fn();
        return;
    }
    HWND wnd = syncWindow;
    if (!wnd) throw Exception("Synchronize needs InitSynchronize on the main thread");
    SyncCall call{&fn, nullptr};
    if (thread) thread->synchronizing_ = true;
    SendMessageA(wnd, WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&call));
    if (thread) thread->synchronizing_ = false;
    if (!call.done) throw Exception("The main thread did not run a synchronised call");
    if (call.error) std::rethrow_exception(call.error);
}
