#include "exec/thread.h"

#include "exec/exceptions.h"
#include "exec/worker_failure.h"

namespace kestrova {

Thread::~Thread() {
    RequestStop();
    Join();
    // Only a thread that destroys its own object is left: it runs on without it.
    if (thread_.joinable()) thread_.detach();
}

void Thread::Start() {
    std::lock_guard join(joinLock_);
    std::lock_guard lock(lock_);
    if (id_ != std::thread::id()) return;
    thread_ = std::thread(&Thread::Entry, this);
    id_ = thread_.get_id();
}

void Thread::EnsureStarted() {
    if (GetHandle() == std::thread::id()) Start();
}

std::thread::id Thread::GetHandle() const {
    std::lock_guard lock(lock_);
    return id_;
}

void Thread::RequestStop() { stop_.Set(); }

void Thread::Join() {
    std::lock_guard join(joinLock_);
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void Thread::Entry() {
    // Nothing escapes the thread: a failure of Run() ends it with exit code 1, and says why
    // unless it was a stop.
    try {
        exitCode_ = Run();
    } catch (const shutdown_exception&) {
        exitCode_ = 1;
    } catch (const BreakExec&) {
        exitCode_ = 1;
    } catch (...) {
        exitCode_ = 1;
        ReportWorkerFailure("a worker thread ended: " + CurrentFailure());
    }
}

}  // namespace kestrova
