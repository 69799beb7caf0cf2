// Search threads of several processes on one page folder: searches share the folder's
// search locks, builds exclude them.
#include "exec/tests/helper_process.h"
#include "exec/workers/tests/fakes.h"
#include "platform/path.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace kestrova {
namespace {

TEST(SearchProcessTest, SearchesOfSeveralProcessesAllSucceedAndNeverOverlapABuild) {
    std::u16string folder16 = testing::UniqueFolder("processes");
    const std::string folder = platform::NativePath(folder16);
    const std::filesystem::path dir = testing::ScratchRoot();
    std::string marker = (dir / ("building-" + std::to_string(::getpid()))).string();
    std::filesystem::remove(marker);

    // Five searching processes are more than the four mutexes of the set, and a sixth process
    // keeps building.
    std::vector<std::unique_ptr<testing::HelperProcess>> processes;
    processes.push_back(std::make_unique<testing::HelperProcess>(
        std::vector<std::string>{KESTROVA_PROCESS_HELPER, "build", folder, marker, "15"}));
    for (int i = 0; i < 5; ++i) {
        processes.push_back(std::make_unique<testing::HelperProcess>(
            std::vector<std::string>{KESTROVA_PROCESS_HELPER, "search", folder, marker, "60"}));
    }
    EXPECT_EQ(processes[0]->ReadLine(std::chrono::seconds(60)), "ok 15");
    for (size_t i = 1; i < processes.size(); ++i) {
        EXPECT_EQ(processes[i]->ReadLine(std::chrono::seconds(60)), "ok 60") << "process " << i;
    }
}

}  // namespace
}  // namespace kestrova
