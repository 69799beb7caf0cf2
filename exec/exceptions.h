#pragma once
// The three exceptions that unwind work. Each carries a fixed message returned by what().

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

}  // namespace kestrova
