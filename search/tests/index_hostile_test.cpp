// Index builds and searches on a hostile machine: lock files that cannot be used, read-only
// and full disks, damaged indexes and queries nested beyond reason. Every case must end with
// a clear failure or a sound result, never a hang, a crash or a false success.
#include "platform/lock_wait.h"
#include "private_mount.h"
#include "search/index_builder.h"
#include "search/internal/index_lock_file.h"
#include "search/searcher.h"
#include "search_test_util.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace kestrova {
namespace {

using testing::Page;
using testing::PageFiles;
using testing::RecordingControl;
using testing::ScratchFolder;
using testing::WriteFile;

constexpr ModelUid kUid{7};

// Pages with the word "alpha" (and "beta" in every second one), in dir/kb.
std::unique_ptr<PageFiles> MakePages(const std::string& dir, int count) {
    std::vector<std::u16string> names;
    for (int i = 0; i < count; ++i) {
        const std::string name = "p" + std::to_string(i) + ".htm";
        WriteFile(dir + "/kb/" + name,
                  Page("T", std::string("alpha ") + (i % 2 ? "beta " : "") + std::string(200, 'x') +
                                " page" + std::to_string(i)));
        names.push_back(platform::PathFromNative(name));
    }
    return std::make_unique<PageFiles>(platform::PathFromNative(dir + "/kb"), names);
}

size_t Count(const std::u16string& data, const std::u16string& word) {
    Searcher searcher(data, kIndexPrecise, false);
    std::vector<std::u16string> paths;
    if (!searcher.Search(word, paths)) return static_cast<size_t>(-1);
    return paths.size();
}

// A control that stops a build after a few seconds: a build that would wait for ever on a lock
// file then ends as "stopped" and the test fails instead of hanging.
class DeadlineControl final : public IExecControl {
public:
    bool ShouldBreak() override {
        return std::chrono::steady_clock::now() - start_ > std::chrono::seconds(3);
    }
    void ReportProgress(const ExecProgress&) override {}

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The message of the failure a build of the precise index ends with; "" when it does not throw.
std::string BuildFailure(const std::u16string& data, IIndexFiles& files) {
    DeadlineControl control;
    try {
        const IndexBuildResult result =
            IndexBuilder(data, kIndexPrecise).Build(files, kUid, control);
        return "no failure, result " + std::to_string(static_cast<int>(result));
    } catch (const std::runtime_error& e) {
        return e.what();
    }
}

TEST(IndexHostileTest, ALockFileThatCannotBeOpenedEndsTheBuildAtOnceSayingWhy) {
    ScratchFolder dir;
    auto pages = MakePages(dir.Path().string(), 3);
    const std::string data = dir.File("data");
    const IndexPaths paths = MakeIndexPaths(platform::PathFromNative(data), kIndexPrecise);

    // The data folder replaced by a file.
    WriteFile(data, "a file");
    EXPECT_EQ(BuildFailure(platform::PathFromNative(data), *pages),
              "can't open lock file " + paths.tempLock + ": Not a directory");
    std::filesystem::remove(data);

    // A FIFO, a dangling link and a folder where the temporary lock file belongs.
    std::filesystem::create_directories(data);
    ASSERT_EQ(::mkfifo(paths.tempLock.c_str(), 0600), 0);
    EXPECT_EQ(BuildFailure(platform::PathFromNative(data), *pages),
              "can't open lock file " + paths.tempLock + ": not a regular file");
    std::filesystem::remove(paths.tempLock);
    std::filesystem::create_symlink(data + "/nowhere/x", paths.tempLock);
    EXPECT_EQ(BuildFailure(platform::PathFromNative(data), *pages),
              "can't open lock file " + paths.tempLock + ": Too many levels of symbolic links");
    std::filesystem::remove(paths.tempLock);

    // A folder in place of the live lock: the index is written, but not swapped in.
    std::filesystem::create_directories(paths.liveLock);
    EXPECT_EQ(BuildFailure(platform::PathFromNative(data), *pages),
              "can't open lock file " + paths.liveLock + ": Is a directory");
    EXPECT_FALSE(IsIndexCurrent(platform::PathFromNative(data), kIndexPrecise, kUid));
    std::filesystem::remove(paths.liveLock);
    RecordingControl control;
    EXPECT_EQ(
        IndexBuilder(platform::PathFromNative(data), kIndexPrecise).Build(*pages, kUid, control),
        IndexBuildResult::kBuilt);
}

TEST(IndexHostileTest, ASearchWhoseLockFileCannotBeOpenedFailsInsteadOfFindingNothing) {
    ScratchFolder dir;
    auto pages = MakePages(dir.Path().string(), 3);
    const std::u16string data = dir.Path16() + u"/data";
    RecordingControl control;
    ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(*pages, kUid, control),
              IndexBuildResult::kBuilt);
    ASSERT_EQ(Count(data, u"alpha"), 3u);
    const IndexPaths paths = MakeIndexPaths(data, kIndexPrecise);
    std::filesystem::remove(paths.liveLock);  // the searchers leave it
    std::filesystem::create_directories(paths.liveLock);
    try {
        Count(data, u"alpha");
        ADD_FAILURE() << "the search ran";
    } catch (const SearchError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "can't open lock file " + paths.liveLock + ": not a regular file");
    }
    std::filesystem::remove(paths.liveLock);
    // A lock file this user may only read is enough for a searcher.
    WriteFile(paths.liveLock, "");
    ::chmod(paths.liveLock.c_str(), 0444);
    EXPECT_EQ(Count(data, u"alpha"), 3u);
}

// A searcher of another process stopped with Ctrl-Z keeps the live lock: a bounded build names
// it and gives up instead of waiting silently for ever.
TEST(IndexHostileTest, ABuildWaitingForAStoppedSearcherGivesUpNamingIt) {
    ScratchFolder dir;
    auto pages = MakePages(dir.Path().string(), 3);
    const std::u16string data = dir.Path16() + u"/data";
    const IndexPaths paths = MakeIndexPaths(data, kIndexPrecise);
    std::filesystem::create_directories(paths.dataFolder);
    const pid_t searcher = ::fork();
    ASSERT_GE(searcher, 0);
    if (searcher == 0) {
        IndexLockFile lock(paths.liveLock, IndexLockFile::Mode::kShared);
        if (!lock.TryAcquire()) ::_exit(1);
        ::raise(SIGSTOP);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(searcher, &status, WUNTRACED), searcher);
    ASSERT_TRUE(WIFSTOPPED(status));
    std::vector<std::string> reports;
    platform::LockWaitLimits limits;
    limits.reportAfter = std::chrono::milliseconds(100);
    limits.giveUpAfter = std::chrono::seconds(1);
    limits.report = [&](const std::string& text) { reports.push_back(text); };
    platform::SetLockWaitLimits(limits);
    const std::string held = " (held by process " + std::to_string(searcher) + ")";
    EXPECT_EQ(BuildFailure(data, *pages),
              "gave up waiting for lock file " + paths.liveLock + " after 1 s" + held);
    EXPECT_EQ(reports, std::vector<std::string>{"waiting for lock file " + paths.liveLock + held});
    platform::SetLockWaitLimits({});
    ::kill(searcher, SIGKILL);
    ::waitpid(searcher, &status, 0);
    // With the searcher gone the build goes through.
    RecordingControl control;
    EXPECT_EQ(IndexBuilder(data, kIndexPrecise).Build(*pages, kUid, control),
              IndexBuildResult::kBuilt);
}

TEST(IndexHostileTest, AReadOnlyDataFolderIsSearchedButNotBuiltIn) {
    ScratchFolder dir;
    auto pages = MakePages(dir.Path().string(), 3);
    const std::string data = dir.File("data");
    std::filesystem::create_directories(data);
    std::string skipped;
    const std::optional<std::string> failure = testing::RunOnTmpfs(
        data, 8 << 20,
        [&]() -> std::string {
            const std::u16string data16 = platform::PathFromNative(data);
            RecordingControl control;
            if (IndexBuilder(data16, kIndexPrecise).Build(*pages, kUid, control) !=
                IndexBuildResult::kBuilt)
                return "the first build failed";
            if (!testing::RemountReadOnly(data)) return "cannot remount read-only";
            // The builder removed the live lock file; a searcher cannot make one and needs none.
            const size_t found = Count(data16, u"alpha");
            if (found != 3) return "read-only search found " + std::to_string(found);
            const std::string message = BuildFailure(data16, *pages);
            const std::string expected =
                "can't open lock file " + data + "/tmp_index_prec.lck: Read-only file system";
            if (message != expected) return "read-only build: " + message;
            return "";
        },
        skipped);
    if (!failure) GTEST_SKIP() << skipped;
    EXPECT_EQ(*failure, "");
}

TEST(IndexHostileTest, AFullDiskFailsTheBuildKeepsTheLiveIndexAndABuildWithRoomSucceeds) {
    ScratchFolder dir;
    auto small = MakePages(dir.File("small"), 3);
    auto large = MakePages(dir.File("large"), 600);
    const std::string data = dir.File("data");
    std::filesystem::create_directories(data);
    std::string skipped;
    const std::optional<std::string> failure = testing::RunOnTmpfs(
        data, 160 << 10,
        [&]() -> std::string {
            const std::u16string data16 = platform::PathFromNative(data);
            RecordingControl control;
            if (IndexBuilder(data16, kIndexPrecise).Build(*small, kUid, control) !=
                IndexBuildResult::kBuilt)
                return "the small build failed";
            std::string message;
            try {
                BuildIndexes(*large, data16, ModelUid{8}, control);
                return "the build on a full disk succeeded";
            } catch (const std::runtime_error& e) {
                message = e.what();
            }
            const std::string expected =
                "can't build index " + data + "/tmp_text_idx_lem: no space left on device";
            if (message != expected) return "full disk: " + message;
            if (Count(data16, u"alpha") != 3) return "the live index was lost";
            if (std::filesystem::exists(data + "/tmp_text_idx_lem"))
                return "the temporary index was left on the full disk";
            if (::mount(nullptr, data.c_str(), nullptr, MS_REMOUNT, "size=33554432") != 0)
                return "cannot grow the tmpfs";
            BuildIndexes(*large, data16, ModelUid{8}, control);
            if (Count(data16, u"alpha") != 600) return "the build with room failed";
            return "";
        },
        skipped);
    if (!failure) GTEST_SKIP() << skipped;
    EXPECT_EQ(*failure, "");
}

TEST(IndexHostileTest, RemovingTheDataFolderDuringABuildEndsInAFailure) {
    ScratchFolder dir;
    auto pages = MakePages(dir.Path().string(), 60);
    const std::string data = dir.File("data");
    RecordingControl control;
    control.stopWhen = [&](const ExecProgress& p) {
        if (p.current == 20) std::filesystem::remove_all(data);
        return false;
    };
    try {
        const IndexBuildResult result = IndexBuilder(platform::PathFromNative(data), kIndexPrecise)
                                            .Build(*pages, kUid, control);
        EXPECT_NE(result, IndexBuildResult::kBuilt);
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()), "");
    }
    EXPECT_FALSE(IsIndexCurrent(platform::PathFromNative(data), kIndexPrecise, kUid));
}

// The largest file of a folder.
std::string LargestFile(const std::string& folder) {
    std::string largest;
    uintmax_t size = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.file_size() > size) {
            size = entry.file_size();
            largest = entry.path().string();
        }
    }
    return largest;
}

TEST(IndexHostileTest, ADamagedIndexIsNoLongerCurrentAndTheNextBuildReplacesIt) {
    ScratchFolder dir;
    auto pages = MakePages(dir.Path().string(), 40);
    const std::u16string data = dir.Path16() + u"/data";
    const IndexPaths paths = MakeIndexPaths(data, kIndexPrecise);
    RecordingControl control;
    ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(*pages, kUid, control),
              IndexBuildResult::kBuilt);
    // A segment file cut short, as a crash of the machine or a full disk leaves it.
    const std::string segment = LargestFile(paths.liveDir);
    std::filesystem::resize_file(segment, std::filesystem::file_size(segment) / 2);
    ASSERT_TRUE(IsIndexCurrent(data, kIndexPrecise, kUid));
    try {
        Count(data, u"beta");
        ADD_FAILURE() << "the damaged index was searched";
    } catch (const SearchError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(
                      "the index " + paths.liveDir + " was damaged and is being rebuilt: ", 0),
                  0u)
            << e.what();
    }
    EXPECT_FALSE(IsIndexCurrent(data, kIndexPrecise, kUid));
    BuildIndexes(*pages, data, kUid, control);
    EXPECT_TRUE(IsIndexCurrent(data, kIndexPrecise, kUid));
    EXPECT_EQ(Count(data, u"beta"), 20u);
}

TEST(IndexHostileTest, AQueryTheIndexCannotRunDoesNotCountAsDamage) {
    ScratchFolder dir;
    std::string words;
    for (int i = 0; i < 1100; ++i) words += " w" + std::to_string(i);
    WriteFile(dir.File("kb/many.htm"), Page("T", words));
    PageFiles pages(dir.Path16() + u"/kb", {u"many.htm"});
    const std::u16string data = dir.Path16() + u"/data";
    RecordingControl control;
    ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(pages, kUid, control),
              IndexBuildResult::kBuilt);
    Searcher searcher(data, kIndexPrecise, true);
    std::vector<std::u16string> paths;
    try {
        searcher.Search(u"w*", paths);  // more words than a query may have clauses
        ADD_FAILURE() << "the search ran";
    } catch (const SearchError& e) {
        EXPECT_EQ(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(IsIndexCurrent(data, kIndexPrecise, kUid));
}

TEST(IndexHostileTest, DeeplyNestedParenthesesFailTheSearchWithAMessage) {
    ScratchFolder dir;
    auto pages = MakePages(dir.Path().string(), 3);
    const std::u16string data = dir.Path16() + u"/data";
    RecordingControl control;
    ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(*pages, kUid, control),
              IndexBuildResult::kBuilt);
    Searcher searcher(data, kIndexPrecise, true);
    std::vector<std::u16string> paths;
    const std::u16string deep =
        std::u16string(50000, u'(') + u"alpha" + std::u16string(50000, u')');
    try {
        searcher.Search(deep, paths);
        ADD_FAILURE() << "the search ran";
    } catch (const SearchError& e) {
        EXPECT_STREQ(e.what(), "can't parse query: parentheses nested deeper than 100 levels");
    }
    // Nesting within the bound, and parentheses that are escaped or quoted, still work.
    const std::u16string fine = std::u16string(100, u'(') + u"alpha" + std::u16string(100, u')');
    EXPECT_TRUE(searcher.Search(fine, paths));
    EXPECT_EQ(paths.size(), 3u);
    paths.clear();
    EXPECT_TRUE(searcher.Search(u"alpha \\(\\(\\( \"((((\"", paths));
    EXPECT_EQ(paths.size(), 3u);
}

}  // namespace
}  // namespace kestrova
