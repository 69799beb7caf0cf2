#include "search/index_store.h"
#include "search/internal/analyzers.h"
#include "search/internal/index_lock_file.h"
#include "search_test_util.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace kestrova {
namespace {

using testing::ScratchFolder;
using testing::WriteFile;

TEST(IndexStoreTest, PathsOfBothKindsAndUnknownKind) {
    const IndexPaths lem = MakeIndexPaths(u"/d", kIndexLemmatizing);
    EXPECT_EQ(lem.liveDir, "/d/text_idx_lem");
    EXPECT_EQ(lem.identityFile, "/d/text_idx_lem/idx_info.uid");
    EXPECT_EQ(lem.tempDir, "/d/tmp_text_idx_lem");
    EXPECT_EQ(lem.liveLock, "/d/index_lem.lck");
    EXPECT_EQ(lem.tempLock, "/d/tmp_index_lem.lck");
    EXPECT_EQ(lem.log, "/d/index_lem.log");
    EXPECT_EQ(MakeIndexPaths(u"/d", kIndexPrecise).liveLock, "/d/index_prec.lck");
    try {
        MakeIndexPaths(u"/d", static_cast<IndexKind>(2));
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "unknown index kind");
    }
}

TEST(IndexStoreTest, IdentityIsCurrentOnlyWithAllSixteenBytesOfThisModelAndThisAnalyzer) {
    ScratchFolder dir;
    const ModelUid uid{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ModelUid other = uid;
    other[15] = 0;
    EXPECT_FALSE(IsIndexCurrent(dir.Path16(), kIndexPrecise, uid));  // missing
    const IndexPaths paths = MakeIndexPaths(dir.Path16(), kIndexPrecise);
    EXPECT_EQ(paths.fingerprintFile, paths.liveDir + "/idx_analyzer.txt");
    std::filesystem::create_directories(paths.liveDir);
    ASSERT_TRUE(WriteIndexIdentity(paths.liveDir, uid));
    EXPECT_EQ(std::filesystem::file_size(paths.identityFile), 16u);
    EXPECT_FALSE(IsIndexCurrent(dir.Path16(), kIndexPrecise, uid));  // no fingerprint
    ASSERT_TRUE(WriteIndexFingerprint(paths.liveDir, AnalyzerFingerprint(kIndexLemmatizing)));
    EXPECT_FALSE(IsIndexCurrent(dir.Path16(), kIndexPrecise, uid));  // another analyzer's
    ASSERT_TRUE(WriteIndexFingerprint(paths.liveDir, AnalyzerFingerprint(kIndexPrecise)));
    EXPECT_EQ(ReadIndexFingerprint(paths.liveDir), AnalyzerFingerprint(kIndexPrecise));
    EXPECT_TRUE(IsIndexCurrent(dir.Path16(), kIndexPrecise, uid));
    EXPECT_FALSE(IsIndexCurrent(dir.Path16(), kIndexPrecise, other));
    EXPECT_FALSE(AreIndexesCurrent(dir.Path16(), uid));  // the other kind is missing
    WriteFile(paths.identityFile, std::string(reinterpret_cast<const char*>(uid.data()), 15));
    EXPECT_FALSE(IsIndexCurrent(dir.Path16(), kIndexPrecise, uid));
}

TEST(IndexLockFileTest, BuilderExcludesSearchersAndSearchersShare) {
    ScratchFolder dir;
    const std::string path = dir.File("index_prec.lck");
    IndexLockFile reader1(path, IndexLockFile::Mode::kShared);
    IndexLockFile reader2(path, IndexLockFile::Mode::kShared);
    IndexLockFile builder(path, IndexLockFile::Mode::kExclusive);
    ASSERT_TRUE(reader1.TryAcquire());
    EXPECT_TRUE(reader2.TryAcquire());
    EXPECT_FALSE(builder.TryAcquire());
    reader1.Release();
    EXPECT_TRUE(std::filesystem::exists(path));  // still held by reader2
    EXPECT_FALSE(builder.TryAcquire());
    reader2.Release();
    EXPECT_TRUE(std::filesystem::exists(path));  // searchers leave the file
    ASSERT_TRUE(builder.TryAcquire());
    EXPECT_FALSE(reader1.TryAcquire());
    builder.Release();
    EXPECT_FALSE(std::filesystem::exists(path));  // the builder removes it
    EXPECT_TRUE(reader1.TryAcquire());
}

// Searchers of several processes that come and go at the same moment never turn each other
// away: only a builder may make a searcher fail.
TEST(IndexLockFileTest, SearchersOfSeveralProcessesNeverExcludeEachOther) {
    ScratchFolder dir;
    const std::string path = dir.File("index_prec.lck");
    constexpr int kProcesses = 3;
    constexpr int kRounds = 300;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int failed = 0;
            for (int i = 0; i < kRounds; ++i) {
                IndexLockFile searcher(path, IndexLockFile::Mode::kShared);
                if (!searcher.TryAcquire()) ++failed;
            }
            ::_exit(failed == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

TEST(IndexLockFileTest, RetryEndsWhenTheControlAsksToStop) {
    ScratchFolder dir;
    const std::string path = dir.File("tmp_index_lem.lck");
    IndexLockFile holder(path, IndexLockFile::Mode::kExclusive);
    ASSERT_TRUE(holder.TryAcquire());
    testing::RecordingControl control;
    int asked = 0;
    control.stopWhen = [&](const ExecProgress&) { return ++asked > 3; };
    IndexLockFile waiter(path, IndexLockFile::Mode::kExclusive, &control);
    EXPECT_FALSE(waiter.AcquireWithRetry());
    EXPECT_FALSE(waiter.IsHeld());
    EXPECT_TRUE(holder.IsHeld());
}

}  // namespace
}  // namespace kestrova
