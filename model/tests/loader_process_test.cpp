// Model loading across real processes: two loads of one new folder at once, and a process
// killed while it writes the cache.
#include "exec/exec_control.h"
#include "exec/named_lock_set.h"
#include "model/data_folder.h"
#include "model/model_loader.h"
#include "model/model_original_impl.h"
#include "platform/event.h"
#include "platform/path.h"
#include "test_model.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstring>
#include <fstream>

namespace kestrova {
namespace {

// Kills its own process as soon as the cache file has its first bytes on disk.
class KillWhileSaving final : public NullExecControl {
public:
    explicit KillWhileSaving(std::string cache) : cache_(std::move(cache)) {}
    bool ShouldBreak() override {
        struct stat st {};
        if (::stat(cache_.c_str(), &st) == 0 && st.st_size > 0) ::raise(SIGKILL);
        return false;
    }

private:
    std::string cache_;
};

std::filesystem::path FreshKb(const char* name, int pages, std::u16string& data) {
    const std::filesystem::path dir = platform::NativePath(test::ScratchFolder(name));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (int i = 0; i < pages; ++i) {
        std::ofstream(dir / ("p" + std::to_string(i) + ".html"))
            << "<html><head><title>P" << i << "</title><meta chapter=\"C" << i % 7
            << "\"><meta name=\"keywords\" content=\"k" << i << "\"></head></html>";
    }
    EXPECT_TRUE(GetDataFolder(platform::PathFromNative(dir.string()), data));
    std::filesystem::remove_all(platform::NativePath(data));
    return dir;
}

// Runs a load in a child process; the child writes "R" or "C" (rebuilt or cache) and the uid.
pid_t LoadInChild(const std::u16string& folder, int fd, bool killWhileSaving,
                  const std::u16string& data) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    platform::ManualResetEvent stop;
    NamedLockSet locks(kLoadLockSet, folder, kLockSetSize, stop);
    NullExecControl plain;
    KillWhileSaving killer(platform::NativePath(data) + "/preserved.bin");
    IExecControl& control = killWhileSaving ? static_cast<IExecControl&>(killer) : plain;
    LoadResult r = LoadModel(folder, control, locks, false);
    char out[17] = {r.rebuilt ? 'R' : 'C'};
    if (r.model)
        std::memcpy(out + 1, static_cast<Model_original_impl_*>(r.model.get())->uid.data(), 16);
    const ssize_t ignored = ::write(fd, out, r.model ? 17 : 1);
    (void)ignored;
    ::_exit(r.model ? 0 : 3);
}

TEST(LoaderProcesses, TwoProcessesLoadingANewFolderBuildItOnce) {
    std::u16string data;
    const auto dir = FreshKb("two-process-kb", 3000, data);
    const std::u16string folder = platform::PathFromNative(dir.string());
    int pipes[2][2];
    ASSERT_EQ(::pipe(pipes[0]), 0);
    ASSERT_EQ(::pipe(pipes[1]), 0);
    const pid_t a = LoadInChild(folder, pipes[0][1], false, data);
    const pid_t b = LoadInChild(folder, pipes[1][1], false, data);
    std::string results[2];
    for (int i = 0; i < 2; ++i) {
        ::close(pipes[i][1]);
        char buffer[17];
        const ssize_t n = ::read(pipes[i][0], buffer, sizeof buffer);
        results[i].assign(buffer, n > 0 ? static_cast<size_t>(n) : 0);
        ::close(pipes[i][0]);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(a, &status, 0), a);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(::waitpid(b, &status, 0), b);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(results[0].size(), 17u);
    ASSERT_EQ(results[1].size(), 17u);
    EXPECT_EQ(results[0].substr(1), results[1].substr(1));  // the same model
    EXPECT_NE(results[0][0], results[1][0]);                // one built it, one read the cache
}

TEST(LoaderProcesses, CacheOfAProcessKilledWhileSavingIsRebuilt) {
    std::u16string data;
    const auto dir = FreshKb("killed-kb", 200, data);
    const std::u16string folder = platform::PathFromNative(dir.string());
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = LoadInChild(folder, fds[1], true, data);
    ::close(fds[1]);
    ::close(fds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const std::string cache = platform::NativePath(data) + "/preserved.bin";
    ASSERT_GT(std::filesystem::file_size(cache), 0u);

    LoadResult r = LoadModelOnce(folder, false);
    ASSERT_TRUE(r.model);
    EXPECT_TRUE(r.rebuilt);
    ModelInfo info;
    r.model->GetModelInfo(info);
    EXPECT_EQ(info.pages, 200);
}

}  // namespace
}  // namespace kestrova
