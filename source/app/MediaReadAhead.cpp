#include "MediaReadAhead.h"

#include <algorithm>

#include "Thread.h"

class TMediaReadAheadWorker : public TThread {
public:
    explicit TMediaReadAheadWorker(TMediaReadAhead* owner) : owner_(owner) {}
    ~TMediaReadAheadWorker() override { WaitFor(); }  // Execute uses owner_: join before it goes

protected:
    void Execute() override { owner_->ReadNext(); }

private:
    TMediaReadAhead* const owner_;
};

TMediaReadAhead::TMediaReadAhead(const std::vector<std::string>& paths, const std::vector<bool>& wanted,
                                 std::function<void()> WhileWaiting)
    : paths_(paths),
      values_(paths.size()),
      state_(new std::atomic<int>[paths.size()]),
      queued_(paths.size(), false),
      whileWaiting_(std::move(WhileWaiting)),
      wanted_(wanted)
{
    for (size_t i = 0; i < paths_.size(); ++i) state_[i] = Waiting;
    wanted_.resize(paths_.size(), false);
}

TMediaReadAhead::~TMediaReadAhead()
{
    stopping_ = true;
    workers_.clear();  // each joins
    if (progress_) CloseHandle(progress_);
}

size_t TMediaReadAhead::WorkersFor(size_t wanted)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 1 ? std::min(MaxWorkers, wanted) : 0;
}

void TMediaReadAhead::StartWorkers(size_t after)
{
    for (size_t i = after + 1; i < paths_.size(); ++i)
        if (wanted_[i]) {
            queue_.push_back(i);
            queued_[i] = true;
        }
    // One file left is read as fast by the main thread itself.
    const size_t count = queue_.size() > 1 ? WorkersFor(queue_.size()) : 0;
    if (count == 0) {
        std::fill(queued_.begin(), queued_.end(), false);
        return;
    }
    progress_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!progress_) {  // no way to wait: the batch reads every file itself
        std::fill(queued_.begin(), queued_.end(), false);
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        auto worker = std::make_unique<TMediaReadAheadWorker>(this);
        try {
            worker->Start();
        } catch (...) {
            break;  // the workers already running suffice; with none, Take reads on the spot
        }
        workers_.push_back(std::move(worker));
    }
    if (workers_.empty()) std::fill(queued_.begin(), queued_.end(), false);
}

void TMediaReadAhead::ReadNext()
{
    while (!stopping_) {
        const size_t position = next_++;
        if (position >= queue_.size()) break;
        const size_t index = queue_[position];
        int state = Read;
        try {
            values_[index] = ReadMediaValues(paths_[index]);
        } catch (...) {
            state = Failed;  // Take reads it again on the main thread, where a failure is reported
        }
        state_[index].store(state);
        // Waking the main thread costs a system call: only when it waits (it sets the flag, then
        // looks at the state again, so one of the two always sees the other).
        if (mainWaiting_ && index >= wakeAt_) SetEvent(progress_);
    }
    // Nothing left to read: a Take still waiting for a file before wakeAt_ must not wait on.
    if (mainWaiting_) SetEvent(progress_);
}

TMediaValues TMediaReadAhead::Take(size_t index)
{
    if (!started_) {
        started_ = true;
        TMediaValues first = ReadMediaValues(paths_.at(index));
        StartWorkers(index);
        return first;
    }
    if (index >= paths_.size() || !queued_[index]) return ReadMediaValues(paths_.at(index));
    // Woken when a run of files is ready rather than for each: every wake-up costs both threads a
    // system call and a switch, and the list takes a run of ready files in one go.
    wakeAt_ = std::min(index + WakeRun, queue_.empty() ? index : queue_.back());
    while (state_[index] == Waiting) {
        mainWaiting_ = true;
        if (state_[index] != Waiting) break;
        // A worker signals the files it finishes meanwhile; messages for the window get through.
        const DWORD r = MsgWaitForMultipleObjects(1, &progress_, FALSE, INFINITE, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0 + 1 && whileWaiting_) whileWaiting_();
        if (r == WAIT_FAILED) Sleep(1);
    }
    mainWaiting_ = false;
    if (state_[index] == Failed) return ReadMediaValues(paths_[index]);
    return std::move(values_[index]);
}
