#include "platform/text.h"

#include <gtest/gtest.h>

namespace kestrova::platform {
namespace {

TEST(Text, SimpleCaseMappingPerCodeUnit) {
    EXPECT_EQ(ToUpper(u"ёлка Tree"), u"ЁЛКА TREE");
    EXPECT_EQ(ToLower(u"ЗАКОН Law"), u"закон law");
    EXPECT_EQ(ToUpper(u"straße"), u"STRAßE");  // no expansion to SS: one unit for one unit
}

TEST(Text, CollationPutsLatinBeforeCyrillicAndLowerBeforeUpper) {
    EXPECT_LT(CompareText(u"zebra", u"арбуз"), 0);
    EXPECT_LT(CompareText(u"закон", u"Закон"), 0);
    EXPECT_EQ(CompareTextNoCase(u"закон", u"ЗАКОН"), 0);
    EXPECT_LT(CompareTextNoCase(u"акт", u"Закон"), 0);
    EXPECT_NE(CompareText(u"закон", u"ЗАКОН"), 0);
}

TEST(Text, CharacterClassesAndAscii) {
    EXPECT_TRUE(IsAlphaNumeric(u'Ж'));
    EXPECT_TRUE(IsAlphaNumeric(u'7'));
    EXPECT_FALSE(IsAlphaNumeric(u'-'));
    EXPECT_TRUE(EqualsAsciiNoCase("META", "meta"));
    EXPECT_FALSE(EqualsAsciiNoCase("meta", "metas"));
}

// Byte-wise equality must still see every unit whole: units that differ in one byte only, and
// empty views with or without storage.
TEST(Text, SameCodeUnitsComparesWholeUnits) {
    EXPECT_TRUE(SameCodeUnits(u"Глава 1", std::u16string(u"Глава 1")));
    EXPECT_FALSE(SameCodeUnits(u"Глава 1", u"глава 1"));
    EXPECT_FALSE(SameCodeUnits(u"\u0100", u"\u0001"));
    EXPECT_FALSE(SameCodeUnits(u"\u0101", u"\u0100"));
    EXPECT_FALSE(SameCodeUnits(u"ab", u"abc"));
    EXPECT_TRUE(SameCodeUnits(std::u16string_view(), u""));
    EXPECT_FALSE(SameCodeUnits(std::u16string_view(), u"a"));
}

}  // namespace
}  // namespace kestrova::platform
