#pragma once
// The exceptions that unwind work. The first three carry a fixed message returned by what().

#include <stdexcept>

namespace kestrova {

// The worker thread has been told to stop (its stop event is signalled, or a wait on it failed).
// Worker loops treat it as the order to end the thread.
class shutdown_exception : public std::runtime_error {
public:
    shutdown_exception();
};

// Long work found IExecControl::ShouldBreak() true and gave up.
class BreakExec : public std::runtime_error {
public:
    BreakExec();
};

// The user-interface thread abandoned a synchronous wait because ISyncWait::ContinueWaiting()
// returned false.
class SyncBreak : public std::runtime_error {
public:
    SyncBreak();
};

// A cross-process lock could not be had: its lock folder or file cannot be used, or a bounded
// wait gave up (platform/lock_wait.h). The message says which lock and why. Unlike a stop, it
// ends only the work that needed the lock; the worker thread goes on.
class LockError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace kestrova
