// Faults with real processes: a build killed at any point, and searches of other processes.
#include "search/index_builder.h"
#include "search/internal/index_lock_file.h"
#include "search/searcher.h"
#include "search_test_util.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace kestrova {
namespace {

using testing::Page;
using testing::PageFiles;
using testing::ScratchFolder;
using testing::WriteFile;

constexpr ModelUid kOld{1};
constexpr ModelUid kNew{2};
constexpr int kPages = 40;
constexpr int kFinished = 1 << 20;

// Reports every progress step as one byte on a pipe, so the parent knows where the child is.
class PipeControl final : public IExecControl {
public:
    explicit PipeControl(int fd) : fd_(fd) {}
    bool ShouldBreak() override { return false; }
    void ReportProgress(const ExecProgress&) override {
        const char c = 'p';
        (void)!::write(fd_, &c, 1);
    }

private:
    int fd_;
};

class NullControl final : public IExecControl {
public:
    bool ShouldBreak() override { return false; }
    void ReportProgress(const ExecProgress&) override {}
};

// The pages of one word live in a folder of their own: two sets must never overwrite each
// other's files, or rebuilding the "old" index would index the "new" text.
std::unique_ptr<PageFiles> MakePages(const ScratchFolder& dir, const std::string& word) {
    std::vector<std::u16string> names;
    for (int i = 0; i < kPages; ++i) {
        WriteFile(dir.File("kb_" + word + "/p" + std::to_string(i) + ".htm"),
                  Page("T", word + " page" + std::to_string(i)));
        names.push_back(u"p" + platform::PathFromNative(std::to_string(i)) + u".htm");
    }
    return std::make_unique<PageFiles>(dir.Path16() + u"/kb_" + platform::PathFromNative(word),
                                       names);
}

size_t Count(const std::u16string& data, const std::u16string& word, bool* failed = nullptr) {
    Searcher searcher(data, kIndexPrecise, false);
    std::vector<std::u16string> paths;
    const bool ok = searcher.Search(word, paths);
    if (failed) *failed = !ok;
    return paths.size();
}

// Forks a child that builds the precise index; kills it after `steps` progress reports
// (the reports of one build are 0..kPages, so kPages + 1 reports mean: indexing is done, the
// child is optimising, stamping or swapping; kFinished waits until the child has ended).
void KillBuildAfter(int steps, IIndexFiles& files, const std::u16string& data) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fds[0]);
        PipeControl control(fds[1]);
        IndexBuilder(data, kIndexPrecise).Build(files, kNew, control);
        ::_exit(0);
    }
    ::close(fds[1]);
    char c;
    for (int i = 0; i < steps && ::read(fds[0], &c, 1) == 1; ++i) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(fds[0]);
}

TEST(IndexFaultTest, ABuildKilledAtAnyPointLeavesAUsableIndexAndTheNextBuildSucceeds) {
    ScratchFolder dir;
    const std::u16string data = dir.Path16() + u"/data";
    auto oldPages = MakePages(dir, "old");
    NullControl control;
    ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(*oldPages, kOld, control),
              IndexBuildResult::kBuilt);
    auto newPages = MakePages(dir, "new");
    // A build that got through its swap is undone by rebuilding the old pages, so the kills
    // after it must find the old index again.
    for (const int steps : {0, 1, kPages / 2, kPages, kPages + 1, kFinished, 1}) {
        SCOPED_TRACE(steps);
        KillBuildAfter(steps, *newPages, data);
        // Either the old index or, when the kill came after the swap, the new one: complete.
        const size_t old = Count(data, u"old");
        const size_t fresh = Count(data, u"new");
        EXPECT_TRUE((old == kPages && fresh == 0) || (old == 0 && fresh == kPages))
            << old << " " << fresh;
        if (steps == kFinished) {
            EXPECT_EQ(fresh, static_cast<size_t>(kPages));  // a build that ended has swapped
        }
        if (fresh == kPages) {
            EXPECT_TRUE(IsIndexCurrent(data, kIndexPrecise, kNew));
            ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(*oldPages, kOld, control),
                      IndexBuildResult::kBuilt);
        }
    }
    ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(*newPages, kNew, control),
              IndexBuildResult::kBuilt);
    EXPECT_EQ(Count(data, u"new"), static_cast<size_t>(kPages));
    EXPECT_FALSE(std::filesystem::exists(MakeIndexPaths(data, kIndexPrecise).tempDir));
}

// Runs a search in a child process; its exit status is 0 for a failed search with no hits,
// 1 for a search with every page, 2 for anything else.
int SearchInChild(const std::u16string& data) {
    const pid_t child = ::fork();
    if (child == 0) {
        bool failed = false;
        const size_t n = Count(data, u"old", &failed);
        ::_exit(failed && n == 0 ? 0 : (!failed && n == kPages ? 1 : 2));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(IndexFaultTest, SearchesOfOtherProcessesDuringAndOutsideTheSwap) {
    ScratchFolder dir;
    const std::u16string data = dir.Path16() + u"/data";
    auto pages = MakePages(dir, "old");
    NullControl control;
    ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(*pages, kOld, control),
              IndexBuildResult::kBuilt);
    {
        IndexLockFile builder(MakeIndexPaths(data, kIndexPrecise).liveLock,
                              IndexLockFile::Mode::kExclusive);
        ASSERT_TRUE(builder.TryAcquire());
        EXPECT_EQ(SearchInChild(data), 0);
    }
    // Several processes at once while this one holds a search open too.
    Searcher held(data, kIndexPrecise, false);
    ASSERT_TRUE(held.HasIndex());
    std::vector<pid_t> children;
    for (int i = 0; i < 3; ++i) {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(Count(data, u"old") == kPages ? 0 : 2);
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

}  // namespace
}  // namespace kestrova
