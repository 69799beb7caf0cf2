// A manual-reset event: once set it stays set, releasing every waiter, until it is reset.
// All operations are thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kestrova::platform {

class ManualResetEvent {
public:
    // Created non-signalled unless `signalled` is true.
    explicit ManualResetEvent(bool signalled = false) : signalled_(signalled) {}
    ManualResetEvent(const ManualResetEvent&) = delete;
    ManualResetEvent& operator=(const ManualResetEvent&) = delete;

    // Signals the event and wakes every waiter.
    void Set();
    // Makes the event non-signalled again.
    void Reset();
    // True when signalled; never waits.
    bool IsSet() const;
    // Waits without time limit until the event is signalled.
    void Wait() const;
    // Waits at most `timeout`; true when the event is signalled.
    bool WaitFor(std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool signalled_;  // guarded by mutex_
};

}  // namespace kestrova::platform
