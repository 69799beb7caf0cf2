#include "model/page/file_log.h"
#include "platform/file.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kestrova {
namespace {

std::string ScratchFile(const char* name) {
    const std::filesystem::path dir = testing::ScratchRoot() / "log";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

TEST(FileLog, WritesExactLinesAndReplacesThePreviousFile) {
    const std::string path = ScratchFile("model.log");
    std::ofstream(path) << "old content\r\n";
    {
        FileLog log(path);
        ASSERT_TRUE(log.IsOpen());
        log.WriteFormat("start loading for %S", u"/kb/Вельтра");
        log.WriteFormat("collectHtmlFiles  N = %d  t = %d", 42, -1);
        log.WriteText("raw");
        log.Write(u"текст");
        log.WriteFormat("%s: %s and 100%%", "a", "b");
    }
    EXPECT_EQ(platform::ReadWholeFile(path),
              "start loading for /kb/\xD0\x92\xD0\xB5\xD0\xBB\xD1\x8C\xD1\x82\xD1\x80\xD0\xB0\r\n"
              "collectHtmlFiles  N = 42  t = -1\r\n"
              "raw\r\n"
              "\xD1\x82\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82\r\n"
              "a: b and 100%\r\n");
}

TEST(FileLog, FormattedLinesAreCutAtAThousandBytes) {
    const std::string path = ScratchFile("long.log");
    const std::string longText(5000, 'x');
    {
        FileLog log(path);
        log.WriteFormat("%s: %s", "/kb/page.html", longText.c_str());
    }
    EXPECT_EQ(platform::ReadWholeFile(path).size(), kMaxLogLine + 2);
}

TEST(FileLog, UncreatableFileWritesNothingAndDoesNotFail) {
    FileLog log("/nonexistent-folder/x/model.log");
    EXPECT_FALSE(log.IsOpen());
    log.WriteText("ignored");
}

}  // namespace
}  // namespace kestrova
