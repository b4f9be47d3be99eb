// TMediaReadAhead: reads the media values of the files of one batch on worker threads while the main
// thread fills the list, so the library's work and the list's own work run on different cores.
//
// The list is still filled one file after the other, by the same rules, on the main thread: the batch
// asks Take(index) at exactly the moment it would have read that file itself and gets the same values.
// The read-ahead only decides which files to read early (those the batch marked as likely to be added);
// a file it did not read early is read by Take on the spot. Each file gets its own library handle,
// opened and closed on the thread that reads it, so no handle is shared between threads.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MediaInfoDll.h"

class TMediaReadAheadWorker;

class TMediaReadAhead {
public:
    // paths: the batch in order; wanted[i]: whether to read paths[i] early. WhileWaiting runs on the
    // main thread whenever messages arrive while Take waits for a worker (so the window stays alive).
    TMediaReadAhead(const std::vector<std::string>& paths, const std::vector<bool>& wanted,
                    std::function<void()> WhileWaiting);
    ~TMediaReadAhead();  // stops the workers (a file being read is finished) and joins them
    TMediaReadAhead(const TMediaReadAhead&) = delete;
    TMediaReadAhead& operator=(const TMediaReadAhead&) = delete;

    // The values of paths[index], as ReadMediaValues gives them. Main thread only. The first call reads
    // its file itself and only then starts the workers on the wanted files after it: the library is
    // loaded with the first file read, and loading belongs to the main thread.
    TMediaValues Take(size_t index);

    // How many workers read ahead (0 before the first Take or when nothing is wanted).
    size_t WorkerCount() const { return workers_.size(); }
    // How many threads a batch of `wanted` files gets: none on a single processor (the list's own work
    // could not run beside them), else up to MaxWorkers. The library lets in one thread at a time
    // (MediaInfoDll.h), so the readers take turns in it; measured on 1,000 files, three readers filled
    // the list in 0.98 of the time the library takes for the files one after the other, one reader in
    // 1.08, two in 1.04, four in 1.01 (letting the readers open files side by side made it 1.23).
    static size_t WorkersFor(size_t wanted);
    static constexpr size_t MaxWorkers = 3;

private:
    friend class TMediaReadAheadWorker;
    enum TState : int { Waiting = 0, Read = 1, Failed = 2 };
    void StartWorkers(size_t after);
    void ReadNext();  // on a worker: reads queued files until none is left or it is told to stop

    const std::vector<std::string> paths_;
    std::vector<size_t> queue_;                  // indexes to read early, in batch order
    std::atomic<size_t> next_{0};                // next position in queue_ to claim
    std::vector<TMediaValues> values_;           // by index; written by the worker that claimed it
    std::unique_ptr<std::atomic<int>[]> state_;  // by index: TState, set after values_ (sequentially consistent)
    std::vector<bool> queued_;                   // by index: in queue_
    std::atomic<bool> stopping_{false};
    std::atomic<bool> mainWaiting_{false};  // Take waits for the event
    std::atomic<size_t> wakeAt_{0};           // and wants it once this index is read
    static constexpr size_t WakeRun = 16;
    HANDLE progress_ = nullptr;  // set by a worker each time a file is done
    std::function<void()> whileWaiting_;
    std::vector<bool> wanted_;
    bool started_ = false;
    std::vector<std::unique_ptr<TMediaReadAheadWorker>> workers_;
};
