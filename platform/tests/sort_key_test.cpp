#include "platform/text.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrova::platform {
namespace {

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(SortKey, OrdersLikeTheComparisons) {
    const std::vector<std::u16string> texts{
        u"",        u"a",       u"A",       u"ab", u"aB",  u"б",   u"Б",        u"ё", u"е",
        u"Договор", u"договор", u"ДОГОВОР", u"z9", u"z10", u"a-b", u"ab\u00AD", u"Ω"};
    for (const auto& x : texts) {
        for (const auto& y : texts) {
            EXPECT_EQ(Sign(SortKey(x).compare(SortKey(y))), Sign(CompareText(x, y)));
            EXPECT_EQ(Sign(SortKeyNoCase(x).compare(SortKeyNoCase(y))),
                      Sign(CompareTextNoCase(x, y)));
        }
    }
    // Long texts need a second pass of the key maker.
    const std::u16string longer(5000, u'ж');
    EXPECT_LT(SortKey(longer).compare(SortKey(longer + u"а")), 0);
}

// The case-insensitive key is cut from the case-sensitive one: it must be exactly the key the
// collator makes, for every kind of text.
TEST(SortKey, NoCaseKeyComesFromTheFrontOfTheCaseKey) {
    std::vector<std::u16string> texts{
        u"",       u" ",      u"a",           u"A",      u"Договор",  u"ДОГОВОР", u"ёЁеЕ",
        u"z10 Z9", u"a-b",    u"ab\u00AD",    u"Ω",      u"\u0301",   u"e\u0301", u"\u00E9",
        u"Æ ß ŉ",  u"日本語", u"\U0001F600x", u"\xD800", u"a\x0000b", u"\t\n",    u"..",
        u"Ⅻ ½ ﬁ",  u"ǅ",      u"İı",          u"ﾊﾟ",     u"㌀",       u"한국어"};
    for (char16_t c = 1; c < 0x600; c += 7)
        texts.push_back(std::u16string{u'x', c, static_cast<char16_t>(c + 3), u'Y'});
    texts.push_back(std::u16string(3000, u'Ж') + u"ж");
    for (const auto& text : texts) {
        EXPECT_EQ(NoCaseSortKeyOf(SortKey(text)), SortKeyNoCase(text))
            << std::string(text.begin(), text.end());
    }
}

// Keys just below, at and above the size the key maker first tries are whole and in order.
TEST(SortKey, KeysAroundTheFirstBufferSizeAreWhole) {
    for (size_t n = 100; n <= 200; ++n) {
        const std::u16string text = std::u16string(n, u'д') + u"Z";
        const std::u16string next = std::u16string(n, u'д') + u"z";
        const std::string key = SortKey(text);
        ASSERT_FALSE(key.empty());
        EXPECT_NE(key.back(), '\0') << n;
        EXPECT_EQ(Sign(key.compare(SortKey(next))), Sign(CompareText(text, next))) << n;
        EXPECT_EQ(NoCaseSortKeyOf(key), SortKeyNoCase(text)) << n;
        EXPECT_EQ(SortKeyNoCase(text), SortKeyNoCase(next)) << n;
    }
}

}  // namespace
}  // namespace kestrova::platform
