#include "exec/thread.h"

#include "exec/exceptions.h"
#include "exec/stop_exec_control.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace kestrova {
namespace {

// Counts its runs and waits for the stop event, as a worker loop does.
class WaitingThread : public Thread {
public:
    ~WaitingThread() override {
        RequestStop();
        Join();
    }
    std::atomic<int> runs{0};
    platform::ManualResetEvent running;

protected:
    int Run() override {
        ++runs;
        running.Set();
        StopExecControl control(StopEvent());
        while (!control.ShouldBreak()) StopEvent().Wait();
        return 7;
    }
};

class ThrowingThread : public Thread {
public:
    ~ThrowingThread() override { Join(); }

protected:
    int Run() override { throw BreakExec(); }
};

TEST(ThreadTest, RunsOnceUntilStoppedAndGivesItsExitCode) {
    WaitingThread thread;
    EXPECT_EQ(thread.GetHandle(), std::thread::id());
    thread.EnsureStarted();
    std::thread::id id = thread.GetHandle();
    EXPECT_NE(id, std::thread::id());
    thread.running.Wait();
    thread.EnsureStarted();
    thread.Start();
    EXPECT_EQ(thread.GetHandle(), id);
    thread.RequestStop();
    thread.Join();
    EXPECT_EQ(thread.runs.load(), 1);
    EXPECT_EQ(thread.ExitCode(), 7);
    thread.Join();           // joining again returns at once
    thread.EnsureStarted();  // a joined thread does not start again
    EXPECT_EQ(thread.runs.load(), 1);
}

class FailingThread : public Thread {
public:
    ~FailingThread() override { Join(); }

protected:
    int Run() override { throw std::runtime_error("lost its way"); }
};

// A cancellation that escapes is quiet; a failure says why on standard error.
TEST(ThreadTest, ExceptionEscapingRunGivesExitCodeOne) {
    ::testing::internal::CaptureStderr();
    {
        ThrowingThread thread;
        thread.Start();
        thread.Join();
        EXPECT_EQ(thread.ExitCode(), 1);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ::testing::internal::CaptureStderr();
    FailingThread failing;
    failing.Start();
    failing.Join();
    EXPECT_EQ(failing.ExitCode(), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "kestrova: a worker thread ended: lost its way\n");
}

TEST(ThreadTest, JoinOfAThreadNeverStartedReturns) {
    WaitingThread thread;
    thread.Join();
    EXPECT_EQ(thread.runs.load(), 0);
}

TEST(StopExecControlTest, BreaksExactlyWhenTheStopEventIsSignalled) {
    platform::ManualResetEvent stop;
    StopExecControl control(stop);
    control.ReportProgress({1, 2, 3});
    EXPECT_FALSE(control.ShouldBreak());
    stop.Set();
    EXPECT_TRUE(control.ShouldBreak());
}

}  // namespace
}  // namespace kestrova
