#include "platform/codepage.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

namespace kestrova::platform {
namespace {

TEST(CodePage, Cp1251MatchesIcuTableAndRoundTripsEveryByte) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* icu = ucnv_open("windows-1251", &status);
    ASSERT_TRUE(U_SUCCESS(status));
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const char16_t unit = Cp1251ToUnit(static_cast<unsigned char>(b));
        EXPECT_EQ(Cp1251FromUnit(unit), byte) << "byte " << b;
        if (b == 0x98) continue;  // unassigned in the code page; kept as U+0098
        UChar icuUnit[4];
        status = U_ZERO_ERROR;
        const int32_t n = ucnv_toUChars(icu, icuUnit, 4, &byte, 1, &status);
        ASSERT_EQ(n, 1);
        EXPECT_EQ(static_cast<char16_t>(icuUnit[0]), unit) << "byte " << b;
    }
    ucnv_close(icu);
}

TEST(CodePage, Cp1251EncodingReplacesWhatItCannotHold) {
    EXPECT_EQ(EncodeText(kCodePage1251, u"Ёж €"), "\xA8\xE6 \x88");
    EXPECT_EQ(EncodeText(kCodePage1251, u"日本"), "??");
    EXPECT_EQ(EncodeText(kCodePage1251, u"a\U0001F600b"), "a?b");  // one pair, one '?'
}

TEST(CodePage, Utf8InvalidSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("\xD0\x9F\xD1\x80\xD0\xB8"), u"При");
    EXPECT_EQ(Utf8ToUtf16("a\xFFz"), u"a\uFFFDz");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");    // surrogate
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD");        // cut short
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");  // unpaired surrogate
}

TEST(CodePage, AnsiCodePageIsUtf8WhenValidElse1251) {
    EXPECT_EQ(DecodeBytes(kCodePageAnsi, "\xD0\x9F"), u"П");
    EXPECT_EQ(DecodeBytes(kCodePageAnsi, "\xCF\xF0\xE8"), u"При");
    EXPECT_EQ(DecodeBytes(kCodePage1251, "\xD0\x9F"), u"Рџ");
    EXPECT_EQ(DecodeBytes(kCodePageUtf8, "\xCF"), u"\uFFFD");
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));
    EXPECT_FALSE(IsValidUtf8("\xCF\xF0"));
}

TEST(CodePage, WideConversionKeepsSupplementaryCharacters) {
    EXPECT_EQ(Utf16ToWide(u"Я\U0001F600"), std::wstring(L"Я\U0001F600"));
    EXPECT_EQ(WideToUtf16(L"Я\U0001F600"), u"Я\U0001F600");
}

}  // namespace
}  // namespace kestrova::platform
