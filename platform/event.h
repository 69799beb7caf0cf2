// A manual-reset event: once set it stays set, releasing every waiter, until it is reset.
// All operations are thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace kestrova::platform {

struct EventWaiter;

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
    friend size_t WaitForAny(std::initializer_list<const ManualResetEvent*> events);

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool signalled_;  // guarded by mutex_
    // Waiters of WaitForAny to wake as well; guarded by mutex_, which Set() holds while it
    // wakes them so that a waiter cannot go away meanwhile.
    mutable std::vector<EventWaiter*> waiters_;
};

// Waits without time limit until one of the events is signalled and returns the position of
// the first signalled one in the list (so an earlier event wins when several are signalled).
// REQUIRES: the list is not empty and the events outlive the wait.
size_t WaitForAny(std::initializer_list<const ManualResetEvent*> events);

}  // namespace kestrova::platform
