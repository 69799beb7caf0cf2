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

}  // namespace
}  // namespace kestrova::platform
