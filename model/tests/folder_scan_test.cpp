// The scan of a page folder against hostile folders: links out of it, unreadable subfolders.
#include "exec/exec_control.h"
#include "model/internal/html_scan.h"
#include "model/internal/model_pool.h"
#include "platform/codepage.h"
#include "platform/path.h"
#include "test_model.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <fstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "<html><head><title>t</title></head></html>";
}

struct Scan {
    std::vector<std::string> paths;
    test::MemoryLog log;
};

Scan ScanFolder(const fs::path& folder) {
    Scan scan;
    ModelPool pool;
    std::vector<FileInfo> files;
    NullExecControl control;
    collectHtmlFiles(platform::PathFromNative(folder.string()), false, pool, files, control,
                     FileStamps::kFromScan, &scan.log);
    for (const FileInfo& f : files)
        scan.paths.push_back(platform::Utf16ToUtf8(std::u16string_view(f.path)));
    std::sort(scan.paths.begin(), scan.paths.end());
    return scan;
}

size_t CountLinesWith(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
        return line.find(part) != std::string::npos;
    }));
}

// A link to "/" would take the scan through the whole file system (/proc included), and a
// link to a folder elsewhere would make its pages pages of this knowledge base. Links within
// the folder are followed; the others are passed over with one line each.
TEST(FolderScan, LinksAreFollowedOnlyInsideThePageFolder) {
    const fs::path root = testing::FreshScratchDir("scan-links");
    const fs::path kb = root / "kb";
    Touch(kb / "a.htm");
    Touch(kb / "_hidden" / "b.htm");
    Touch(root / "elsewhere" / "c.htm");
    fs::create_directory_symlink("/", kb / "everything");
    fs::create_directory_symlink(root / "elsewhere", kb / "away");
    fs::create_symlink(root / "elsewhere" / "c.htm", kb / "foreign.htm");
    fs::create_directory_symlink("../kb/_hidden", kb / "inside");
    fs::create_symlink("a.htm", kb / "same.htm");
    fs::create_symlink("nowhere.htm", kb / "dangling.htm");

    const Scan scan = ScanFolder(kb);
    EXPECT_EQ(scan.paths, (std::vector<std::string>{"a.htm", "inside\\b.htm", "same.htm"}));
    EXPECT_EQ(CountLinesWith(scan.log.lines, "link leads outside the page folder"), 3u);
    EXPECT_EQ(CountLinesWith(scan.log.lines, "/kb/everything: "), 1u);
    EXPECT_EQ(CountLinesWith(scan.log.lines, "/kb/dangling.htm: cannot follow link"), 1u);
    EXPECT_EQ(scan.log.lines.size(), 4u);

    // The page folder given through a link of its own is still the folder the links lead into.
    fs::create_directory_symlink(kb, root / "kb-link");
    EXPECT_EQ(ScanFolder(root / "kb-link").paths, scan.paths);
}

// Runs `body` as a user without privileges when the test runs as root (for whom a folder of
// mode 000 is readable all the same); the body's exit status is the result.
template <typename Body>
void RunUnprivileged(Body body) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(3);
    std::_Exit(body());
}

// An unreadable subfolder is passed over with a line that names it, as an unreadable page is.
TEST(FolderScan, UnreadableSubfolderIsLogged) {
    const fs::path kb = testing::FreshScratchDir("scan-unreadable") / "kb";
    Touch(kb / "a.htm");
    Touch(kb / "locked" / "b.htm");
    ::chmod((kb / "locked").c_str(), 0);
    ::chmod(kb.parent_path().c_str(), 0755);
    EXPECT_EXIT(
        RunUnprivileged([&] {
            const Scan scan = ScanFolder(kb);
            for (const auto& line : scan.log.lines) std::fprintf(stderr, "%s\n", line.c_str());
            return scan.paths == std::vector<std::string>{"a.htm"} && scan.log.lines.size() == 1
                       ? 0
                       : 1;
        }),
        ::testing::ExitedWithCode(0), "/kb/locked: cannot open folder \\(Permission denied\\)");
    ::chmod((kb / "locked").c_str(), 0755);
}

}  // namespace
}  // namespace kestrova
