#include "platform/named_mutex.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::platform {
namespace {

using TryResult = NamedMutex::TryResult;

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

class NamedMutexTest : public ::testing::Test {
protected:
    void SetUp() override {
        name_ = u"Global\\kestrova-test:\u0416:" + Ascii(std::to_string(getpid())) + u":" +
                Ascii(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { unlink(NamedMutex(name_).LockFilePath().c_str()); }

    // One attempt made on a thread of its own, released again when it succeeded.
    static TryResult TryOnOtherThread(NamedMutex& mutex) {
        TryResult result = TryResult::Failed;
        std::thread([&] {
            result = mutex.TryAcquire();
            if (result == TryResult::Obtained) mutex.Release();
        }).join();
        return result;
    }

    std::u16string name_;
};

TEST_F(NamedMutexTest, LockFileIsNamedByTheHashAndSharedByAllUsers) {
    const mode_t oldMask = umask(077);
    NamedMutex mutex(name_);
    umask(oldMask);
    ASSERT_TRUE(mutex.IsValid());
    char expected[64];
    std::snprintf(expected, sizeof expected, "/tmp/kestrova-locks/%016" PRIx64 ".lock",
                  MutexNameHash(name_));
    EXPECT_EQ(mutex.LockFilePath(), expected);
    struct stat st;
    ASSERT_EQ(stat(mutex.LockFilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
    ASSERT_EQ(stat(NamedMutex::LockFolder(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 01777u);
    // The hash is fixed for ever: the processes of every build must meet in the same file.
    EXPECT_EQ(MutexNameHash(u""), 0xcbf29ce484222325ull);
    EXPECT_NE(MutexNameHash(u"Global\\ksv:load:0:/kb"), MutexNameHash(u"Global\\ksv:load:0:/KB"));
}

TEST_F(NamedMutexTest, RecursiveForTheOwnerAndExclusiveForOtherThreads) {
    NamedMutex mutex(name_);
    NamedMutex sameName(name_);  // a second handle of the same mutex
    ASSERT_EQ(mutex.TryAcquire(), TryResult::Obtained);
    EXPECT_EQ(sameName.TryAcquire(), TryResult::Obtained);
    EXPECT_EQ(mutex.OwnedCount(), 2);
    EXPECT_EQ(TryOnOtherThread(sameName), TryResult::Busy);
    EXPECT_TRUE(mutex.Release());
    EXPECT_EQ(TryOnOtherThread(mutex), TryResult::Busy);
    EXPECT_TRUE(sameName.Release());
    EXPECT_EQ(mutex.OwnedCount(), 0);
    EXPECT_FALSE(mutex.Release());
    EXPECT_EQ(TryOnOtherThread(mutex), TryResult::Obtained);
}

TEST_F(NamedMutexTest, ReleaseByAThreadThatDoesNotOwnItFails) {
    NamedMutex mutex(name_);
    ASSERT_EQ(mutex.TryAcquire(), TryResult::Obtained);
    bool released = true;
    std::thread([&] { released = mutex.Release(); }).join();
    EXPECT_FALSE(released);
    EXPECT_EQ(mutex.OwnedCount(), 1);
    EXPECT_TRUE(mutex.Release());
}

TEST_F(NamedMutexTest, ThreadThatEndsOwningItGivesItUp) {
    NamedMutex mutex(name_);
    std::thread([&] {
        ASSERT_EQ(mutex.TryAcquire(), TryResult::Obtained);
        ASSERT_EQ(mutex.TryAcquire(), TryResult::Obtained);
    }).join();
    EXPECT_EQ(mutex.TryAcquire(), TryResult::Obtained);
    EXPECT_TRUE(mutex.Release());
}

TEST_F(NamedMutexTest, DestroyingTheHandleKeepsTheOwnership) {
    {
        NamedMutex mutex(name_);
        ASSERT_EQ(mutex.TryAcquire(), TryResult::Obtained);
    }
    NamedMutex again(name_);
    EXPECT_EQ(TryOnOtherThread(again), TryResult::Busy);
    EXPECT_TRUE(again.Release());
}

TEST_F(NamedMutexTest, WaitLooksAtTheStopEventFirst) {
    NamedMutex mutex(name_);
    std::vector<NamedMutex*> list{&mutex};
    ManualResetEvent stopped(true);
    EXPECT_FALSE(WaitForStopOrMutex(stopped, list).has_value());
    EXPECT_EQ(mutex.OwnedCount(), 0);
    ManualResetEvent stop;
    EXPECT_EQ(WaitForStopOrMutex(stop, list), std::optional<size_t>(0));
    EXPECT_TRUE(mutex.Release());
}

TEST_F(NamedMutexTest, WaitOnABusyMutexEndsWhenStopped) {
    NamedMutex mutex(name_);
    ASSERT_EQ(mutex.TryAcquire(), TryResult::Obtained);
    ManualResetEvent stop;
    std::optional<size_t> result = 0;
    std::thread waiter([&] {
        std::vector<NamedMutex*> list{&mutex};
        result = WaitForStopOrMutex(stop, list);
    });
    stop.Set();
    waiter.join();
    EXPECT_FALSE(result.has_value());
    EXPECT_TRUE(mutex.Release());
}

TEST_F(NamedMutexTest, WaitObtainsTheMutexOnceItsOwnerLetsGo) {
    NamedMutex first(name_ + u":1");
    NamedMutex second(name_ + u":2");
    ASSERT_EQ(first.TryAcquire(), TryResult::Obtained);
    ASSERT_EQ(second.TryAcquire(), TryResult::Obtained);
    ManualResetEvent stop;
    ManualResetEvent waiting;
    std::optional<size_t> result;
    std::thread waiter([&] {
        std::vector<NamedMutex*> list{&first, &second};
        waiting.Set();
        result = WaitForStopOrMutex(stop, list);
        if (result) list[*result]->Release();
    });
    waiting.Wait();
    EXPECT_TRUE(second.Release());
    waiter.join();
    EXPECT_EQ(result, std::optional<size_t>(1));
    EXPECT_TRUE(first.Release());
    unlink(first.LockFilePath().c_str());
    unlink(second.LockFilePath().c_str());
}

}  // namespace
}  // namespace kestrova::platform
