// Dictionaries written by the compiler, read back by the lemmatizer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/codepage.h"
#include "platform/tests/scratch_dir.h"
#include "tools/dictc/alphabet.h"
#include "tools/dictc/check.h"

namespace kestrova::dictc {
namespace {

std::string Cp(const char* utf8) {
    return platform::EncodeText(platform::kCodePage1251, platform::Utf8ToUtf16(utf8));
}

class RoundTrip : public ::testing::Test {
protected:
    static Lexicon MakeLexicon() {
        Lexicon lexicon;
        const char* cases[] = {"nomn", "gent", "datv", "accs", "ablt", "loct"};
        const char* sg[] = {"", "а", "у", "", "ом", "е"};
        const char* pl[] = {"ы", "ов", "ам", "ы", "ами", "ах"};
        for (const char* stem : {"закон", "стол", "слон", "налог", "кот", "зонт"}) {
            std::vector<std::pair<std::string, std::string>> forms;
            for (int i = 0; i < 6; ++i)
                forms.push_back(
                    {std::string(stem) + sg[i], std::string("NOUN,inan,masc sing,") + cases[i]});
            for (int i = 0; i < 6; ++i)
                forms.push_back(
                    {std::string(stem) + pl[i], std::string("NOUN,inan,masc plur,") + cases[i]});
            lexicon.Add(forms);
        }
        lexicon.Add({{"ёлка", "NOUN,inan,femn sing,nomn"},
                     {"ёлки", "NOUN,inan,femn sing,gent"},
                     {"ёлок", "NOUN,inan,femn plur,gent"}});
        lexicon.Add({{"сделать", "INFN,perf,tran"},
                     {"сделал", "VERB,perf,tran masc,sing,past,indc"},
                     {"сделала", "VERB,perf,tran femn,sing,past,indc"}});
        lexicon.Add(
            {{"большой", "ADJF sing,masc,nomn"}, {"наибольший", "ADJF,Supr sing,masc,nomn"}});
        lexicon.Add({{"в", "PREP"}});
        return lexicon;
    }

    void Build(const Options& options) {
        dir_ = kestrova::testing::FreshScratchDir("dictc_roundtrip");
        WriteDictionaries(lexicon_, dir_, options);
        dictionary_ = std::make_unique<FolderDictionary>(dir_);
        ASSERT_TRUE(dictionary_->Holder().Start()) << dictionary_->Holder().FailureMessage();
    }

    std::string Lemma(const char* utf8) { return dictionary_->Holder().DictionaryForm(Cp(utf8)); }

    Lexicon lexicon_ = MakeLexicon();
    std::filesystem::path dir_;
    std::unique_ptr<FolderDictionary> dictionary_;
};

TEST_F(RoundTrip, EveryFormIsFoundWithItsLemma) {
    Build({});
    EXPECT_EQ(Lemma("ЗАКОНЫ"), Cp("ЗАКОН"));
    EXPECT_EQ(Lemma("налогами"), Cp("НАЛОГ"));
    EXPECT_EQ(Lemma("Ёлки"), Cp("ЕЛКА"));
    EXPECT_EQ(Lemma("ЕЛОК"), Cp("ЕЛКА"));
    EXPECT_EQ(Lemma("СДЕЛАЛА"), Cp("СДЕЛАТЬ"));
    EXPECT_EQ(Lemma("НАИБОЛЬШИЙ"), Cp("БОЛЬШОЙ"));
    dictionary_->Holder().Use([&](const Lemmatizer* lemmatizer) {
        ASSERT_NE(lemmatizer, nullptr);
        LexiconCheck check = CheckLexicon(lexicon_, {}, *lemmatizer);
        EXPECT_EQ(check.forms, 6u * 10 + 3 + 3 + 2 + 1);  // nominative = accusative spelling
        EXPECT_EQ(check.notFound, 0u);
        EXPECT_EQ(check.wrongLemma, 0u);
        EXPECT_TRUE(check.examples.empty());
    });
}

TEST_F(RoundTrip, UnknownWordsArePredictedFromTheirEndings) {
    Build({});
    EXPECT_EQ(Lemma("ПОМИДОРАМИ"), Cp("ПОМИДОР"));
    EXPECT_EQ(Lemma("КРОКОДИЛОВ"), Cp("КРОКОДИЛ"));
    std::vector<Analysis> analyses;
    dictionary_->Holder().Use([&](const Lemmatizer* lemmatizer) {
        lemmatizer->Analyse(Cp("ПОМИДОРАМИ"), false, false, true, analyses);
        ASSERT_FALSE(analyses.empty());
        EXPECT_FALSE(analyses[0].found);
        // Closed classes are never predicted: no analysis of an unknown word uses the preposition.
        lemmatizer->Analyse(Cp("ЖВ"), false, false, true, analyses);
        for (const Analysis& a : analyses) EXPECT_NE(lemmatizer->NormalForm(a), Cp("В"));
    });
}

TEST_F(RoundTrip, HeldOutLexemesAreLeftOutAndPredicted) {
    Options options;
    options.holdOutPercent = 30;
    Build(options);
    size_t held = 0;
    for (size_t i = 0; i < lexicon_.lexemes.size(); ++i) held += IsHeldOut(i, options);
    ASSERT_GT(held, 0u);
    dictionary_->Holder().Use([&](const Lemmatizer* lemmatizer) {
        LexiconCheck check = CheckLexicon(lexicon_, options, *lemmatizer);
        EXPECT_EQ(check.notFound, 0u);
        EXPECT_EQ(check.wrongLemma, 0u);
        EXPECT_GT(check.heldOutForms, 0u);
        EXPECT_EQ(check.heldOutFound + check.heldOutPredicted, check.heldOutForms);
    });
}

TEST_F(RoundTrip, NamedWordChecksReportWhatIsMissing) {
    Build({});
    dictionary_->Holder().Use([&](const Lemmatizer* lemmatizer) {
        std::vector<NamedCheck> checks = CheckNamedWords(*lemmatizer);
        ASSERT_GE(checks.size(), 8u);
        EXPECT_TRUE(checks[0].passed) << checks[0].detail;  // ЗАКОНЫ
        EXPECT_TRUE(checks[3].passed) << checks[3].detail;  // ЕЛКИ
        EXPECT_TRUE(checks[6].passed) << checks[6].detail;  // СДЕЛАЛ
        EXPECT_TRUE(checks[7].passed) << checks[7].detail;  // same model
        EXPECT_FALSE(checks[2].passed);  // НАЛОГОВОГО is not in this small lexicon
    });
}

}  // namespace
}  // namespace kestrova::dictc
