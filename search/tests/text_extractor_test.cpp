#include "search/text_extractor.h"
#include "platform/codepage.h"
#include "search_test_util.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

std::u16string Extract(TextExtractor& extractor, const std::string& bytes) {
    extractor.ExtractBytes(bytes);
    return platform::WideToUtf16(extractor.GetText());
}

std::u16string Repeat(const std::u16string& s, int n) {
    std::u16string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(TextExtractorTest, TitleSevenTimesThenEveryBodyRun) {
    TextExtractor extractor;
    const std::u16string text = Extract(extractor,
                                        "<html><head><title dir=ltr>A &amp; B</title></head><BODY "
                                        "class=x>one<b>tw</b>o</body>tail<p>");
    // Spaces of <html> and <head>, the title block, the body runs each followed by a space,
    // one space per start tag (the text after the last '<' is never reported).
    const std::u16string expected = u"  " + Repeat(u"A & B ", 7) + u" " + u"one  tw o tail  ";
    EXPECT_EQ(text, expected);
}

TEST(TextExtractorTest, PageWithoutBodyHoldsOnlySpacesAndTwoBodiesRepeatTheTitle) {
    TextExtractor extractor;
    EXPECT_EQ(Extract(extractor, "<html><head><title>T</title></head><p>x</p>"), u"    ");
    const std::u16string twice = Extract(extractor, "<title>T</title><body><body>");
    EXPECT_EQ(twice, u" " + Repeat(u"T ", 7) + u"  " + Repeat(u"T ", 7) + u"  ");
}

TEST(TextExtractorTest, CharsetFromMetaOrByteOrderMarkUntilTheBodyStarts) {
    TextExtractor extractor;
    const std::string cp1251 = platform::EncodeText(platform::kCodePage1251, u"Привет");
    const std::string declared =
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
        "<body>" +
        cp1251 + "<meta charset=utf-8>" + cp1251 + "</body>";
    EXPECT_EQ(Extract(extractor, declared), std::u16string(9, u' ') + u"Привет Привет ");
    // A byte order mark means UTF-8; a later meta charset before the body overrides it.
    EXPECT_NE(Extract(extractor, "\xEF\xBB\xBF<body>\xD0\x94\xD0\xB0</body>").find(u"Да"),
              std::u16string::npos);
    EXPECT_NE(
        Extract(extractor, "\xEF\xBB\xBF<meta charset=windows-1251><body>" + cp1251 + "</body>")
            .find(u"Привет"),
        std::u16string::npos);
}

TEST(TextExtractorTest, PageWithoutDeclarationStartsFromTheDefaultAgain) {
    TextExtractor extractor;
    Extract(extractor, "<meta charset=windows-1251><body>x</body>");
    // Valid UTF-8 without a declaration is read as UTF-8, not with the previous page's 1251.
    EXPECT_NE(Extract(extractor, "<body>\xD0\x94\xD0\xB0 </body>").find(u"Да"),
              std::u16string::npos);
}

TEST(TextExtractorTest, MissingFileGivesFalseAndEmptyText) {
    testing::ScratchFolder dir;
    TextExtractor extractor;
    EXPECT_FALSE(extractor.Extract(dir.File("missing.htm")));
    EXPECT_STREQ(extractor.GetText(), L"");
    testing::WriteFile(dir.File("p.htm"), testing::Page("T", "body"));
    EXPECT_TRUE(extractor.Extract(dir.File("p.htm")));
    EXPECT_NE(std::wstring(extractor.GetText()).find(L"body"), std::wstring::npos);
}

}  // namespace
}  // namespace kestrova
