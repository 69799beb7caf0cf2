#include "bench/kb_generator.h"

#include "model/model_loader.h"
#include "model/page/log.h"
#include "model/page/read_page_meta.h"
#include "platform/codepage.h"
#include "platform/path.h"
#include "platform/tests/scratch_dir.h"
#include "search/text_extractor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace kestrova::bench {
namespace {

namespace fs = std::filesystem;

class LinesLog final : public ILog {
public:
    void Write(std::u16string_view text) override { lines.push_back(platform::Utf16ToUtf8(text)); }
    void WriteText(std::string_view bytes) override { lines.emplace_back(bytes); }
    std::vector<std::string> lines;
};

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Relative path -> bytes of every file the generator wrote.
std::map<std::string, std::string> Files(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = Bytes(e.path());
    }
    return files;
}

std::vector<fs::path> Pages(const fs::path& dir) {
    std::vector<fs::path> pages;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.path().extension() == ".html") pages.push_back(e.path());
    }
    return pages;
}

TEST(KbGeneratorTest, TheSameSeedGivesTheSameBytesAndAnotherSeedOtherText) {
    const fs::path root = testing::FreshScratchDir("KbGeneratorTest.Seed");
    const KbSummary a = GenerateKnowledgeBase(root / "a", {60, 3, 7});
    GenerateKnowledgeBase(root / "b", {60, 3, 7});
    GenerateKnowledgeBase(root / "c", {60, 3, 8});
    EXPECT_EQ(a.pages, 60);
    const auto filesA = Files(root / "a");
    EXPECT_EQ(filesA.size(), 61u);  // the pages and the marker
    EXPECT_EQ(filesA, Files(root / "b"));
    const auto filesC = Files(root / "c");
    ASSERT_EQ(filesC.size(), filesA.size());
    int differing = 0;
    for (const auto& [name, bytes] : filesA) differing += filesC.at(name) != bytes;
    EXPECT_EQ(differing, 60);
}

TEST(KbGeneratorTest, PagesHaveTheRequestedSizeAndTheirNavigationReadsWithoutError) {
    const fs::path dir = testing::FreshScratchDir("KbGeneratorTest.Meta") / "kb";
    const KbSummary summary = GenerateKnowledgeBase(dir, {300, 4, 1});
    LinesLog log;
    std::set<size_t> depths;
    std::set<std::u16string> domains, profiles;
    int indexPages = 0, keywords = 0, helpIds = 0;
    int64_t bytes = 0;
    for (const fs::path& page : Pages(dir)) {
        const int64_t size = static_cast<int64_t>(fs::file_size(page));
        bytes += size;
        EXPECT_GE(size, 4 * 1024);
        EXPECT_LT(size, 6 * 1024) << page;  // at most one paragraph over
        PageMeta meta;
        ASSERT_TRUE(ReadPageMeta(platform::PathFromNative(page.string()), log, meta)) << page;
        EXPECT_EQ(meta.title.rfind(u"Статья ", 0), 0u);
        depths.insert(meta.chapters.defaultList.size());
        for (const auto& [name, steps] : meta.chapters.profiles) profiles.insert(name);
        ASSERT_EQ(meta.domains.size(), 1u);
        domains.insert(meta.domains[0].tag);
        EXPECT_EQ(meta.domains[0].chapterIndex, 0);
        for (const ContentEntry& e : meta.contents.defaultList) indexPages += e.index;
        keywords += static_cast<int>(meta.keywords.size());
        helpIds += static_cast<int>(meta.helpIds.size());
    }
    EXPECT_TRUE(log.lines.empty()) << log.lines.front();
    EXPECT_EQ(bytes, summary.bytes);
    EXPECT_EQ(depths, (std::set<size_t>{3, 4, 5}));
    EXPECT_EQ(profiles, std::set<std::u16string>{u"print"});
    EXPECT_EQ(domains, (std::set<std::u16string>{u"labor", u"law", u"tax", u"tech"}));
    EXPECT_GT(indexPages, 0);
    EXPECT_EQ(keywords, 3 * 300);
    EXPECT_EQ(helpIds, 300);
}

// Pages in windows-1251, in UTF-8 declared and by byte order mark only: the indexed text of
// each holds its title seven times, decoded.
TEST(KbGeneratorTest, EveryCharsetDecodesToTheSameKindOfRussianText) {
    const fs::path dir = testing::FreshScratchDir("KbGeneratorTest.Charsets") / "kb";
    GenerateKnowledgeBase(dir, {8, 2, 1});
    std::set<std::string> declarations;
    for (const fs::path& page : Pages(dir)) {
        const std::string bytes = Bytes(page);
        declarations.insert(
            bytes.rfind("\xEF\xBB\xBF", 0) == 0                           ? "bom"
            : bytes.find("charset=windows-1251") != std::string::npos     ? "1251 content-type"
            : bytes.find("charset=\"windows-1251\"") != std::string::npos ? "1251 meta"
                                                                          : "utf-8 meta");
        TextExtractor extractor;
        extractor.SetTitleWeight(7);
        ASSERT_TRUE(extractor.Extract(page.string()));
        const std::u16string text = platform::WideToUtf16(extractor.GetText());
        const std::u16string number = platform::PathFromNative(page.stem().string().substr(4));
        const std::u16string title = u"Статья " + number + u".";
        size_t copies = 0;
        for (size_t at = text.find(title); at != std::u16string::npos;
             at = text.find(title, at + 1))
            ++copies;
        EXPECT_EQ(copies, 8u) << page;  // seven before the body, one in its heading
        EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos) << page;
    }
    EXPECT_EQ(declarations.size(), 4u);
}

TEST(KbGeneratorTest, ClearsItsOwnEarlierOutputAndRefusesAnyOtherFolder) {
    const fs::path root = testing::FreshScratchDir("KbGeneratorTest.Folders");
    GenerateKnowledgeBase(root / "kb", {20, 1, 1});
    std::ofstream(root / "kb" / "stale.html") << "old";
    GenerateKnowledgeBase(root / "kb", {10, 1, 1});
    EXPECT_FALSE(fs::exists(root / "kb" / "stale.html"));
    EXPECT_EQ(Pages(root / "kb").size(), 10u);

    fs::create_directories(root / "mine");
    std::ofstream(root / "mine" / "notes.txt") << "keep";
    EXPECT_THROW(GenerateKnowledgeBase(root / "mine", {10, 1, 1}), std::runtime_error);
    EXPECT_EQ(Bytes(root / "mine" / "notes.txt"), "keep");
}

TEST(KbGeneratorTest, TheModelOfAGeneratedFolderHasEveryPageAndNoLoggedProblem) {
    const fs::path dir = testing::FreshScratchDir("KbGeneratorTest.Model") / "kb";
    GenerateKnowledgeBase(dir, {240, 2, 3});
    const LoadResult loaded = LoadModelOnce(platform::PathFromNative(dir.string()), true);
    ASSERT_TRUE(loaded.model);
    ModelInfo info;
    loaded.model->GetModelInfo(info);
    EXPECT_EQ(info.pages, 240);
    EXPECT_EQ(info.domains, 4);
    EXPECT_EQ(info.contextIds, 240);
    EXPECT_GT(info.chapters, 20);
    EXPECT_GT(info.keywords, 240);
    // Only the lines every build writes: no page skipped, no conflict.
    std::ifstream logFile(platform::NativePath(std::u16string(info.dataFolder) + u"/model.log"));
    for (std::string line; std::getline(logFile, line);) {
        const bool routine =
            line.rfind("start loading", 0) == 0 || line.rfind("collectHtmlFiles", 0) == 0 ||
            line.rfind("loading complete", 0) == 0 || line.rfind("saving preserved", 0) == 0;
        EXPECT_TRUE(routine) << line;
    }
}

}  // namespace
}  // namespace kestrova::bench
