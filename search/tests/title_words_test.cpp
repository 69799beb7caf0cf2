#include "search/title_words.h"
#include "search/string_search.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace kestrova {
namespace {

constexpr uint32_t kRelated = kRelatedWordsBit;

// Titles and queries with what makes word matching hard: letter case, ё and е, inflected forms,
// digits and underscores inside words, hyphens and apostrophes between them, Latin letters,
// characters that code page 1251 cannot hold, repeated words, no title at all.
const std::vector<const char16_t*> kTitles = {u"Налог на прибыль организаций",
                                              nullptr,
                                              u"",
                                              u"НАЛОГ НА ПРИБЫЛЬ: налог, налоги и налогом",
                                              u"Статья 12. Порядок уплаты налога",
                                              u"Ёлка и елка",
                                              u"кто-то l'eau ab_12cd",
                                              u"漢字 налог 漢字",
                                              u"Договоры, договора и договор",
                                              u"Статья 12345",
                                              u"  ,;  ",
                                              u"Tax law and TAX",
                                              u"налог налог налог"};

const char16_t* const kQueries[] = {u"налог",       u"НАЛОГИ прибыль",
                                    u"ёлка",        u"елка",
                                    u"договор",     u"12",
                                    u"ab_12cd кто", u"tax",
                                    u"漢字",        u"",
                                    nullptr,        u"+-&|",
                                    u"отсутствие",  u"налогом договорами Статья"};

TEST(TitleWordsTest, ScoresAreTheMatchersCountsForEveryTitleQueryAndMode) {
    const TitleWords words(kTitles);
    for (const uint32_t options : {0u, kRelated, 1u, 1u | kRelated}) {
        for (size_t q = 0; q < std::size(kQueries); ++q) {
            const char16_t* query = kQueries[q];
            const std::vector<int32_t> scores = words.Scores(query, options);
            ASSERT_EQ(scores.size(), kTitles.size());
            const auto matcher = CreateStringSearch(query, options);
            for (size_t t = 0; t < kTitles.size(); ++t) {
                EXPECT_EQ(scores[t], matcher->CountMatches(kTitles[t]))
                    << "title " << t << " query " << q << " options " << options;
            }
        }
    }
}

TEST(TitleWordsTest, ExactAndRelatedScoresOfKnownTitles) {
    const TitleWords words(kTitles);
    const std::vector<int32_t> exact = words.Scores(u"налог", 0);
    EXPECT_EQ(exact[3], 2);  // НАЛОГ and налог; налоги and налогом are other words
    EXPECT_EQ(exact[12], 3);  // each occurrence counts
    EXPECT_EQ(exact[1], 0);   // no title
    const std::vector<int32_t> related = words.Scores(u"налог", kRelated);
    EXPECT_EQ(related[3], 4);  // every form of the noun
    EXPECT_EQ(related[4], 1);  // налога
}

}  // namespace
}  // namespace kestrova
