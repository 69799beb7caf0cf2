#include "search/morphology/lemmatizer.h"
#include "search/morphology/tests/russian_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace kestrova {
namespace {

using testing::Cp1251;

class LemmatizerTest : public ::testing::Test {
protected:
    void Load(const testing::DictFixture& fixture) {
        resources_ = std::make_unique<testing::FixtureResources>(fixture.PlainFiles());
        registry_ = std::make_unique<MemFileRegistry>();
        resources_->RegisterAll(*registry_);
        lemmatizer_ = MakeLemmatizer();
        std::string message;
        ASSERT_TRUE(lemmatizer_->LoadDictionary(message)) << message;
        ASSERT_TRUE(lemmatizer_->LoadStatistics('c'));
        ASSERT_TRUE(lemmatizer_->LoadGramtab());
    }
    std::unique_ptr<Lemmatizer> MakeLemmatizer() {
        auto open = [this](const std::string& name, const char* mode) -> std::unique_ptr<MemFile> {
            return registry_->Contains(name) ? registry_->Open(name, mode) : nullptr;
        };
        auto paths = [](std::string_view key) -> std::string {
            if (key == Lemmatizer::kDictFolderKey) return "Rus/";
            if (key == Lemmatizer::kGramtabKey) return "rgramtab.tab";
            throw std::runtime_error("unknown registry path");
        };
        return std::make_unique<Lemmatizer>(open, paths);
    }
    std::vector<Analysis> Analyse(std::string_view utf8) {
        std::vector<Analysis> out;
        lemmatizer_->Analyse(Cp1251(utf8), false, false, true, out);
        return out;
    }
    std::string Form(std::string_view utf8) {
        std::vector<Analysis> out = Analyse(utf8);
        return out.empty() ? std::string("(none)") : lemmatizer_->NormalForm(out.front());
    }

    std::unique_ptr<testing::FixtureResources> resources_;
    std::unique_ptr<MemFileRegistry> registry_;
    std::unique_ptr<Lemmatizer> lemmatizer_;
};

TEST_F(LemmatizerTest, FoundFormsGiveTheirNormalForm) {
    Load(testing::RussianFixture());
    EXPECT_EQ(Form("ЗАКОНЫ"), Cp1251("ЗАКОН"));
    EXPECT_EQ(Form("закону"), Cp1251("ЗАКОН"));
    EXPECT_EQ(Form("Ёлки"), Cp1251("ЕЛКА"));
    EXPECT_EQ(Form("ёлку"), Cp1251("ЕЛКА"));
    EXPECT_EQ(Form("НАИЛУЧШИЙ"), Cp1251("ЛУЧШИЙ"));      // item prefix
    EXPECT_EQ(Form("ПОНАИЛУЧШИЙ"), Cp1251("ПОЛУЧШИЙ"));  // prefix set before the item prefix
    std::vector<Analysis> a = Analyse("сделал");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].model, 1u);
    EXPECT_EQ(a[0].item, 1u);
    EXPECT_EQ(a[0].prefixSet, 0u);
    EXPECT_EQ(a[0].base, Cp1251("СДЕЛ"));
    EXPECT_TRUE(a[0].found);
    EXPECT_EQ(lemmatizer_->NormalForm(a[0]), Cp1251("СДЕЛАТЬ"));
    a = Analyse("ПОНАИЛУЧШИЙ");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].prefixSet, 1u);
    EXPECT_EQ(a[0].base, Cp1251("ЛУЧШ"));
}

TEST_F(LemmatizerTest, SharedFormsComeInAnnotationDigitOrder) {
    Load(testing::RussianFixture());
    std::vector<Analysis> a = Analyse("ПРИБЫЛИ");
    ASSERT_EQ(a.size(), 2u);
    std::string d5 = EncodeAnnotationDigits(PackAnnotation({5, 1, 0}));
    std::string d6 = EncodeAnnotationDigits(PackAnnotation({6, 1, 0}));
    std::uint32_t first =
        static_cast<unsigned char>(d5[0]) < static_cast<unsigned char>(d6[0]) ? 5 : 6;
    EXPECT_EQ(a[0].model, first);
    EXPECT_EQ(a[1].model, 11 - first);
    EXPECT_EQ(Form("ПРИБЫЛИ"), Cp1251(first == 5 ? "ПРИБЫЛЬ" : "ПРИБЫТЬ"));
    // Items 0 and 1 of ЛУЧШИЙ share their ending; only item 0 lacks the item prefix НАИ.
    a = Analyse("ЛУЧШИЙ");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].item, 0u);
}

TEST_F(LemmatizerTest, WordPreparation) {
    Load(testing::RussianFixture());
    EXPECT_EQ(lemmatizer_->PrepareWord(Cp1251("аБвёЁ'z")), Cp1251("АБВЕЕЪ") + "Z");
    EXPECT_FALSE(lemmatizer_->AllowsRussianJo());
    testing::DictFixture jo = testing::RussianFixture();
    jo.options = "AllowRussianJo\n";
    Load(jo);
    EXPECT_TRUE(lemmatizer_->AllowsRussianJo());
    EXPECT_EQ(lemmatizer_->PrepareWord(Cp1251("ёлка")), Cp1251("ЁЛКА"));
}

TEST_F(LemmatizerTest, SuffixPredictionWithThePrefixAndFlagRules) {
    Load(testing::RussianFixture());
    std::vector<Analysis> a = Analyse("ПЕРЕЗАКОНЫ");  // a suffix of 6 bytes needs no known prefix
    ASSERT_EQ(a.size(), 1u);
    EXPECT_FALSE(a[0].found);
    EXPECT_EQ(a[0].head, Cp1251("ПЕРЕ"));
    EXPECT_EQ(lemmatizer_->NormalForm(a[0]), Cp1251("ПЕРЕЗАКОН"));
    EXPECT_EQ(Form("ПРОЕЛКИ"), Cp1251("ПРОЕЛКА"));  // short suffix after a known prefix
    // A short suffix after an unknown beginning is refused; the prediction base answers.
    a = Analyse("ХРУЕЛКИ");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].head, "");
    EXPECT_EQ(a[0].base, Cp1251("ХРУЕЛК"));
    EXPECT_EQ(Form("-ЕЛКИ"), Cp1251("-ЕЛКА"));  // short suffix after a hyphen
    EXPECT_EQ(Form("ПЕРЕЗВОНОК"), "(none)");    // flag 255 keeps the model out
    EXPECT_EQ(Form("ЗАКОН1"), "(none)");        // a digit is outside the alphabet
    EXPECT_EQ(Form("ЗАК"), "(none)");
    std::vector<Analysis> none;
    lemmatizer_->Analyse(Cp1251("ПЕРЕЗАКОНЫ"), false, false, false, none);
    EXPECT_TRUE(none.empty());
}

TEST_F(LemmatizerTest, PredictionBaseByTheLongestKnownEnding) {
    Load(testing::RussianFixture());
    std::vector<Analysis> a = Analyse("БРЫКИ");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].model, 2u);
    EXPECT_EQ(a[0].item, 1u);
    EXPECT_FALSE(a[0].found);
    EXPECT_EQ(lemmatizer_->NormalForm(a[0]), Cp1251("БРЫКА"));
    EXPECT_EQ(Form("ТРОНЫ"), Cp1251("ТРОН"));
    EXPECT_EQ(Form("Ы"), "(none)");  // the ending would be the whole word
    EXPECT_EQ(Form("ЖЖЖ"), "(none)");
    EXPECT_EQ(Form("ЗАКОНЫ"), Cp1251("ЗАКОН"));  // a found word is never predicted
}

TEST_F(LemmatizerTest, HyphenatedWordsPartByPart) {
    Load(testing::RussianFixture());
    EXPECT_EQ(Form("ЗАКОНА-ЕЛКИ"), Cp1251("ЗАКОН-ЕЛКА"));
    EXPECT_EQ(Form("ХРУ-ЗАКОНУ"), Cp1251("ХРУ-ЗАКОН"));
    EXPECT_EQ(Form("ЗАКОНУ-ПЕРЕЗАКОНЫ"), Cp1251("ЗАКОН-ПЕРЕЗАКОН"));
    std::vector<Analysis> a = Analyse("ЕЛКИ-ЗАКОНУ");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_FALSE(a[0].found);
    EXPECT_EQ(a[0].model, 0u);
    EXPECT_EQ(a[0].item, 2u);
}

TEST_F(LemmatizerTest, LoadFailuresNameTheFileAndCompleteWithRml) {
    testing::DictFixture broken = testing::RussianFixture();
    auto files = broken.PlainFiles();
    files["rus/morph.annot"] = "";
    resources_ = std::make_unique<testing::FixtureResources>(files);
    registry_ = std::make_unique<MemFileRegistry>();
    resources_->RegisterAll(*registry_);
    ::setenv("RML", "/opt/rml", 1);
    std::string message;
    EXPECT_FALSE(MakeLemmatizer()->LoadDictionary(message));
    EXPECT_EQ(message, "Cannot parse mrd file; RML=/opt/rml");
    ::unsetenv("RML");

    files = broken.PlainFiles();
    files.erase("rus/morph.bases");
    resources_ = std::make_unique<testing::FixtureResources>(files);
    registry_ = std::make_unique<MemFileRegistry>();
    resources_->RegisterAll(*registry_);
    EXPECT_FALSE(MakeLemmatizer()->LoadDictionary(message));
    EXPECT_EQ(message, "Cannot open Rus/morph.bases; RML=");

    files = broken.PlainFiles();
    files["rus/morph.forms_autom"] = "1\n";
    resources_ = std::make_unique<testing::FixtureResources>(files);
    registry_ = std::make_unique<MemFileRegistry>();
    resources_->RegisterAll(*registry_);
    EXPECT_FALSE(MakeLemmatizer()->LoadDictionary(message));
    EXPECT_EQ(message, "Cannot load Rus/morph.bin; RML=");

    auto lemmatizer = std::make_unique<Lemmatizer>(
        [](const std::string&, const char*) { return nullptr; },
        [](std::string_view) -> std::string { throw std::runtime_error("unknown registry path"); });
    EXPECT_FALSE(lemmatizer->LoadDictionary(message));
    EXPECT_EQ(message, "Cannot read $RML/Bin/rml.ini; $RML=");
    EXPECT_FALSE(lemmatizer->LoadGramtab());
    EXPECT_FALSE(lemmatizer->LoadStatistics('c'));
}

TEST_F(LemmatizerTest, StatisticsGiveWeightsWithoutChangingOrder) {
    Load(testing::RussianFixture());
    std::vector<Analysis> a = Analyse("ЗАКОН");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(lemmatizer_->Weight(a[0]), 7);  // model 0 item 0 has its own weight
    a = Analyse("ЗАКОНА");
    EXPECT_EQ(lemmatizer_->Weight(a[0]), 3);  // else the model's weight
    a = Analyse("ЕЛКА");
    EXPECT_EQ(lemmatizer_->Weight(a[0]), 0);
}

}  // namespace
}  // namespace kestrova
