// Waits for locks that other processes hold. The viewer waits as long as a lock is held; a
// program without a window (the command-line tool) may ask to hear of a long wait, with the
// process that holds the lock, and to give up after a bound. One setting per process; the
// waits of every thread read it. Thread-safe.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace kestrova::platform {

struct LockWaitLimits {
    // After how long a wait is reported once to `report` (zero: never).
    std::chrono::milliseconds reportAfter{0};
    // After how long a wait gives up (zero: never).
    std::chrono::milliseconds giveUpAfter{0};
    // Receives "waiting for WHAT (held by process N)"; called on the waiting thread.
    std::function<void(const std::string&)> report;
};

// Sets the limits of every wait that starts afterwards. The default: no report, no bound.
void SetLockWaitLimits(LockWaitLimits limits);

// The processes that hold a flock on any of the files, from /proc/locks, in ascending order
// without repeats; empty when the system does not tell.
std::vector<long> LockHolders(const std::vector<std::string>& lockFiles);

// One wait for a lock, from its first failed attempt.
class LockWait {
public:
    // `what` names the lock in messages ("lock ksv:load of /kb"); the holders of `lockFiles`
    // are named with it.
    LockWait(std::string what, std::vector<std::string> lockFiles);

    // Called on every round of the wait: reports once when the wait has lasted long enough;
    // false once it has lasted the bound, and GiveUpMessage() then says so.
    bool KeepWaiting();
    // "gave up waiting for WHAT after N s (held by process P)".
    std::string GiveUpMessage() const;

private:
    std::string HolderText() const;

    std::string what_;
    std::vector<std::string> lockFiles_;
    LockWaitLimits limits_;
    std::chrono::steady_clock::time_point start_;
    bool reported_ = false;
};

}  // namespace kestrova::platform
