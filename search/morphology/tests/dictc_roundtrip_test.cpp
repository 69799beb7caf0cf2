// Dictionaries written by the dictionary compiler, read back through the registry, the
// holder and the lemmatizer: the two independent readings of the file formats must agree.
#include "platform/tests/scratch_dir.h"
#include "search/morphology/morphology_holder.h"
#include "search/morphology/tests/dict_fixture.h"
#include "tools/dictc/dictionaries.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kestrova {
namespace {

using testing::Cp1251;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

dictc::Lexicon SmallLexicon() {
    dictc::Lexicon lexicon;
    auto noun = [&](std::initializer_list<const char*> forms) {
        const char* cases[] = {"nomn", "gent", "datv", "accs", "ablt", "loct"};
        std::vector<std::pair<std::string, std::string>> list;
        int i = 0;
        for (const char* f : forms)
            list.emplace_back(f, std::string("NOUN,inan,masc sing,") + cases[i++ % 6]);
        lexicon.Add(list);
    };
    noun({"закон", "закона", "закону", "закон", "законом", "законе"});
    noun({"налог", "налога", "налогу", "налог", "налогом", "налоге"});
    noun({"вагон", "вагона", "вагону", "вагон", "вагоном", "вагоне"});
    lexicon.Add({{"ёлка", "NOUN,inan,femn sing,nomn"},
                 {"ёлки", "NOUN,inan,femn sing,gent"},
                 {"ёлке", "NOUN,inan,femn sing,datv"},
                 {"ёлку", "NOUN,inan,femn sing,accs"}});
    lexicon.Add({{"сделать", "INFN,perf,tran"},
                 {"сделал", "VERB,perf,tran masc,sing,past,indc"},
                 {"сделала", "VERB,perf,tran femn,sing,past,indc"}});
    return lexicon;
}

class DictcRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing::FreshScratchDir("dictc_roundtrip");
        report_ = dictc::WriteDictionaries(SmallLexicon(), dir_);
        for (const std::string& name : dictc::DictionaryFileNames()) {
            std::string registered = name == "rgramtab.tab" ? name : "rus/" + name;
            packed_[registered] = ReadFile(dir_ / (name + ".lzma"));
        }
        holder_ = std::make_unique<MorphologyHolder>(registry_, [this](int id, std::string_view) {
            for (const DictResource& r : kDictResources) {
                if (r.id == id && packed_.count(r.name)) {
                    const std::string& data = packed_.at(r.name);
                    return std::optional<ModuleResource>(ModuleResource{
                        reinterpret_cast<const std::uint8_t*>(data.data()), data.size()});
                }
            }
            return std::optional<ModuleResource>();
        });
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Form(const char* utf8) { return holder_->DictionaryForm(Cp1251(utf8)); }

    std::filesystem::path dir_;
    dictc::Report report_;
    std::map<std::string, std::string> packed_;
    MemFileRegistry registry_;
    std::unique_ptr<MorphologyHolder> holder_;
};

TEST_F(DictcRoundTrip, CompiledDictionaryLoadsAndAnswers) {
    ASSERT_TRUE(holder_->Start()) << holder_->FailureMessage();
    EXPECT_EQ(Form("закону"), Cp1251("ЗАКОН"));
    EXPECT_EQ(Form("НАЛОГОМ"), Cp1251("НАЛОГ"));
    EXPECT_EQ(Form("ёлки"), Cp1251("ЕЛКА"));
    EXPECT_EQ(Form("Ёлке"), Cp1251("ЕЛКА"));
    EXPECT_EQ(Form("сделала"), Cp1251("СДЕЛАТЬ"));
    holder_->Use([&](const Lemmatizer* l) {
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->Forms().NodeCount(), report_.formNodes);
        EXPECT_EQ(l->Forms().RelationCount(), report_.formRelations);
        EXPECT_EQ(l->PredictionBase().NodeCount(), report_.predictNodes);
        std::vector<Analysis> made, make;
        l->Analyse(Cp1251("СДЕЛАЛ"), false, false, true, made);
        l->Analyse(Cp1251("СДЕЛАТЬ"), false, false, true, make);
        ASSERT_FALSE(made.empty());
        ASSERT_FALSE(make.empty());
        EXPECT_TRUE(made[0].found);
        EXPECT_EQ(make[0].model, made[0].model);
        EXPECT_EQ(make[0].item, 0u);
        const std::string& codes = l->Annot().models[made[0].model].items[made[0].item].gramCodes;
        ASSERT_GE(codes.size(), 2u);
        EXPECT_NE(l->GramTable().Find(codes.substr(0, 2)), nullptr);
    });
}

TEST_F(DictcRoundTrip, UnknownWordsArePredictedFromTheCompiledBase) {
    ASSERT_TRUE(holder_->Start()) << holder_->FailureMessage();
    EXPECT_EQ(Form("батоном"), Cp1251("БАТОН"));          // prediction base, ending -ОМ
    EXPECT_EQ(Form("перезаконом"), Cp1251("ПЕРЕЗАКОН"));  // a known suffix
    EXPECT_EQ(Form("закона-вагона"), Cp1251("ЗАКОН-ВАГОН"));
    holder_->Use([&](const Lemmatizer* l) {
        std::vector<Analysis> a;
        l->Analyse(Cp1251("БАТОНОМ"), false, false, true, a);
        ASSERT_FALSE(a.empty());
        EXPECT_FALSE(a[0].found);
    });
}

}  // namespace
}  // namespace kestrova
