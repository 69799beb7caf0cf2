#include "model/page/charset.h"
#include "model/page/page_strings.h"
#include "model/page/references.h"
#include "model/page/text_decoder.h"
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

TEST(Charset, ContentTypeSearchIsExactAndKeepsTheRest) {
    std::string cs;
    ASSERT_TRUE(CharsetFromContentType("text/html; charset=windows-1251", cs));
    EXPECT_EQ(cs, "windows-1251");
    EXPECT_EQ(CodePageFromCharset(cs), 1251u);
    ASSERT_TRUE(CharsetFromContentType("text/html; charset= UTF-8 \t", cs));
    EXPECT_EQ(cs, "UTF-8");
    EXPECT_EQ(CodePageFromCharset(cs), 65001u);
    ASSERT_TRUE(CharsetFromContentType("text/html; charset=utf-8; x=y", cs));
    EXPECT_EQ(cs, "utf-8; x=y");
    EXPECT_EQ(CodePageFromCharset(cs), 0u);
    cs = "unchanged";
    EXPECT_FALSE(CharsetFromContentType("text/html; Charset=utf-8", cs));
    EXPECT_FALSE(CharsetFromContentType("charset", cs));
    EXPECT_EQ(cs, "unchanged");
    EXPECT_EQ(CodePageFromCharset("WINDOWS-1251"), 1251u);
    EXPECT_EQ(CodePageFromCharset("koi8-r"), 0u);
    EXPECT_EQ(CodePageFromCharset(""), 0u);
}

TEST(TextDecoder, ConvertsByCodePageUpToTheFirstZero) {
    EXPECT_EQ(TextDecoder("windows-1251").Convert("\xCF\xF0\xE8"), u"При");
    EXPECT_EQ(TextDecoder("utf-8").Convert("При\0вет"), u"При");
    EXPECT_EQ(TextDecoder(std::string_view("utf-8")).Convert(std::string_view("a\0b", 3)), u"a");
    // Code page 0 reads valid UTF-8 as UTF-8 and anything else as 1251.
    EXPECT_EQ(TextDecoder().Convert("Привет"), u"Привет");
    EXPECT_EQ(TextDecoder().Convert("\xCF\xF0\xE8"), u"При");
    EXPECT_EQ(TextDecoder("utf-8").Convert("\xCF"), u"\uFFFD");
    EXPECT_EQ(TextDecoder("utf-8").Convert("\xD0\x9F\xD0"), u"П\uFFFD");
    EXPECT_EQ(TextDecoder().Convert("€ и"), u"€ и");
    EXPECT_EQ(TextDecoder().Convert("\xC0\x80"), u"\u0410\u0402");  // overlong, so not UTF-8
    EXPECT_EQ(TextDecoder("windows-1251").Convert("\xD0\x9F"), u"\u0420\u045F");
}

// The one-pass decoding of short UTF-8 sequences must agree with the full conversion on every
// edge of validity: overlong forms, surrogates, cut sequences, four-byte characters.
TEST(TextDecoder, OnePassAgreesWithTheFullConversion) {
    const std::vector<std::string> samples{"plain",
                                           "\xE2\x80\x94 dash \xC2\xAB\xD0\xB6\xC2\xBB",
                                           "\xE0\xA0\x80",
                                           "\xE0\x9F\xBF",
                                           "\xED\x9F\xBF",
                                           "\xED\xA0\x80",
                                           "\xEF\xBF\xBF",
                                           "\xEF\xBF\xBD",
                                           "x\xE2\x80",
                                           "\xE2",
                                           "\xE2\x28\xA1",
                                           "\xE2\x82\x28",
                                           "\xC1\xBF",
                                           "\xC2\x80",
                                           "\xF0\x9F\x98\x80 smile",
                                           "\xEE\x80\x80\xD0\x96",
                                           "\x80",
                                           "\xFF\xFE"};
    for (const std::string& bytes : samples) {
        for (const uint32_t page :
             {platform::kCodePageAnsi, platform::kCodePageUtf8, platform::kCodePage1251}) {
            EXPECT_EQ(TextDecoder(page).Convert(bytes), platform::DecodeBytes(page, bytes))
                << bytes << " " << page;
        }
    }
    EXPECT_EQ(TextDecoder().Convert("\xE2\x80\x94\xE2\x84\x96"), u"\u2014\u2116");
}

TEST(References, DecodeNamedAndNumeric) {
    EXPECT_EQ(NamedReferenceCount(), 253u);
    EXPECT_EQ(DecodeReferences(u"&lt;b&gt;"), u"<b>");
    EXPECT_EQ(DecodeReferences(u"&apos;&quot;&amp;&nbsp;&euro;&hellip;"), u"'\"&\u00A0€…");
    EXPECT_EQ(DecodeReferences(u"&#1040;&#x410;&#X410;"), u"ААА");
    EXPECT_EQ(DecodeReferences(u"&Agrave;&agrave;&larr;&lArr;&thetasym;&Omega;&diams;"),
              u"\u00C0\u00E0\u2190\u21D0\u03D1\u03A9\u2666");
    EXPECT_EQ(DecodeReferences(u"&#65;&#65abc;"), u"AA");
    EXPECT_EQ(DecodeReferences(u"&#128512;"), u"\U0001F600");
    EXPECT_EQ(DecodeReferences(u"&#99999999999999;"), u"\uFFFD");
}

TEST(References, WhatDoesNotDecodeStaysAsItStands) {
    for (const char16_t* same : {u"Tom & Jerry", u"AT&T", u"&foo;", u"&#0;", u"&#;", u"&#9;",
                                 u"&#x;", u"&#xZ;", u"&AMP;", u"x &amp", u"&", u"", u"plain"}) {
        EXPECT_EQ(DecodeReferences(same), same);
    }
    EXPECT_EQ(DecodeReferences(u"&&amp;"), u"&&");
    EXPECT_EQ(DecodeReferences(u"&a-&lt;"), u"&a-<");
    // Letters of any script extend a name, so such a reference is looked up and not found.
    EXPECT_EQ(DecodeReferences(u"&ампер;"), u"&ампер;");
}

TEST(PageStrings, TrimOnlyTheFiveSpaces) {
    EXPECT_EQ(TrimSpaces(std::string_view(" \t\r\n\vA B\v \n")), "A B");
    EXPECT_EQ(TrimSpaces(std::string_view("\fA\f")), "\fA\f");
    EXPECT_EQ(TrimSpaces(std::u16string_view(u" \u00A0А \t")), u"\u00A0А");
    EXPECT_EQ(TrimSpaces(std::string_view("   ")), "");
    EXPECT_EQ(LowerCase(u"PrINT Печать"), u"print печать");
    EXPECT_EQ(AnsiFromText(u"Данные"), "Данные");
    EXPECT_EQ(AnsiFromText(u""), "");
}

}  // namespace
}  // namespace kestrova
