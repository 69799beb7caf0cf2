#include "platform/named_mutex.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
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

// Sets XDG_RUNTIME_DIR (or removes it, for nullptr) for one scope.
class RuntimeDir {
public:
    explicit RuntimeDir(const char* value) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) old_ = old;
        if (value) {
            ::setenv("XDG_RUNTIME_DIR", value, 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    ~RuntimeDir() {
        if (old_) {
            ::setenv("XDG_RUNTIME_DIR", old_->c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }

private:
    std::optional<std::string> old_;
};

TEST_F(NamedMutexTest, LockFileIsNamedByTheHashInTheUsersOwnFolder) {
    const std::filesystem::path runtime = testing::FreshScratchDir("named-mutex-runtime");
    const RuntimeDir env(runtime.c_str());
    const mode_t oldMask = umask(0);
    NamedMutex mutex(name_);
    umask(oldMask);
    ASSERT_TRUE(mutex.IsValid()) << mutex.Error();
    char file[32];
    std::snprintf(file, sizeof file, "/%016" PRIx64 ".lock", MutexNameHash(name_));
    EXPECT_EQ(NamedMutex::LockFolder(), (runtime / "kestrova-locks").string());
    EXPECT_EQ(mutex.LockFilePath(), NamedMutex::LockFolder() + file);
    struct stat st;
    ASSERT_EQ(stat(mutex.LockFilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(NamedMutex::LockFolder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    // The hash is fixed for ever: the processes of every build must meet in the same file.
    EXPECT_EQ(MutexNameHash(u""), 0xcbf29ce484222325ull);
    EXPECT_NE(MutexNameHash(u"Global\\ksv:load:0:/kb"), MutexNameHash(u"Global\\ksv:load:0:/KB"));
    unlink(mutex.LockFilePath().c_str());
}

TEST_F(NamedMutexTest, WithoutAnAbsoluteRuntimeFolderTheFolderIsNamedByTheUser) {
    const std::string expected = "/tmp/kestrova-locks-" + std::to_string(geteuid());
    {
        const RuntimeDir env(nullptr);
        EXPECT_EQ(NamedMutex::LockFolder(), expected);
    }
    const RuntimeDir env("relative/run");
    EXPECT_EQ(NamedMutex::LockFolder(), expected);
    NamedMutex mutex(name_);
    ASSERT_TRUE(mutex.IsValid()) << mutex.Error();
    struct stat st;
    ASSERT_EQ(lstat(expected.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, geteuid());
    EXPECT_EQ(st.st_mode & 07777, 0700u);
}

TEST_F(NamedMutexTest, AFolderThatIsNotTheUsersOwnIsRefusedWithItsReason) {
    const std::filesystem::path runtime = testing::FreshScratchDir("named-mutex-foreign");
    const RuntimeDir env(runtime.c_str());
    const std::string folder = (runtime / "kestrova-locks").string();
    std::ofstream(folder) << "not a folder";
    NamedMutex planted(name_);
    EXPECT_FALSE(planted.IsValid());
    EXPECT_EQ(planted.Error(), "lock folder " + folder + ": not a folder");
    EXPECT_EQ(planted.TryAcquire(), TryResult::Failed);
    std::filesystem::remove(folder);

    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the folder to another user";
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    NamedMutex foreign(name_);
    EXPECT_FALSE(foreign.IsValid());
    EXPECT_EQ(foreign.Error(), "lock folder " + folder + ": owned by another user");
}

// Another user who holds the mutex of the same name (having made its lock file first) must
// not keep this user out: each user's mutexes are the user's own.
TEST_F(NamedMutexTest, AnotherUserCannotLockThisUserOut) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to run a process as another user";
    const RuntimeDir env(nullptr);
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char c = 'x';
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        NamedMutex mutex(name_);
        c = mutex.TryAcquire() == TryResult::Obtained ? 'o' : 'f';
        (void)!write(ready[1], &c, 1);
        (void)!read(done[0], &c, 1);  // holds the mutex until the parent is done
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'o');
    NamedMutex mine(name_);
    EXPECT_EQ(mine.TryAcquire(), TryResult::Obtained) << mine.Error();
    mine.Release();
    (void)!write(done[1], "x", 1);
    int status = 0;
    waitpid(child, &status, 0);
    for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
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

}  // namespace
}  // namespace kestrova::platform
