#include "exec/named_lock_set.h"

#include "exec/exceptions.h"
#include "exec/tests/helper_process.h"
#include "platform/codepage.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>
#include <thread>

namespace kestrova {
namespace {

using platform::NamedMutex;
using testing::HelperProcess;

constexpr char16_t kPrefix[] = u"ksv:test";

class NamedLockSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = "/tmp/kestrova-lock-test-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        set_ = std::make_unique<NamedLockSet>(kPrefix, Folder16(), kLockSetSize, stop_);
    }
    void TearDown() override {
        helpers_.clear();
        for (int i = 0; i < set_->Count(); ++i) unlink(set_->Mutex(i).LockFilePath().c_str());
    }

    std::u16string Folder16() const { return platform::Utf8ToUtf16(folder_); }

    HelperProcess& StartHelper() {
        helpers_.push_back(std::make_unique<HelperProcess>(
            std::vector<std::string>{KESTROVA_LOCK_HELPER, "ksv:test", folder_}));
        return *helpers_.back();
    }

    // True when this thread can obtain none of the set's mutexes: each is held elsewhere.
    bool NoneFree() {
        for (int i = 0; i < set_->Count(); ++i) {
            if (set_->Mutex(i).TryAcquire() == NamedMutex::TryResult::Obtained) {
                set_->Mutex(i).Release();
                return false;
            }
        }
        return true;
    }

    bool IsFree(int index) {
        if (set_->Mutex(index).TryAcquire() != NamedMutex::TryResult::Obtained) return false;
        set_->Mutex(index).Release();
        return true;
    }

    std::string folder_;
    platform::ManualResetEvent stop_;
    std::unique_ptr<NamedLockSet> set_;  // this process's view of the set
    std::vector<std::unique_ptr<HelperProcess>> helpers_;
};

// Waits for the first of two helpers to answer; null when neither does within the guard.
HelperProcess* FirstToAnswer(HelperProcess& a, HelperProcess& b) {
    pollfd fds[2] = {{a.Descriptor(), POLLIN, 0}, {b.Descriptor(), POLLIN, 0}};
    if (poll(fds, 2, 20000) <= 0) return nullptr;
    return (fds[0].revents & POLLIN) ? &a : &b;
}

TEST(NamedLockSetNameTest, FolderSpellingsOfOnePathShareNamesButCaseDoesNot) {
    EXPECT_EQ(NamedLockSet::MutexName(kLoadLockSet, 0, u"/tmp/kb"), u"Global\\ksv:load:0:/tmp/kb");
    EXPECT_EQ(NamedLockSet::MutexName(kSearchLockSet, 3, u"/tmp/kb"),
              u"Global\\ksv:search:3:/tmp/kb");
    for (const char16_t* same : {u"/tmp//kb/", u"/tmp/x/../kb", u"\\tmp\\kb", u"/tmp/./kb"}) {
        EXPECT_EQ(NamedLockSet::MutexName(kLoadLockSet, 0, same), u"Global\\ksv:load:0:/tmp/kb")
            << platform::Utf16ToUtf8(same);
    }
    EXPECT_NE(NamedLockSet::MutexName(kLoadLockSet, 0, u"/tmp/KB"),
              NamedLockSet::MutexName(kLoadLockSet, 0, u"/tmp/kb"));
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(NamedLockSet::MutexName(kLoadLockSet, 1, u"kb"),
              u"Global\\ksv:load:1:" + platform::Utf8ToUtf16(cwd) + u"/kb");
}

TEST_F(NamedLockSetTest, ConstructionAfterStopThrows) {
    platform::ManualResetEvent stopped(true);
    EXPECT_THROW(NamedLockSet(kPrefix, Folder16(), kLockSetSize, stopped), shutdown_exception);
}

TEST_F(NamedLockSetTest, UpgradeInOneThreadStaysBalanced) {
    NamedMutex& reader = set_->AcquireAny();
    set_->AcquireAll();
    for (int i = 0; i < kLockSetSize; ++i) EXPECT_GE(set_->Mutex(i).OwnedCount(), 1);
    EXPECT_EQ(reader.OwnedCount(), 2);
    set_->ReleaseAll();
    EXPECT_EQ(reader.OwnedCount(), 1);
    EXPECT_TRUE(NamedLockSet::Release(reader));
    for (int i = 0; i < kLockSetSize; ++i) EXPECT_EQ(set_->Mutex(i).OwnedCount(), 0);
    EXPECT_FALSE(NamedLockSet::Release(reader));
}

TEST_F(NamedLockSetTest, FourReadersInFourProcessesThenAFifthWaits) {
    std::vector<HelperProcess*> readers;
    std::set<std::string> taken;
    for (int i = 0; i < kLockSetSize; ++i) {
        readers.push_back(&StartHelper());
        taken.insert(readers.back()->Ask("any"));
    }
    EXPECT_EQ(taken, (std::set<std::string>{"any 0", "any 1", "any 2", "any 3"}));
    EXPECT_TRUE(NoneFree());

    HelperProcess& fifth = StartHelper();
    fifth.Send("any");
    EXPECT_FALSE(fifth.HasLine());  // it cannot have one: every mutex is held
    // Readers took the mutexes in the order they came, so reader 2 holds mutex 2.
    EXPECT_EQ(readers[2]->Ask("release"), "released");
    EXPECT_EQ(fifth.ReadLine(), "any 2");
}

TEST_F(NamedLockSetTest, WriterWaitsForReadersAndNewReadersWaitForTheWriter) {
    HelperProcess& reader = StartHelper();
    ASSERT_EQ(reader.Ask("any"), "any 0");
    HelperProcess& writer = StartHelper();
    writer.Send("all");
    EXPECT_FALSE(writer.HasLine());
    EXPECT_EQ(reader.Ask("release"), "released");
    ASSERT_EQ(writer.ReadLine(), "all");
    EXPECT_TRUE(NoneFree());

    HelperProcess& late = StartHelper();
    late.Send("any");
    EXPECT_FALSE(late.HasLine());
    EXPECT_EQ(writer.Ask("releaseall"), "releasedall");
    EXPECT_EQ(late.ReadLine().rfind("any ", 0), 0u);
}

TEST_F(NamedLockSetTest, WriterHoldingSomeMutexesLeavesTheOthersToReaders) {
    // Steer the first reader onto mutex 2 by holding 0 and 1 here meanwhile.
    ASSERT_EQ(set_->Mutex(0).TryAcquire(), NamedMutex::TryResult::Obtained);
    ASSERT_EQ(set_->Mutex(1).TryAcquire(), NamedMutex::TryResult::Obtained);
    HelperProcess& reader = StartHelper();
    ASSERT_EQ(reader.Ask("any"), "any 2");
    set_->Mutex(0).Release();
    set_->Mutex(1).Release();

    HelperProcess& writer = StartHelper();
    writer.Send("all");  // takes 0 and 1 in order, then waits for 2
    while (IsFree(1)) std::this_thread::yield();
    HelperProcess& second = StartHelper();
    EXPECT_EQ(second.Ask("any"), "any 3");
    EXPECT_FALSE(writer.HasLine());
    EXPECT_EQ(reader.Ask("release"), "released");
    EXPECT_FALSE(writer.HasLine());  // mutex 3 is still held by the second reader
    EXPECT_EQ(second.Ask("release"), "released");
    EXPECT_EQ(writer.ReadLine(), "all");
}

TEST_F(NamedLockSetTest, StopEndsAcquireAllWhileAMutexIsHeldElsewhereForever) {
    HelperProcess& holder = StartHelper();
    ASSERT_EQ(holder.Ask("any"), "any 0");
    ASSERT_EQ(holder.Ask("all"), "all");  // holds the whole set and never gives it back

    platform::ManualResetEvent stop;
    NamedLockSet set(kPrefix, Folder16(), kLockSetSize, stop);
    bool stopped = false;
    std::thread worker([&] {
        try {
            set.AcquireAll();
        } catch (const shutdown_exception&) {
            stopped = true;
        }
    });
    stop.Set();
    worker.join();
    EXPECT_TRUE(stopped);
}

TEST_F(NamedLockSetTest, MutexesTakenBeforeTheStopAreGivenUpWhenTheThreadEnds) {
    HelperProcess& holder = StartHelper();
    ASSERT_EQ(set_->Mutex(0).TryAcquire(), NamedMutex::TryResult::Obtained);
    ASSERT_EQ(set_->Mutex(1).TryAcquire(), NamedMutex::TryResult::Obtained);
    ASSERT_EQ(holder.Ask("any"), "any 2");
    set_->Mutex(0).Release();
    set_->Mutex(1).Release();

    platform::ManualResetEvent stop;
    bool stopped = false;
    std::thread worker([&] {
        NamedLockSet set(kPrefix, Folder16(), kLockSetSize, stop);
        try {
            set.AcquireAll();  // obtains 0 and 1, then waits for 2
        } catch (const shutdown_exception&) {
            stopped = true;
        }
    });
    // The worker holds mutex 1 once this thread can no longer take it.
    while (IsFree(1)) std::this_thread::yield();
    stop.Set();
    worker.join();
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(IsFree(0));
    EXPECT_TRUE(IsFree(1));
}

TEST_F(NamedLockSetTest, MutexOfAKilledOwnerGoesToTheNextWaiter) {
    HelperProcess& victim = StartHelper();
    ASSERT_EQ(victim.Ask("any"), "any 0");
    HelperProcess& writer = StartHelper();
    writer.Send("all");
    EXPECT_FALSE(writer.HasLine());
    victim.KillHard();
    EXPECT_EQ(writer.ReadLine(), "all");
}

TEST_F(NamedLockSetTest, TwoProcessesUpgradingAtOnceBothFinish) {
    HelperProcess& a = StartHelper();
    HelperProcess& b = StartHelper();
    ASSERT_EQ(a.Ask("any"), "any 0");
    ASSERT_EQ(b.Ask("any"), "any 1");
    a.Send("all");
    b.Send("all");
    HelperProcess* first = FirstToAnswer(a, b);
    ASSERT_NE(first, nullptr) << "neither upgrade finished";
    HelperProcess* second = first == &a ? &b : &a;
    EXPECT_EQ(first->ReadLine(), "all");
    EXPECT_FALSE(second->HasLine());
    EXPECT_TRUE(NoneFree());
    EXPECT_EQ(first->Ask("releaseall"), "releasedall");
    EXPECT_EQ(first->Ask("release"), "released");
    EXPECT_EQ(second->ReadLine(), "all");
    EXPECT_EQ(second->Ask("releaseall"), "releasedall");
    EXPECT_EQ(second->Ask("release"), "released");
    for (int i = 0; i < kLockSetSize; ++i) EXPECT_TRUE(IsFree(i));
}

TEST_F(NamedLockSetTest, TwoWritersFreedInReverseOrderBothFinish) {
    for (int i = 0; i < kLockSetSize; ++i)
        ASSERT_EQ(set_->Mutex(i).TryAcquire(), NamedMutex::TryResult::Obtained);
    HelperProcess& a = StartHelper();
    HelperProcess& b = StartHelper();
    a.Send("all");
    b.Send("all");
    // Freed from the back, the mutexes could be split between writers that take any free one.
    for (int i = 3; i >= 0; --i) set_->Mutex(i).Release();
    HelperProcess* first = FirstToAnswer(a, b);
    ASSERT_NE(first, nullptr) << "neither writer finished";
    HelperProcess* second = first == &a ? &b : &a;
    EXPECT_EQ(first->ReadLine(), "all");
    EXPECT_EQ(first->Ask("releaseall"), "releasedall");
    EXPECT_EQ(second->ReadLine(), "all");
}

}  // namespace
}  // namespace kestrova
