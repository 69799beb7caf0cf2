// Queries of awkward text on a real index: a plain query never fails, a query-language query
// gives hits or the library's syntax error, and titles-only search takes any text.
#include "platform/codepage.h"
#include "search/index_builder.h"
#include "search/searcher.h"
#include "search/string_search.h"
#include "search/title_words.h"
#include "search_test_util.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::Page;
using testing::PageFiles;
using testing::RecordingControl;
using testing::ScratchFolder;
using testing::WriteFile;

constexpr ModelUid kUid{7};

const std::u16string kNasty[] = {
    u"",
    u" ",
    u"\t\n",
    u"AND",
    u"OR",
    u"NOT",
    u"AND OR NOT",
    u"заземление AND",
    u"OR заземление",
    u"\"",
    u"\"\"",
    u"\"заземление",
    u"(",
    u")",
    u"((а)",
    u"[1 TO",
    u"{a TO b]",
    u"*",
    u"?",
    u"~",
    u"заз*",
    u"*емление",
    u"з?земление",
    u"заземление~",
    u"заземление~0.5",
    u"\"а б\"~3",
    u"^2",
    u"заземление^",
    u"заземление^x",
    u"text:",
    u":",
    u"title:word",
    u"relPath:x",
    u"\\",
    u"a\\",
    u"+-&|!(){}[]^\"~*?:\\",
    u"&&",
    u"||",
    u"!",
    u"-",
    u"+заземление -договор",
    u"ёмкость Ёмкость",
    u"\u0000x",
    u"\xFFFD",
    std::u16string(1, u'\xD800'),
    std::u16string(300, u'а'),
    u"a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a a",
};

class NastyQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir_.File("kb/ground.htm"),
                  Page("Защитное заземление", "Заземление электроустановок, ёмкость"));
        WriteFile(dir_.File("kb/contract.htm"),
                  Page("Договор", "Трудовой договор; title:word a+b"));
        PageFiles files(dir_.Path16() + u"/kb", {u"ground.htm", u"contract.htm"});
        RecordingControl control;
        BuildIndexes(files, data_, kUid, control);
        ASSERT_TRUE(AreIndexesCurrent(data_, kUid));
    }

    // Runs a query; false when the search failed with the library's error.
    bool Run(IndexKind kind, bool queryLanguage, const std::u16string& query,
             std::vector<std::u16string>& paths) {
        Searcher searcher(data_, kind, queryLanguage);
        try {
            searcher.Search(query, paths);
            return true;
        } catch (const SearchError&) {
            return false;
        }
    }

    ScratchFolder dir_;
    const std::u16string data_ = dir_.Path16() + u"/data";
};

TEST_F(NastyQueryTest, PlainQueriesNeverFailAndQueryLanguageFailsOnlyWithTheLibraryError) {
    const TitleWords titles({u"Защитное заземление", u"Договор AND (NOT) *", nullptr});
    for (const std::u16string& query : kNasty) {
        SCOPED_TRACE(platform::Utf16ToUtf8(query));
        for (const IndexKind kind : kIndexKinds) {
            std::vector<std::u16string> paths;
            EXPECT_TRUE(Run(kind, false, query, paths));
            EXPECT_LE(paths.size(), 2u);
            paths.clear();
            Run(kind, true, query, paths);  // any other exception or a crash fails the test
            EXPECT_LE(paths.size(), 2u);
        }
        // Titles-only search takes any text: a score for every title.
        for (const uint32_t options : {0u, kRelatedWordsBit}) {
            EXPECT_EQ(titles.Scores(query.c_str(), options).size(), 3u);
        }
    }
}

TEST_F(NastyQueryTest, OperatorWordsArePlainWordsWithoutTheQueryLanguage) {
    std::vector<std::u16string> paths;
    ASSERT_TRUE(Run(kIndexPrecise, false, u"NOT заземление", paths));
    EXPECT_EQ(paths, std::vector<std::u16string>{u"ground.htm"});
    paths.clear();
    ASSERT_TRUE(Run(kIndexPrecise, false, u"договор AND", paths));
    EXPECT_EQ(paths, std::vector<std::u16string>{u"contract.htm"});
    // The same words are operators in the query language; words that merely contain them are not.
    paths.clear();
    ASSERT_TRUE(Run(kIndexPrecise, true, u"заземление AND NOT договор", paths));
    EXPECT_EQ(paths, std::vector<std::u16string>{u"ground.htm"});
    EXPECT_EQ(PrepareQueryText(u"ANDROID OR_ NOT", false), u"ANDROID OR_ \\NOT");
    EXPECT_FALSE(Run(kIndexPrecise, true, u"договор AND", paths));
}

TEST_F(NastyQueryTest, AQueryWithoutWordsFindsNothingInEitherMode) {
    for (const bool queryLanguage : {false, true}) {
        Searcher searcher(data_, kIndexLemmatizing, queryLanguage);
        std::vector<std::u16string> paths;
        EXPECT_FALSE(searcher.Search(u" \t ", paths));
        EXPECT_FALSE(searcher.Search(u"", paths));
        EXPECT_TRUE(paths.empty());
    }
}

}  // namespace
}  // namespace kestrova
