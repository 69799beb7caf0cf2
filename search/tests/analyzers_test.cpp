#include "search/internal/analyzers.h"
#include "platform/codepage.h"
#include "search/index_store.h"
#include "search/internal/morpho_token_filter.h"
#include "search/searcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

using lucene::analysis::Analyzer;
using lucene::analysis::Token;
using lucene::analysis::TokenStream;
using lucene::analysis::standard::KsvLemmatizingAnalyzer;
using lucene::analysis::standard::KsvPreciseAnalyzer;

struct Term {
    std::wstring text;
    int32_t start;
    bool operator==(const Term&) const = default;
};

std::vector<Term> Terms(Analyzer& analyzer, const std::wstring& text) {
    lucene::util::StringReader reader(text.c_str());
    std::unique_ptr<TokenStream> stream(analyzer.tokenStream(L"text", &reader));
    std::vector<Term> terms;
    Token token;
    while (stream->next(&token)) terms.push_back({token.termBuffer(), token.startOffset()});
    return terms;
}

std::vector<std::wstring> Texts(const std::vector<Term>& terms) {
    std::vector<std::wstring> texts;
    for (const Term& t : terms) texts.push_back(t.text);
    return texts;
}

// A stand-in lemmatizer over code page 1251: upper case, and the case endings И and У become А.
std::string FakeForm(std::string_view word) {
    std::u16string wide = platform::DecodeBytes(platform::kCodePage1251, word);
    for (char16_t& c : wide) {
        if (c >= u'а' && c <= u'я') c = static_cast<char16_t>(c - 0x20);
    }
    if (!wide.empty() && (wide.back() == u'И' || wide.back() == u'У')) wide.back() = u'А';
    return platform::EncodeText(platform::kCodePage1251, wide);
}

TEST(AnalyzersTest, LemmatizingChainGivesLowerCaseDictionaryFormsAtTheSamePlaces) {
    KsvLemmatizingAnalyzer analyzer(FakeForm);
    const std::vector<Term> terms = Terms(analyzer, L"Книги в книгу the THE Word");
    EXPECT_EQ(Texts(terms), (std::vector<std::wstring>{L"книга", L"в", L"книга", L"word"}));
    EXPECT_EQ(terms[0].start, 0);
    EXPECT_EQ(terms[2].start, 8);
}

TEST(AnalyzersTest, PreciseChainKeepsLetterCaseAndStopsOnlyLowerCaseStopWords) {
    KsvPreciseAnalyzer analyzer;
    EXPECT_EQ(Texts(Terms(analyzer, L"Книга книга the The a+b")),
              (std::vector<std::wstring>{L"Книга", L"книга", L"The", L"b"}));
}

TEST(AnalyzersTest, BothChainsStopTheThirtyFiveEnglishStopWords) {
    size_t count = 0;
    while (KsvStopWords[count]) ++count;
    EXPECT_EQ(count, 35u);
    KsvPreciseAnalyzer precise;
    KsvLemmatizingAnalyzer lemmatizing(FakeForm);
    for (Analyzer* analyzer : std::vector<Analyzer*>{&precise, &lemmatizing}) {
        EXPECT_TRUE(Terms(*analyzer, L"a s t the with into").empty());
        EXPECT_EQ(Texts(Terms(*analyzer, L"u t v")), (std::vector<std::wstring>{L"u", L"v"}));
    }
}

TEST(AnalyzersTest, FingerprintsTellTheKindsApartAndNameTheMorphology) {
    const std::string lem = AnalyzerFingerprint(kIndexLemmatizing);
    const std::string prec = AnalyzerFingerprint(kIndexPrecise);
    EXPECT_EQ(prec.rfind("prec: stop words ", 0), 0u) << prec;
    EXPECT_EQ(lem.rfind("lem: stop words ", 0), 0u) << lem;
    EXPECT_NE(lem.find("; dictionaries "), std::string::npos) << lem;
    EXPECT_NE(lem.find("; choice greatest-weight"), std::string::npos) << lem;
    EXPECT_EQ(AnalyzerFingerprint(kIndexLemmatizing), lem);
    EXPECT_THROW(AnalyzerFingerprint(static_cast<IndexKind>(2)), std::runtime_error);
}

TEST(AnalyzersTest, WritersReuseOneChainAndTheFactoryKnowsTwoKinds) {
    KsvPreciseAnalyzer analyzer;
    for (int i = 0; i < 3; ++i) {
        lucene::util::StringReader reader(L"один два");
        TokenStream* stream = analyzer.reusableTokenStream(L"text", &reader);
        Token token;
        int n = 0;
        while (stream->next(&token)) ++n;
        EXPECT_EQ(n, 2);
    }
    EXPECT_TRUE(CreateAnalyzer(kIndexLemmatizing));
    EXPECT_TRUE(CreateAnalyzer(kIndexPrecise));
    EXPECT_FALSE(CreateAnalyzer(static_cast<IndexKind>(7)));
}

TEST(AnalyzersTest, LemmatizingChainAsksForEachDistinctWordOnceAcrossDocuments) {
    std::vector<std::string> asked;
    KsvLemmatizingAnalyzer analyzer([&asked](std::string_view word) {
        asked.emplace_back(word);
        return FakeForm(word);
    });
    const std::wstring documents[] = {L"Книги в книгу", L"книгу Книги КНИГИ", L"в книгу"};
    std::vector<std::wstring> terms;
    for (const std::wstring& text : documents) {
        lucene::util::StringReader reader(text.c_str());
        TokenStream* stream = analyzer.reusableTokenStream(L"text", &reader);
        Token token;
        while (stream->next(&token)) terms.emplace_back(token.termBuffer());
    }
    EXPECT_EQ(terms, (std::vector<std::wstring>{L"книга", L"в", L"книга", L"книга", L"книга",
                                                L"книга", L"в", L"книга"}));
    // The tokenizer lower-cases nothing: Книги and КНИГИ are two words.
    EXPECT_EQ(asked.size(), 4u);
}

TEST(AnalyzersTest, RememberedFormsStopGrowingAtTheCapacityAndStayRight) {
    int calls = 0;
    auto form = lucene::analysis::standard::RememberingDictionaryForm(
        [&calls](std::string_view word) {
            ++calls;
            return std::string(word) + "!";
        },
        1);
    EXPECT_EQ(form("a"), "a!");
    EXPECT_EQ(form("b"), "b!");
    EXPECT_EQ(form("a"), "a!");
    EXPECT_EQ(form("b"), "b!");
    EXPECT_EQ(calls, 3);  // a once (kept), b twice (no room)
}

TEST(QueryTextTest, PlainQueriesEscapeEverySpecialCharacter) {
    EXPECT_EQ(PrepareQueryText(u"a+b title:x \"q\" (c) \\", false),
              u"a\\+b title\\:x \\\"q\\\" \\(c\\) \\\\");
    EXPECT_EQ(PrepareQueryText(u"-&|!{}[]^~*?", false), u"\\-\\&\\|\\!\\{\\}\\[\\]\\^\\~\\*\\?");
    EXPECT_EQ(PrepareQueryText(u"title:word \"a b\"*", true), u"title word \"a b\"*");
}

}  // namespace
}  // namespace kestrova
