#include "platform/text.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrova::platform {
namespace {

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(SortKey, OrdersLikeTheComparisons) {
    const std::vector<std::u16string> texts{u"", u"a", u"A", u"ab", u"aB", u"б", u"Б", u"ё", u"е", u"Договор",
                                            u"договор", u"ДОГОВОР", u"z9", u"z10", u"a-b", u"ab\u00AD", u"Ω"};
    for (const auto& x : texts) {
        for (const auto& y : texts) {
            EXPECT_EQ(Sign(SortKey(x).compare(SortKey(y))), Sign(CompareText(x, y)));
            EXPECT_EQ(Sign(SortKeyNoCase(x).compare(SortKeyNoCase(y))), Sign(CompareTextNoCase(x, y)));
        }
    }
    // Long texts need a second pass of the key maker.
    const std::u16string longer(5000, u'ж');
    EXPECT_LT(SortKey(longer).compare(SortKey(longer + u"а")), 0);
}

}  // namespace
}  // namespace kestrova::platform
