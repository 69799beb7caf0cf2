#include "platform/event.h"

#include <algorithm>

namespace kestrova::platform {

// One thread waiting in WaitForAny; lock order: the event's mutex before the waiter's.
struct EventWaiter {
    std::mutex mutex;
    std::condition_variable woken;
    bool signalled = false;  // guarded by mutex
};

void ManualResetEvent::Set() {
    std::lock_guard lock(mutex_);
    signalled_ = true;
    changed_.notify_all();
    for (EventWaiter* waiter : waiters_) {
        std::lock_guard waiterLock(waiter->mutex);
        waiter->signalled = true;
        waiter->woken.notify_all();
    }
}

void ManualResetEvent::Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool ManualResetEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return signalled_;
}

void ManualResetEvent::Wait() const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return signalled_; });
}

bool ManualResetEvent::WaitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return signalled_; });
}

size_t WaitForAny(std::initializer_list<const ManualResetEvent*> events) {
    EventWaiter waiter;
    for (const ManualResetEvent* event : events) {
        std::lock_guard lock(event->mutex_);
        event->waiters_.push_back(&waiter);
    }
    // Registered first, tested afterwards: a Set() in between marks the waiter, so the wait
    // below never misses it.
    size_t found;
    for (;;) {
        found = 0;
        for (const ManualResetEvent* event : events) {
            if (event->IsSet()) break;
            ++found;
        }
        if (found != events.size()) break;
        std::unique_lock lock(waiter.mutex);
        waiter.woken.wait(lock, [&] { return waiter.signalled; });
        waiter.signalled = false;
    }
    for (const ManualResetEvent* event : events) {
        std::lock_guard lock(event->mutex_);
        auto& list = event->waiters_;
        list.erase(std::find(list.begin(), list.end(), &waiter));
    }
    return found;
}

}  // namespace kestrova::platform
