#include "platform/file.h"
#include "platform/io_error.h"
#include "platform/path.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kestrova::platform {
namespace {

std::filesystem::path ScratchDir(const char* name) { return testing::FreshScratchDir(name); }

TEST(File, ReadersShareAndWriterExcludesEveryone) {
    const auto dir = ScratchDir("file-sharing");
    const std::string path = (dir / "f.bin").string();
    std::ofstream(path) << "abc";

    File r1, r2, w;
    ASSERT_EQ(r1.Open(path, File::Access::kReadShared), File::OpenResult::kOk);
    EXPECT_EQ(r2.Open(path, File::Access::kReadShared), File::OpenResult::kOk);
    EXPECT_EQ(w.Open(path, File::Access::kWriteExclusive), File::OpenResult::kSharingViolation);
    r1.Close();
    r2.Close();
    // A refused writer must not have truncated the file.
    EXPECT_EQ(ReadWholeFile(path), "abc");
    ASSERT_EQ(w.Open(path, File::Access::kWriteExclusive), File::OpenResult::kOk);
    EXPECT_EQ(r1.Open(path, File::Access::kReadShared), File::OpenResult::kSharingViolation);
    EXPECT_TRUE(w.Write("xy", 2));
    w.Close();
    EXPECT_EQ(ReadWholeFile(path), "xy");
}

TEST(File, MissingFileIsNotFoundAndReadWholeFileNamesThePath) {
    const auto dir = ScratchDir("file-missing");
    File f;
    EXPECT_EQ(f.Open((dir / "none").string(), File::Access::kReadShared),
              File::OpenResult::kNotFound);
    try {
        ReadWholeFile((dir / "none").string());
        FAIL();
    } catch (const io_error& e) {
        EXPECT_EQ(std::string(e.what()), "cannot open file: " + (dir / "none").string());
    }
}

TEST(Path, NormalizeResolvesDotsSeparatorsAndKeepsCase) {
    EXPECT_EQ(NormalizePath(u"/KB//sub/./x/../Page\\"), u"/KB/sub/Page");
    EXPECT_EQ(NormalizePath(u"\\a\\b"), u"/a/b");
    EXPECT_EQ(NormalizePath(u"/.."), u"/");
    EXPECT_NE(NormalizePath(u"/kb"), NormalizePath(u"/KB"));
    EXPECT_EQ(NormalizePath(u"rel")[0], u'/');
}

TEST(Path, JoinTurnsStoredSeparatorsIntoNativeOnes) {
    EXPECT_EQ(JoinPath(u"/kb/", u"law\\index.html"), u"/kb/law/index.html");
    EXPECT_EQ(NativePath(u"a\\б"), "a/\xD0\xB1");
}

TEST(Path, FileTimeIsExactHundredsOfNanosecondsSince1601) {
    struct timespec ts {};
    ts.tv_sec = 0;
    ts.tv_nsec = 999;
    EXPECT_EQ(FileTimeFromTimespec(ts), 116444736000000009ULL);
}

}  // namespace
}  // namespace kestrova::platform
