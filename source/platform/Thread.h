// TThread: a worker thread owned by whoever created it, with calls into the main thread.
//
// The thread is created idle and runs Execute() only once Start() is called, that is after the most
// derived object is fully built. It never frees itself: the owner stops it (Terminate) and joins it
// (WaitFor, or the destructor). A class whose Execute() uses its own members must join in its own
// destructor, since by the time ~TThread runs those members are gone.
//
// Synchronize(fn) runs fn on the main thread while the worker waits, by sending a message to a hidden
// message-only window that InitSynchronize() created on the main thread. Sent messages are delivered
// whenever the main thread waits for messages in any loop (its own, a modal form, a message box, a menu
// or a common dialog), so synchronised calls never stall behind a modal window. An exception thrown by
// fn is caught on the main thread (it never unwinds through the window procedure) and thrown again in
// the worker, from Synchronize.
#pragma once
#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

// The thread that ran the program's start-up code, which owns the windows.
extern const DWORD MainThreadID;
bool IsMainThread();

// Creates the hidden window that services synchronised calls; call on the main thread before a thread
// not made there synchronises. Calling it again does nothing. TThread's constructor calls it when it runs
// on the main thread.
void InitSynchronize();

// Runs every synchronised call that is waiting for the main thread, and returns. Only needed by code
// that blocks the main thread without reading messages; every message loop does this by itself.
void CheckSynchronize();

class TThread;

// Takes over a thread whose owner goes away while the thread cannot be joined yet (the owner runs inside
// that thread's own synchronised call). The thread must already be told to stop; it is joined and freed
// on the main thread once it has finished. Main thread only.
void ReleaseThreadWhenFinished(std::unique_ptr<TThread> thread);

// Receives, on the main thread, exceptions that a worker caught and has nobody else to give to. The
// application points it at its default exception report at start-up; without it they are dropped.
extern std::function<void(std::exception_ptr)> ThreadExceptionHandler;

class TThread {
public:
    TThread();
    virtual ~TThread();  // Terminate, then WaitFor
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Runs Execute() on the new thread. Call once, after construction.
    void Start();
    // Asks Execute() to stop; it sees Terminated() turn true.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Waits until Execute() has returned and gives ReturnValue. On the main thread, synchronised calls
    // keep being serviced while it waits, so a worker blocked in Synchronize cannot deadlock its owner.
    int WaitFor();
    bool Started() const { return handle_ != nullptr; }
    bool Finished() const { return finished_; }
    // True while the thread waits in Synchronize for the main thread.
    bool Synchronizing() const { return synchronizing_; }
    HANDLE Handle() const { return handle_; }
    DWORD ThreadID() const { return threadId_; }
    // The exception that ended Execute(), if one did (null otherwise); it is not passed on any further.
    std::exception_ptr FatalException() const { return fatalException_; }

    // Runs fn on the main thread and waits for it; rethrows fn's exception here. Called from the main
    // thread it just runs fn. Raises Exception when no main-thread window exists (InitSynchronize).
    static void Synchronize(TThread* thread, const std::function<void()>& fn);

protected:
    virtual void Execute() = 0;
    void Synchronize(const std::function<void()>& fn) { Synchronize(this, fn); }
    int ReturnValue = 0;

private:
    static unsigned __stdcall ThreadProc(void* self);

    HANDLE handle_ = nullptr;
    DWORD threadId_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> synchronizing_{false};
    std::exception_ptr fatalException_;
};
