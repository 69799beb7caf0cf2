#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "model/internal/html_scan.h"
#include "model/internal/model_build.h"
#include "model/model_loader.h"
#include "model/model_original_impl.h"
#include "model/page/read_page_meta.h"
#include "platform/path.h"
#include "test_model.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <fstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

class CountingControl final : public IExecControl {
public:
    bool ShouldBreak() override { return breakAfter >= 0 && checks++ >= breakAfter; }
    void ReportProgress(const ExecProgress& p) override { reports.push_back(p); }
    int breakAfter = -1;
    int checks = 0;
    std::vector<ExecProgress> reports;
};

// 700 pages in four folders, each with a last-write time of its own; every `brokenEvery`th
// breaks the vocabulary (a domain chapter its chapter lacks), every 13th is ignored.
fs::path MakeManyPages(const std::string& name, int brokenEvery) {
    const fs::path dir = platform::NativePath(test::ScratchFolder(name.c_str()));
    fs::remove_all(dir);
    for (int k = 0; k < 700; ++k) {
        const fs::path file =
            dir / ("part" + std::to_string(k % 4)) / ("p" + std::to_string(k) + ".htm");
        fs::create_directories(file.parent_path());
        std::string meta = "<meta name=\"keywords\" content=\"слово " + std::to_string(k) + "\">";
        if (k % brokenEvery == 0)
            meta += "<meta chapter=\"A\"><meta domain=\"law\" domain-chapter=\"B\">";
        if (k % 13 == 0) meta += "<meta control=\"ignore\">";
        std::ofstream(file, std::ios::binary)
            << "<html><head><meta charset=\"utf-8\"><title>Страница " << k << "</title>" << meta
            << "</head><body>" << std::string(static_cast<size_t>(k), 'x') << "</body></html>";
        const timespec times[2] = {{1000000 + k, 0}, {1000000 + k, 500}};
        ::utimensat(AT_FDCWD, file.c_str(), times, 0);
    }
    return dir;
}

// A model of such a folder with the folder scanned as a build scans it.
struct ScannedFolder {
    ScannedFolder(const std::string& name, int brokenEvery)
        : folder(platform::PathFromNative(MakeManyPages(name, brokenEvery).string())),
          model(folder, test::ScratchFolder((name + "-data").c_str())) {
        collectHtmlFiles(folder, false, model.pool, files, control, FileStamps::kLeftToReader);
        control.reports.clear();
    }
    const std::u16string folder;
    Model_original_impl_ model;
    CountingControl control;
    std::vector<FileInfo> files;
};

// Many pages (read on several threads where the machine has them) give what one reader going
// through the files in order gives: the same records, skipped files, log lines and stamps.
TEST(ReadPages, ManyPagesComeOutInFileOrder) {
    ScannedFolder scanned("read-many", 9);
    auto& [folder, model, control, files] = scanned;
    ASSERT_EQ(files.size(), 700u);
    test::MemoryLog log;
    const std::vector<PageRecord> records = ReadPages(model, files, log, control);

    test::MemoryLog expectedLog;
    std::vector<std::u16string> expectedTitles;
    std::vector<const char16_t*> expectedSkipped;
    for (const FileInfo& file : files) {
        PageMeta meta;
        if (ReadPageMeta(platform::JoinPath(folder, StringView(file.path)), expectedLog, meta) &&
            !meta.ignored) {
            expectedTitles.push_back(meta.title);
        } else {
            expectedSkipped.push_back(file.path);
        }
    }
    expectedLog.WriteFormat("%d pages skipped", static_cast<int>(expectedSkipped.size()));
    EXPECT_EQ(log.lines, expectedLog.lines);
    EXPECT_EQ(expectedSkipped.size(), 700u / 9 + 1 + 700u / 13 + 1 - 700u / 117 - 1);

    ASSERT_EQ(records.size(), expectedTitles.size());
    for (size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(records[i].meta.title, expectedTitles[i]) << i;
    ASSERT_EQ(model.skippedFiles.size(), expectedSkipped.size());
    for (size_t i = 0; i < expectedSkipped.size(); ++i)
        EXPECT_EQ(model.skippedFiles[i].path, expectedSkipped[i]);

    // The stamps the reader took are those of the files, for read and skipped files alike.
    std::vector<FileInfo> all;
    for (const PageRecord& r : records) all.push_back(r.file);
    all.insert(all.end(), model.skippedFiles.begin(), model.skippedFiles.end());
    for (const FileInfo& file : all) {
        struct stat st {};
        ASSERT_EQ(
            ::stat(platform::NativePath(platform::JoinPath(folder, StringView(file.path))).c_str(),
                   &st),
            0);
        EXPECT_EQ(file.lastWriteTime, platform::FileTimeFromTimespec(st.st_mtim));
        EXPECT_EQ(file.size, static_cast<uint32_t>(st.st_size));
    }
    ASSERT_FALSE(control.reports.empty());
    for (const ExecProgress& p : control.reports) {
        EXPECT_EQ(p.stage, 2);
        EXPECT_EQ(p.total, 700);
        EXPECT_LT(p.current, 700);
    }
}

// A break while the pages are read stops the reading on every thread and leaves ReadPages; the
// failures of the pages read before it (here every page fails) are still logged.
TEST(ReadPages, BreakStopsTheReading) {
    ScannedFolder scanned("read-break", 1);
    auto& [folder, model, control, files] = scanned;
    control.breakAfter = control.checks;  // the first check of the reading breaks
    test::MemoryLog log;
    EXPECT_THROW(ReadPages(model, files, log, control), BreakExec);
    EXPECT_LT(control.reports.size(), 700u);
    ASSERT_FALSE(log.lines.empty());
    for (const std::string& line : log.lines)
        EXPECT_NE(line.find(": domain-chapter doesn't fit"), std::string::npos);
}

}  // namespace
}  // namespace kestrova
