// Lock sets whose mutexes cannot be used, and bounded waits for mutexes that another process
// keeps (a process stopped with Ctrl-Z keeps its locks for ever).
#include "exec/exceptions.h"
#include "exec/named_lock_set.h"
#include "exec/tests/helper_process.h"
#include "platform/codepage.h"
#include "platform/lock_wait.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>

namespace kestrova {
namespace {

using platform::LockWaitLimits;
using platform::NamedMutex;
using testing::HelperProcess;

class LockFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = "/tmp/kestrova-lock-failure-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override { platform::SetLockWaitLimits({}); }

    // Limits that report after 100 ms into reports_ and give up after a second.
    void LimitWaits() {
        LockWaitLimits limits;
        limits.reportAfter = std::chrono::milliseconds(100);
        limits.giveUpAfter = std::chrono::seconds(1);
        limits.report = [this](const std::string& text) {
            std::lock_guard lock(reportsLock_);
            reports_.push_back(text);
        };
        platform::SetLockWaitLimits(std::move(limits));
    }
    std::vector<std::string> Reports() {
        std::lock_guard lock(reportsLock_);
        return reports_;
    }

    std::string folder_;
    platform::ManualResetEvent stop_;
    std::mutex reportsLock_;
    std::vector<std::string> reports_;
};

TEST_F(LockFailureTest, AnUnusableLockFolderFailsTheWaitNamingTheFolderAndTheReason) {
    const std::filesystem::path runtime = testing::FreshScratchDir("lock-failure-runtime");
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    std::ofstream((runtime / "kestrova-locks").string()) << "a file where the folder belongs";
    NamedLockSet set(u"ksv:load", platform::Utf8ToUtf16(folder_), kLockSetSize, stop_);
    const std::string expected = "can't take lock ksv:load of " + folder_ + ": lock folder " +
                                 (runtime / "kestrova-locks").string() + ": not a folder";
    // Not a stop: the thread that waits goes on with its next request.
    try {
        set.AcquireAny();
        ADD_FAILURE() << "AcquireAny succeeded";
    } catch (const LockError& e) {
        EXPECT_EQ(e.what(), expected);
    }
    EXPECT_THROW(set.AcquireAll(), LockError);
    if (saved) {
        ::setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}

TEST_F(LockFailureTest, AWaitForAStoppedHolderIsReportedWithItsProcessAndGivesUp) {
    HelperProcess holder({KESTROVA_LOCK_HELPER, "ksv:load", folder_});
    ASSERT_EQ(holder.Ask("all"), "all");
    ASSERT_EQ(::kill(holder.Pid(), SIGSTOP), 0);
    LimitWaits();
    NamedLockSet set(u"ksv:load", platform::Utf8ToUtf16(folder_), kLockSetSize, stop_);
    const std::string held = " (held by process " + std::to_string(holder.Pid()) + ")";
    try {
        set.AcquireAny();
        ADD_FAILURE() << "AcquireAny succeeded";
    } catch (const LockError& e) {
        EXPECT_EQ(e.what(),
                  "gave up waiting for lock ksv:load of " + folder_ + " after 1 s" + held);
    }
    EXPECT_EQ(Reports(),
              std::vector<std::string>{"waiting for lock ksv:load of " + folder_ + held});
    ::kill(holder.Pid(), SIGCONT);
    // Without limits the wait goes on until the holder lets go.
    platform::SetLockWaitLimits({});
    std::thread release([&] { holder.Ask("releaseall"); });
    NamedMutex& mutex = set.AcquireAny();
    release.join();
    NamedLockSet::Release(mutex);
}

TEST_F(LockFailureTest, AWriterThatGivesUpKeepsNoneOfTheMutexesItHadTaken) {
    NamedLockSet set(u"ksv:search", platform::Utf8ToUtf16(folder_), kLockSetSize, stop_);
    // Four readers elsewhere take 0 to 3; the first three let go, so the writer takes 0, 1 and
    // 2 and then waits for 3.
    std::vector<std::unique_ptr<HelperProcess>> readers;
    for (int i = 0; i < kLockSetSize; ++i) {
        readers.push_back(std::make_unique<HelperProcess>(
            std::vector<std::string>{KESTROVA_LOCK_HELPER, "ksv:search", folder_}));
        ASSERT_EQ(readers.back()->Ask("any"), "any " + std::to_string(i));
    }
    for (int i = 0; i < 3; ++i) ASSERT_EQ(readers[i]->Ask("release"), "released");
    LimitWaits();
    EXPECT_THROW(set.AcquireAll(), LockError);
    for (int i = 0; i < kLockSetSize; ++i) EXPECT_EQ(set.Mutex(i).OwnedCount(), 0) << i;
    EXPECT_EQ(readers[0]->Ask("any"), "any 0");  // another process obtains it at once
}

}  // namespace
}  // namespace kestrova
