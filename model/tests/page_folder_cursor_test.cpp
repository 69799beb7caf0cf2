#include "model/internal/page_folder_cursor.h"
#include "model/tests/test_model.h"
#include "platform/path.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

// The first bytes of the file the cursor stands on, or "(none)".
std::string ReadAtCursor(const PageFolderCursor& cursor) {
    const int fd = ::openat(cursor.Folder(), cursor.Path().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "(none)";
    char buffer[64];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

// Pages are opened through the descriptor of their folder; whatever the order of folders, each
// relative path must reach the same file as the whole path would.
TEST(PageFolderCursor, ReachesEveryPageAsItsWholePathWould) {
    const std::u16string folder = test::ScratchFolder("cursor-pages");
    const fs::path root = platform::NativePath(folder);
    fs::create_directories(root / "a" / "b");
    fs::create_directories(root / "c");
    for (const char* name : {"x.html", "a/y.html", "a/b/z.html", "c/y.html"})
        std::ofstream(root / name) << name;

    PageFolderCursor cursor(folder + u"//");
    const std::pair<const char16_t*, const char*> visits[] = {
        {u"x.html", "x.html"},         {u"a\\y.html", "a/y.html"}, {u"a\\b\\z.html", "a/b/z.html"},
        {u"c\\y.html", "c/y.html"},    {u"a\\y.html", "a/y.html"}, {u"\\x.html", "x.html"},
        {u"a/b\\z.html", "a/b/z.html"}};
    for (const auto& [relative, content] : visits) {
        cursor.MoveTo(relative);
        EXPECT_NE(cursor.Folder(), AT_FDCWD);
        EXPECT_EQ(ReadAtCursor(cursor), content) << content;
    }
    // A folder that cannot be opened leaves the whole path, which then fails as it would have.
    cursor.MoveTo(u"gone\\p.html");
    EXPECT_EQ(cursor.Folder(), AT_FDCWD);
    EXPECT_EQ(cursor.Path(), root.string() + "/gone/p.html");
    EXPECT_EQ(ReadAtCursor(cursor), "(none)");
    cursor.MoveTo(u"a\\b\\z.html");
    EXPECT_EQ(ReadAtCursor(cursor), "a/b/z.html");
}

}  // namespace
}  // namespace kestrova
