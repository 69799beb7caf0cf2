#include "search/morphology/fingerprint.h"
#include "search/morphology/morpho_word_filter.h"
#include "search/morphology/morphology_holder.h"
#include "search/morphology/tests/russian_fixture.h"

#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <thread>

namespace kestrova {
namespace {

using testing::Cp1251;

struct HolderSetup {
    explicit HolderSetup(
        std::map<std::string, std::string> files = testing::RussianFixture().PlainFiles())
        : resources(files) {}
    MorphologyHolder& Holder() {
        if (!holder) {
            holder =
                std::make_unique<MorphologyHolder>(registry, [this](int id, std::string_view type) {
                    ++finds;
                    return resources.Find(id, type);
                });
        }
        return *holder;
    }
    testing::FixtureResources resources;
    MemFileRegistry registry;
    std::unique_ptr<MorphologyHolder> holder;
    int finds = 0;
};

TEST(MorphologyHolder, StartsOnFirstRequestAndGivesDictionaryForms) {
    HolderSetup s;
    EXPECT_EQ(s.finds, 0);
    EXPECT_EQ(s.Holder().DictionaryForm(Cp1251("законы")), Cp1251("ЗАКОН"));
    EXPECT_EQ(s.finds, 12);
    EXPECT_EQ(s.registry.Size(), 12u);
    EXPECT_EQ(s.Holder().DictionaryForm(Cp1251("Ёлка")), s.Holder().DictionaryForm(Cp1251("ёлки")));
    EXPECT_EQ(s.Holder().DictionaryForm(Cp1251("хрущ")), Cp1251("ХРУЩ"));  // no analysis at all
    EXPECT_EQ(s.finds, 12);
    EXPECT_EQ(s.Holder().FailureMessage(), "");
}

TEST(MorphologyHolder, MissingResourceSwitchesMorphologyOffForGood) {
    HolderSetup s;
    s.resources.Remove(158);
    EXPECT_EQ(s.Holder().DictionaryForm(Cp1251("законы")), Cp1251("законы"));
    EXPECT_EQ(s.Holder().FailureMessage(), "morpho data: resource error");
    int finds = s.finds;
    EXPECT_EQ(s.Holder().DictionaryForm(Cp1251("ёлки")), Cp1251("ёлки"));
    EXPECT_FALSE(s.Holder().Start());
    EXPECT_EQ(s.finds, finds);  // never tried again
}

TEST(MorphologyHolder, EveryStartFailureHasItsMessage) {
    auto failure = [](std::map<std::string, std::string> files,
                      const std::function<void(HolderSetup&)>& change) {
        HolderSetup s(std::move(files));
        if (change) change(s);
        EXPECT_FALSE(s.Holder().Start());
        return s.Holder().FailureMessage();
    };
    auto files = testing::RussianFixture().PlainFiles();
    auto with = [&](const std::string& name, const std::string& plain) {
        auto f = files;
        f[name] = plain;
        return f;
    };
    ::unsetenv("RML");
    EXPECT_EQ(failure(with("rus/morph.annot", "2\n%*aa\n"), {}),
              "cannot load dict: Too few lines in mrd file; RML=");
    EXPECT_EQ(failure(with("rus/chomoweight.bin", "12345"), {}), "cannot load statistics");
    EXPECT_EQ(failure(with("rgramtab.tab", "// empty\n"), {}), "Cannot load gramtab");
    EXPECT_EQ(
        failure(files, [](HolderSetup& s) { s.resources.Replace("rus/morph.options", "tiny"); }),
        "cannot load dict: General exception; RML=");
    EXPECT_EQ(failure(files, [](HolderSetup& s) { s.resources.Replace("rus/npredict.bin", ""); }),
              "morpho data: resource error");
    std::string data = "x";
    EXPECT_EQ(failure(files,
                      [&](HolderSetup& s) {
                          s.registry.Register("RUS/MORPH.BASES",
                                              reinterpret_cast<const std::uint8_t*>(data.data()),
                                              1);
                      }),
              "duplicate file in MemFileRegistry");
}

// ПРИБЫЛИ is item 1 of lexeme 5 (ПРИБЫЛЬ) and item 1 of lexeme 6 (ПРИБЫТЬ) of the fixture.
class DictionaryFormChoice : public ::testing::Test {
protected:
    void SetUp() override {
        HolderSetup s;
        s.Holder().Use([&](const Lemmatizer* l) {
            ASSERT_NE(l, nullptr);
            std::vector<Analysis> analyses;
            l->Analyse(Cp1251("прибыли"), false, false, true, analyses);
            ASSERT_EQ(analyses.size(), 2u);
            first_ = l->NormalForm(analyses[0]);
            other_ = l->NormalForm(analyses[1]);
        });
        firstLemma_ = first_ == Cp1251("ПРИБЫЛЬ") ? 5 : 6;
        otherLemma_ = 11 - firstLemma_;
    }
    // The dictionary form of ПРИБЫЛИ with these statistics records.
    std::string Form(std::vector<std::array<std::int32_t, 3>> analysisWeights,
                     std::vector<std::array<std::int32_t, 2>> lemmaWeights) {
        testing::DictFixture d = testing::RussianFixture();
        d.analysisWeights = std::move(analysisWeights);
        d.lemmaWeights = std::move(lemmaWeights);
        HolderSetup s(d.PlainFiles());
        EXPECT_EQ(s.Holder().DictionaryForm(Cp1251("законы")), Cp1251("ЗАКОН"));
        return s.Holder().DictionaryForm(Cp1251("прибыли"));
    }
    std::string first_, other_;
    std::int32_t firstLemma_ = 0, otherLemma_ = 0;
};

TEST_F(DictionaryFormChoice, WithoutWeightsTheFirstAnalysisAsBefore) {
    EXPECT_EQ(Form({}, {}), first_);
    EXPECT_EQ(Form({{0, 0, 7}}, {{0, 3}}), first_);  // weights of other words only
}

TEST_F(DictionaryFormChoice, TheGreatestWeightWinsAndEqualWeightsKeepTheOrder) {
    EXPECT_EQ(Form({}, {{otherLemma_, 5}}), other_);
    EXPECT_EQ(Form({}, {{otherLemma_, 5}, {firstLemma_, 5}}), first_);
    EXPECT_EQ(Form({}, {{otherLemma_, 5}, {firstLemma_, 6}}), first_);
    // An analysis's own weight comes before its lemma's; another item's weight does not count.
    EXPECT_EQ(Form({{firstLemma_, 1, 9}, {otherLemma_, 1, 8}}, {{otherLemma_, 50}}), first_);
    EXPECT_EQ(Form({{firstLemma_, 0, 9}}, {{otherLemma_, 5}}), other_);
}

TEST_F(DictionaryFormChoice, RecordsOfLemmasTheDictionaryLacksAreLeftOut) {
    EXPECT_EQ(Form({{8, 1, 9}, {-1, 1, 9}, {1 << 30, 1, 9}}, {{99, 9}, {-7, 9}}), first_);
    EXPECT_EQ(Form({{otherLemma_, 1, -5}}, {{firstLemma_, -9}}), other_);
}

TEST(MorphologyFingerprint, FollowsEveryResourceByteAndNamesTheRule) {
    auto fingerprint = [](const testing::FixtureResources& resources) {
        return MorphologyFingerprint(
            [&](int id, std::string_view type) { return resources.Find(id, type); });
    };
    auto files = testing::RussianFixture().PlainFiles();
    testing::FixtureResources resources(files);
    const std::string original = fingerprint(resources);
    EXPECT_EQ(original, fingerprint(testing::FixtureResources(files)));
    EXPECT_NE(original.find("; choice greatest-weight"), std::string::npos) << original;
    files["rus/cwordweight.bin"][4] ^= 1;
    EXPECT_NE(fingerprint(testing::FixtureResources(files)), original);
    resources.Remove(163);
    EXPECT_NE(fingerprint(resources), original);
}

TEST(MorphologyHolder, OneLockServesConcurrentCallers) {
    HolderSetup s;
    MorphologyHolder& holder = s.Holder();
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                if (holder.DictionaryForm(Cp1251(i % 2 ? "закону" : "ёлкой-законы")) !=
                    Cp1251(i % 2 ? "ЗАКОН" : "ЕЛКОЙ-ЗАКОН"))
                    ++wrong;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(s.finds, 12);
}

TEST(MorphoWordFilter, CollapsesDuplicatesAndMatchesByDictionaryForm) {
    HolderSetup s;
    auto form = [&](std::string_view w) { return s.Holder().DictionaryForm(w); };
    MorphoWordFilter filter({u"законы", u"Закону", u"ёлка"}, form);
    EXPECT_EQ(filter.Forms(), (std::set<std::string>{Cp1251("ЗАКОН"), Cp1251("ЕЛКА")}));
    std::u16string w = u"ЗАКОНА";
    EXPECT_TRUE(filter.Matches(w.data(), w.size()));
    w = u"Ёлки и палки";
    EXPECT_TRUE(filter.Matches(w.data(), 4));
    EXPECT_FALSE(filter.Matches(w.data() + 7, 5));
    // A character outside code page 1251 becomes "?" before the lookup.
    MorphoWordFilter odd({u"зако\u4E2Dн"}, form);
    EXPECT_EQ(*odd.Forms().begin(), Cp1251("ЗАКО?Н"));
}

// The process-wide holder over the dictionaries linked into this program.
TEST(ProcessMorphology, LinkedDictionariesOrTheResourceError) {
    std::u16string form = GetDictionaryForm(std::u16string_view(u"законы"));
    if (!MorphologyHolder::Instance().Start()) {
        EXPECT_EQ(MorphologyHolder::Instance().FailureMessage(), "morpho data: resource error");
        EXPECT_EQ(form, u"законы");
        GTEST_SKIP() << "the dictionaries are not linked into this build";
    }
    EXPECT_EQ(form, u"ЗАКОН");
    EXPECT_EQ(GetDictionaryForm(std::u16string_view(u"ЗАКОНУ")), u"ЗАКОН");
    EXPECT_EQ(GetDictionaryForm(std::u16string_view(u"НАЛОГОВОГО")), u"НАЛОГОВЫЙ");
    EXPECT_EQ(GetDictionaryForm(std::u16string_view(u"Ёлки")), u"ЕЛКА");
    EXPECT_EQ(GetDictionaryForm(std::u16string_view(u"ЕЛКИ")), u"ЕЛКА");
    EXPECT_EQ(GetDictionaryForm(std::u16string_view(u"СДЕЛАЛ")), u"СДЕЛАТЬ");
    // Ambiguous forms take their most probable lemma.
    for (auto [word, lemma] : {std::pair{u"суда", u"СУД"},
                               {u"судами", u"СУД"},
                               {u"были", u"БЫТЬ"},
                               {u"может", u"МОЧЬ"},
                               {u"слоя", u"СЛОЙ"},
                               {u"стали", u"СТАТЬ"},
                               {u"в", u"В"},
                               {u"силу", u"СИЛА"}}) {
        EXPECT_EQ(GetDictionaryForm(std::u16string_view(word)), lemma)
            << platform::Utf16ToUtf8(word);
    }
    MorphologyHolder::Instance().Use([](const Lemmatizer* l) {
        ASSERT_NE(l, nullptr);
        std::vector<Analysis> made, make, odd;
        l->Analyse(Cp1251("СДЕЛАЛ"), false, false, true, made);
        l->Analyse(Cp1251("СДЕЛАТЬ"), false, false, true, make);
        ASSERT_FALSE(made.empty());
        EXPECT_TRUE(made[0].found);
        EXPECT_TRUE(std::any_of(make.begin(), make.end(), [&](const Analysis& a) {
            return a.model == made[0].model && a.item == 0;
        }));
        // The lemmatizer's own order stays: the conjunction МОЖЕТ comes first.
        l->Analyse(Cp1251("может"), false, false, true, odd);
        ASSERT_GE(odd.size(), 2u);
        EXPECT_EQ(l->NormalForm(odd[0]), Cp1251("МОЖЕТ"));
        EXPECT_EQ(l->NormalForm(odd[ChosenAnalysis(*l, odd)]), Cp1251("МОЧЬ"));
        for (const char* word : {"ЗАКОН1", "ЗАКОНZ"}) {
            l->Analyse(Cp1251(word), false, false, true, odd);
            EXPECT_TRUE(std::none_of(odd.begin(), odd.end(), [](const Analysis& a) {
                return a.found;
            })) << word;
        }
    });
}

}  // namespace
}  // namespace kestrova
