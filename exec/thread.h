#pragma once
// A minimal worker-thread base: the derived class supplies Run(), which watches the stop
// event and returns once it is signalled. Start, RequestStop, Join and GetHandle may be
// called from any thread.
//
// Lifetime: the owner calls RequestStop() and Join() before the derived object is destroyed
// (Run() belongs to the derived part). The destructor stops and joins a thread left running
// only as a last resort.

#include "platform/event.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace kestrova {

class Thread {
public:
    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    virtual ~Thread();

    // Starts the system thread, which calls Run(). A thread starts once: later calls do nothing.
    void Start();
    // Start() unless the thread has been started.
    void EnsureStarted();
    // The id of the started thread (kept after it ends); a default id until Start().
    std::thread::id GetHandle() const;
    // Signals the stop event; it is never reset.
    void RequestStop();
    // Waits without time limit for the started thread to end; returns at once when it was
    // never started or has been joined.
    void Join();
    // Run()'s result, or 1 when an exception escaped it (one that is not a stop or a
    // cancellation is told on standard error); valid after Join().
    int ExitCode() const { return exitCode_.load(); }

    platform::ManualResetEvent& StopEvent() { return stop_; }

protected:
    // The work of the thread; returns its exit code.
    virtual int Run() = 0;

private:
    void Entry();

    mutable std::mutex lock_;  // guards id_ only
    std::thread::id id_;
    std::mutex joinLock_;  // guards thread_; held while joining, so taken before lock_
    std::thread thread_;
    platform::ManualResetEvent stop_;
    std::atomic<int> exitCode_{0};
};

}  // namespace kestrova
