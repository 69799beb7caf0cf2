#include "search/string_search.h"
#include "search/internal/word_splitter.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(WordSplitterTest, LettersDigitsAndUnderscoreFormWords) {
    EXPECT_EQ(SplitWords(u"кто-то l'eau ab_12cd, X"),
              (std::vector<std::u16string>{u"кто", u"то", u"l", u"eau", u"ab_12cd", u"X"}));
    const std::vector<WordSpan> spans = SplitWordSpans(u"  один два");
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[1].start, 7u);
    EXPECT_EQ(spans[1].length, 3u);
    EXPECT_TRUE(SplitWords(u"").empty());
    std::set<std::u16string> set{u"stale"};
    FillWordSet(u"Ёлка ЁЛКА ёлка", set);
    EXPECT_EQ(set, (std::set<std::u16string>{u"ёлка"}));
}

TEST(StringSearchTest, ExactMatchingIgnoresCaseAndCountsEveryOccurrence) {
    auto matcher = CreateStringSearch(u"налог на прибыль", 0);
    EXPECT_EQ(matcher->CountMatches(u"НАЛОГ НА ПРИБЫЛЬ организаций"), 3);
    EXPECT_EQ(matcher->CountMatches(u"налог, налог и налоги"), 2);
    EXPECT_EQ(matcher->CountMatches(nullptr), 0);
    EXPECT_EQ(matcher->CountMatches(u""), 0);
    EXPECT_EQ(CreateStringSearch(u"ёлка", 0)->CountMatches(u"елка"), 0);
}

class FakeFilter final : public IWordFilter {
public:
    bool Matches(const char16_t* word, std::size_t length) override {
        const std::u16string w(word, length);
        return w.rfind(u"налог", 0) == 0;  // every form of the one noun
    }
};

TEST(StringSearchTest, RelatedMatchingAsksTheFilterForEveryWord) {
    StringSearch_Related_CI_impl_ matcher(std::make_unique<FakeFilter>());
    EXPECT_EQ(matcher.CountMatches(u"налог и налоги, налогом"), 3);
    EXPECT_EQ(matcher.CountMatches(nullptr), 0);
    StringSearch_Related_CI_impl_ none(nullptr);
    EXPECT_EQ(none.CountMatches(u"налог"), 0);
}

}  // namespace
}  // namespace kestrova
