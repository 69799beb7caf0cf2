#include "model/page/read_page_meta.h"
#include "model/page/order_value.h"
#include "platform/path.h"
#include "scan_helpers.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kestrova {
namespace {

class LinesLog final : public ILog {
public:
    std::vector<std::string> lines;
    void Write(std::u16string_view) override {}
    void WriteText(std::string_view bytes) override { lines.emplace_back(bytes); }
};

// Reads a generated page; `error` receives the log line's message (after "PATH: ").
class PageMetaTest : public ::testing::Test {
protected:
    bool Read(const std::string& bytes, PageMeta& page, std::string* error = nullptr) {
        const std::string path = testing::WriteFile(dir_ / "page.html", bytes);
        LinesLog log;
        const bool ok = ReadPageMeta(platform::PathFromNative(path), log, page);
        EXPECT_EQ(log.lines.size(), ok ? 0u : 1u);
        if (!ok && !log.lines.empty()) {
            EXPECT_EQ(log.lines[0].rfind(path + ": ", 0), 0u) << log.lines[0];
            if (error) *error = log.lines[0].substr(path.size() + 2);
        }
        return ok;
    }
    PageMeta ReadOk(const std::string& head) {
        PageMeta page;
        std::string error;
        EXPECT_TRUE(Read("<html><head>" + head + "</head><body>", page, &error)) << error;
        return page;
    }
    std::string Error(const std::string& head) {
        PageMeta page;
        std::string error;
        EXPECT_FALSE(Read("<html><head>" + head + "</head><body>", page, &error));
        return error;
    }

    std::filesystem::path dir_ = testing::ScratchDir("page-meta");
};

TEST(OrderValue, NamesNumbersAndLeftovers) {
    EXPECT_EQ(OrderValue("top"), 1);
    EXPECT_EQ(OrderValue("BOTTOM"), INT32_MIN);
    EXPECT_EQ(OrderValue("Default"), 0);
    EXPECT_EQ(OrderValue(""), 0);
    EXPECT_EQ(OrderValue(" 7"), 7);
    EXPECT_EQ(OrderValue("-12"), -12);
    EXPECT_EQ(OrderValue("99999999999"), INT32_MAX);
    for (const char* bad : {"7 ", "x", "-", "1.5", " top"}) {
        try {
            OrderValue(bad);
            ADD_FAILURE() << bad;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), std::string("wrong int ") + bad);
        }
    }
}

TEST_F(PageMetaTest, TitleIsTrimmedReducedAndDecoded) {
    EXPECT_EQ(ReadOk("<title>  A &amp;\r\n  B  </title>").title, u"A & B");
    // A later text run inside the title replaces an earlier one; any tag ends the title.
    EXPECT_EQ(ReadOk("x<TITLE>a<!-- c -->d</TITLE>e").title, u"d");
    EXPECT_EQ(ReadOk("<title>a<b>c</b>d</title>").title, u"a");
    EXPECT_EQ(ReadOk("").title, u"");
    // Only the five spaces are reduced: form feed and the 1251 no-break space stay.
    EXPECT_EQ(ReadOk("<title>\va\v\fb \t\xA0\r\n c\x0B</title>").title, u"a \fb \u00A0 c");
}

TEST_F(PageMetaTest, ChaptersGoToTheirProfilesInDocumentOrder) {
    const PageMeta page = ReadOk(
        "<meta chapter='A\\B\\C' order='5' location='HIDDEN'>"
        "<meta chapter='\\D\\\\' order=' top '>"
        "<meta chapter='\\'>"
        "<meta chapter='P&amp;Q' profile='Print' order='bottom'>"
        "<meta chapter='E' profile='_DEFAULT'>");
    const auto& d = page.chapters.defaultList;
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(d[0].name, u"A");
    EXPECT_EQ(d[0].order, 0);
    EXPECT_FALSE(d[1].hidden);
    EXPECT_EQ(d[2].name, u"C");
    EXPECT_EQ(d[2].order, 5);
    EXPECT_TRUE(d[2].hidden);
    EXPECT_EQ(d[3].name, u"D");
    EXPECT_EQ(d[3].order, 1);
    EXPECT_EQ(d[4].name, u"E");
    ASSERT_EQ(page.chapters.profiles.count(u"print"), 1u);
    EXPECT_EQ(page.chapters.profiles.at(u"print")[0].name, u"P&Q");
    EXPECT_EQ(page.chapters.profiles.at(u"print")[0].order, INT32_MIN);
    EXPECT_FALSE(page.rootChapter);
}

TEST_F(PageMetaTest, RootChapterExcludesOtherChapters) {
    EXPECT_TRUE(ReadOk("<meta chapter='_root'>").rootChapter);
    EXPECT_EQ(Error("<meta chapter='_Root'><meta chapter='A'>"),
              "both chapter and root chapter are set");
    EXPECT_EQ(Error("<meta chapter='A'><meta chapter='_Root'>"),
              "both chapter and root chapter are set");
    // Classification errors leave the scan without the tag suffix.
    EXPECT_EQ(Error("<meta chapter='A' order='x'/>"), "wrong int x");
}

TEST_F(PageMetaTest, DomainsFindTheirChapterSteps) {
    const std::string steps = "<meta chapter='A\\B'><meta chapter='X' profile='p'>";
    PageMeta page = ReadOk(
        steps +
        "<meta domain='law' display-name='Право &laquo;1&raquo;' order=' 7 ' domain-chapter='A\\B'>"
        "<meta domain='tax' domain-chapter='\\\\'>"
        "<meta domain='all' domain-chapter='A\\B\\X'>");
    ASSERT_EQ(page.domains.size(), 3u);
    EXPECT_EQ(page.domains[0].tag, u"law");
    EXPECT_EQ(page.domains[0].displayName, u"Право «1»");
    EXPECT_EQ(page.domains[0].order, 7);
    EXPECT_EQ(page.domains[0].chapterIndex, 1);
    EXPECT_EQ(page.domains[1].chapterIndex, -1);
    EXPECT_EQ(page.domains[2].chapterIndex, 2);  // steps across all profiles, in document order
    EXPECT_EQ(Error(steps + "<meta domain='x' domain-chapter='A\\D'>"),
              "domain-chapter doesn't fit with chapter");
    EXPECT_EQ(Error(steps + "<meta domain='x' domain-chapter='A\\B\\X\\Y'>"),
              "domain-chapter doesn't fit with chapter");
    EXPECT_EQ(Error("<meta domain='x' order='7 x'>"), "wrong int 7 x");
}

TEST_F(PageMetaTest, ContentEntriesAndTheUntrimmedOrder) {
    const PageMeta page = ReadOk(
        "<meta name='description' content=''>"
        "<meta content='_Index' profile='Print'>"
        "<meta content='_default' anchor=' a ' order='-3'>"
        "<meta content='Раздел' order=' 7'>");
    const auto& d = page.contents.defaultList;
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].text, u"");
    EXPECT_FALSE(d[0].index);
    EXPECT_EQ(d[1].text, u"");
    EXPECT_EQ(d[1].anchor, u" a ");
    EXPECT_EQ(d[1].order, -3);
    EXPECT_EQ(d[2].text, u"Раздел");
    EXPECT_EQ(d[2].order, 7);
    ASSERT_EQ(page.contents.profiles.at(u"print").size(), 1u);
    EXPECT_TRUE(page.contents.profiles.at(u"print")[0].index);
    EXPECT_EQ(Error("<meta content='x' order='7 '>"), "wrong int 7 ");
    EXPECT_EQ(ReadOk("<meta chapter='A' order='7 '>").chapters.defaultList[0].order, 7);
}

TEST_F(PageMetaTest, KeywordsHelpIdsAndControl) {
    PageMeta page = ReadOk(
        "<meta name='KEYWORDS' content='a, b,,c, &amp;'>"
        "<meta name='keywords' content='\t\r\nd  e ,  '>"
        "<meta keyword='f' anchor=' x '>"
        "<meta help-id=' 100 ' anchor=' h '>"
        "<meta name='author' content='z'><meta http-equiv='refresh' content='1'>");
    std::vector<std::u16string> texts;
    for (const auto& k : page.keywords) texts.push_back(k.text + u"|" + k.anchor);
    EXPECT_EQ(texts,
              (std::vector<std::u16string>{u"a|", u"b|", u"c|", u"&amp;|", u"d e|", u"|", u"f|x"}));
    ASSERT_EQ(page.helpIds.size(), 1u);
    EXPECT_EQ(page.helpIds[0].id, u"100");
    EXPECT_EQ(page.helpIds[0].anchor, u"h");
    EXPECT_TRUE(page.contents.defaultList.empty());
    EXPECT_FALSE(page.ignored);
    EXPECT_TRUE(ReadOk("<meta control='Ignore'>").ignored);
    EXPECT_FALSE(ReadOk("<meta control='other'>").ignored);
}

TEST_F(PageMetaTest, CharsetFromBomAndDeclarationsLastOneWins) {
    const std::string title1251 = "<title>\xCF\xF0\xE8</title>";
    EXPECT_EQ(ReadOk(title1251).title, u"При");  // no declaration: not UTF-8, so 1251
    PageMeta page;
    ASSERT_TRUE(Read("\xEF\xBB\xBF<title>При</title><body>", page));
    EXPECT_EQ(page.title, u"При");
    ASSERT_TRUE(Read("\xEF\xBB\xBF<meta charset='windows-1251'>" + title1251 + "<body>", page));
    EXPECT_EQ(page.title, u"При");
    EXPECT_EQ(ReadOk("<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>"
                     "<META HTTP-EQUIV='content-type' CONTENT='text/html; charset=windows-1251'>" +
                     title1251)
                  .title,
              u"При");
    // A meta element's attributes use the page charset in effect at the end of the scan.
    EXPECT_EQ(ReadOk("<meta chapter='\xD0\xE0\xE7'><meta charset='windows-1251'>")
                  .chapters.defaultList[0]
                  .name,
              u"Раз");
}

// Pages read one after another on a thread share one extractor: nothing of a page, nor of a
// page that failed halfway, may reach the next one.
TEST_F(PageMetaTest, NothingCarriesOverToTheNextPage) {
    const std::string full =
        "<meta charset='windows-1251'><title>\xCF\xF0\xE8 long title of the first page</title>"
        "<meta chapter='_Root'><meta control='ignore'>"
        "<meta name='keywords' content='first keyword of the page, another long keyword'>"
        "<meta keyword='a keyword with an anchor' anchor='anchor-of-the-keyword'>"
        "<meta help-id='help.id.of.the.first.page' anchor='help-anchor-long'>"
        "<meta domain='domain-tag-long-enough' display-name='Display name of the domain'>"
        "<meta content='Content entry of the first page' anchor='content-anchor' profile='Print'>";
    const PageMeta first = ReadOk(full);
    EXPECT_TRUE(first.rootChapter);
    EXPECT_TRUE(first.ignored);
    EXPECT_EQ(Error(full + "<meta chapter='A'>"), "both chapter and root chapter are set");
    EXPECT_EQ(Error("<title>Title of a page that fails</title>"
                    "<meta chapter='Broken\\Chapter path that is long' order='x'>"),
              "wrong int x");

    // UTF-8 text that 1251 would read as two letters, and names of new lengths.
    const PageMeta second = ReadOk(
        "<title>\xD0\x9F</title><meta chapter='Second chapter step\\Step'>"
        "<meta keyword='short'><meta content='Second page contents text'>");
    EXPECT_EQ(second.title, u"П");
    EXPECT_FALSE(second.rootChapter);
    EXPECT_FALSE(second.ignored);
    ASSERT_EQ(second.chapters.defaultList.size(), 2u);
    EXPECT_EQ(second.chapters.defaultList[0].name, u"Second chapter step");
    EXPECT_EQ(second.chapters.defaultList[1].name, u"Step");
    EXPECT_TRUE(second.chapters.profiles.empty());
    ASSERT_EQ(second.keywords.size(), 1u);
    EXPECT_EQ(second.keywords[0].text, u"short");
    EXPECT_EQ(second.keywords[0].anchor, u"");
    EXPECT_TRUE(second.helpIds.empty());
    EXPECT_TRUE(second.domains.empty());
    ASSERT_EQ(second.contents.defaultList.size(), 1u);
    EXPECT_EQ(second.contents.defaultList[0].text, u"Second page contents text");
    EXPECT_EQ(second.contents.defaultList[0].anchor, u"");
    EXPECT_TRUE(second.contents.profiles.empty());
}

TEST_F(PageMetaTest, ScanErrorsAndMissingFilesAreLogged) {
    EXPECT_EQ(Error("<meta content='x' name=a\"b>"), "wrong not quoted attribute in tag meta");
    EXPECT_EQ(Error("<!-- never closed"), "cannot find end of comment");
    PageMeta page;
    LinesLog log;
    EXPECT_FALSE(ReadPageMeta(u"/nonexistent/kb/страница.html", log, page));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], "/nonexistent/kb/страница.html: cannot open file");
    // Only the head is read: broken markup after <body> does not matter.
    EXPECT_TRUE(Read("<head><title>t</title></head><body><p a=\"", page));
}

}  // namespace
}  // namespace kestrova
