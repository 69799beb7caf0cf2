#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/io_error.h"
#include "platform/path.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
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

// A pipe in the place of a file would hold an open (for reading or writing) until someone opens
// the other end, and a link to /dev/zero never ends: only regular files are opened, at once.
TEST(File, PipesDevicesAndFoldersAreRefusedWithoutWaiting) {
    const auto dir = ScratchDir("file-special");
    const std::string pipe = (dir / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero");
    for (const std::string& path : {pipe, (dir / "zero").string()}) {
        for (File::Access access : {File::Access::kReadShared, File::Access::kWriteExclusive,
                                    File::Access::kAppendShared}) {
            File f;
            EXPECT_EQ(f.Open(path, access), File::OpenResult::kFailed) << path;
            EXPECT_EQ(f.LastError(), kNotRegularFile) << path;
            EXPECT_FALSE(f.IsOpen());
        }
    }
    File f;
    EXPECT_EQ(f.Open(dir.string(), File::Access::kReadShared), File::OpenResult::kFailed);
    EXPECT_EQ(f.LastError(), EISDIR);
    try {
        ReadWholeFile(pipe);
        ADD_FAILURE() << "a pipe was read";
    } catch (const io_error& e) {
        EXPECT_EQ(e.code(), kNotRegularFile);
    }
    // A regular file opened so is an ordinary, blocking descriptor.
    std::ofstream(dir / "plain") << "abc";
    ASSERT_EQ(f.Open((dir / "plain").string(), File::Access::kReadShared), File::OpenResult::kOk);
    EXPECT_EQ(::fcntl(f.Descriptor(), F_GETFL) & O_NONBLOCK, 0);
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

// Native names are bytes: names in code page 1251 and names with a backslash must come back
// byte for byte, through the model's relative paths, the index (wide strings) and file URLs.
TEST(Path, NativeNamesThatAreNotTextRoundTripLosslessly) {
    const std::string native = "/kb/\xCF\xF0\xE0\xE2\xEE/a\\b/\xD0\xAF.htm\xFF\xC0\xAF";
    const std::u16string path = PathFromNative(native);
    EXPECT_EQ(path.find(u'\\'), std::u16string::npos);  // the name's backslash is no separator
    EXPECT_EQ(path.substr(0, 4), u"/kb/");
    EXPECT_EQ(path[4], UnitOfNativeByte('\xCF'));
    EXPECT_NE(path.find(u"/\u042F.htm"), std::u16string::npos);  // valid UTF-8 stays text
    EXPECT_EQ(NativePath(path), native);
    EXPECT_EQ(NativePath(JoinPath(u"/kb", path.substr(4))), native);
    EXPECT_EQ(NormalizePath(path), path);
    EXPECT_EQ(PathFromNative(native.substr(0, 3) + "two\\\\"),
              u"/kbtwo" + std::u16string(2, UnitOfNativeByte('\\')));
    EXPECT_EQ(WideToUtf16(Utf16ToWide(path)), path);
    EXPECT_EQ(PathFromNative("/plain/\xD0\xAF"), u"/plain/\u042F");  // UTF-8 names as before
}

TEST(Path, FileTimeIsExactHundredsOfNanosecondsSince1601) {
    struct timespec ts {};
    ts.tv_sec = 0;
    ts.tv_nsec = 999;
    EXPECT_EQ(FileTimeFromTimespec(ts), 116444736000000009ULL);
}

}  // namespace
}  // namespace kestrova::platform
