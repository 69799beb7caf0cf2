#include "platform/atomic_file.h"
#include "platform/file.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>

namespace kestrova::platform {
namespace {

namespace fs = std::filesystem;

// The number of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

void Touch(const fs::path& path, long ageSeconds) {
    std::ofstream(path) << "partial";
    const timespec when{time(nullptr) - ageSeconds, 0};
    const timespec times[2] = {when, when};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// A replacement removes the temporary files of writers of the same file that died long ago, and
// nothing else: not those of live or recent writers, nor those of other files.
TEST(ReplaceFileContents, RemovesOnlyAbandonedTemporaryFilesOfItsFile) {
    const fs::path dir = testing::FreshScratchDir("atomic-temps");
    const std::string dead = std::to_string(EndedProcess());
    const std::string self = std::to_string(getpid());
    const fs::path abandoned = dir / ("list.bin.tmp." + dead + ".3");
    const std::vector<fs::path> kept{
        dir / ("list.bin.tmp." + dead + ".4"),   // recent
        dir / ("list.bin.tmp." + self + ".9"),   // this process
        dir / "list.bin.tmp.1.5",                // a live process
        dir / ("other.bin.tmp." + dead + ".1"),  // another file's
        dir / "list.bin.tmp.x",
    };
    Touch(abandoned, 7200);
    Touch(kept[0], 60);
    for (size_t i = 1; i < kept.size(); ++i) Touch(kept[i], 7200);

    ReplaceFileContents((dir / "list.bin").string(), "new");
    EXPECT_EQ(ReadWholeFile((dir / "list.bin").string()), "new");
    EXPECT_FALSE(fs::exists(abandoned));
    for (const fs::path& path : kept) EXPECT_TRUE(fs::exists(path)) << path;
}

}  // namespace
}  // namespace kestrova::platform
