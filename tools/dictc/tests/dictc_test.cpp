// Tests of the dictionary compiler: alphabets and annotations, the automaton, paradigms, the
// LZMA container and whole dictionaries built from a few lexemes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/tests/scratch_dir.h"
#include "tools/dictc/alphabet.h"
#include "tools/dictc/automaton_builder.h"
#include "tools/dictc/dictionaries.h"
#include "tools/dictc/lzma_alone.h"
#include "tools/dictc/paradigm.h"
#include "tools/dictc/weights.h"

namespace kestrova::dictc {
namespace {

std::string Cp(const char* utf8) { return FoldWord(utf8).value(); }

uint32_t Word(const std::string& s, size_t at) {
    uint32_t w = 0;
    for (int i = 0; i < 4; ++i) w |= uint32_t(static_cast<unsigned char>(s[at + i])) << (8 * i);
    return w;
}

// A reader of the automaton file, independent of the builder's structures.
struct AutomatonFile {
    std::vector<uint32_t> nodes, relations;
    std::vector<int32_t> alphabet;

    explicit AutomatonFile(const std::string& bytes) {
        size_t at = 0;
        auto number = [&] {
            size_t end = bytes.find('\n', at);
            size_t n = std::stoul(bytes.substr(at, end - at));
            at = end + 1;
            return n;
        };
        for (size_t n = number(); n > 0; --n, at += 4) nodes.push_back(Word(bytes, at));
        for (size_t n = number(); n > 0; --n, at += 4) relations.push_back(Word(bytes, at));
        for (int i = 0; i < 256; ++i, at += 4) alphabet.push_back(int32_t(Word(bytes, at)));
        EXPECT_EQ(at, bytes.size());
    }
    size_t End(size_t node) const {
        return node + 1 < nodes.size() ? nodes[node + 1] & 0x7FFFFFFF : relations.size();
    }
    int Next(int node, unsigned char c) const {
        for (size_t r = nodes[node] & 0x7FFFFFFF; r < End(node); ++r) {
            if ((relations[r] >> 24) == c) return int(relations[r] & 0xFFFFFF);
        }
        return -1;
    }
    // Every string reachable from `node` to a final node, depth first in stored order.
    void Collect(int node, std::string& path, std::vector<std::string>& out) const {
        if (nodes[node] & 0x80000000u) out.push_back(path);
        for (size_t r = nodes[node] & 0x7FFFFFFF; r < End(node); ++r) {
            path.push_back(char(relations[r] >> 24));
            Collect(int(relations[r] & 0xFFFFFF), path, out);
            path.pop_back();
        }
    }
    std::vector<std::string> After(const std::string& prefix) const {
        int node = 0;
        for (unsigned char c : prefix) {
            if ((node = Next(node, c)) < 0) return {};
        }
        std::vector<std::string> out;
        std::string path;
        Collect(node, path, out);
        return out;
    }
};

uint32_t DecodeAnnotation(const std::string& digits) {
    uint32_t value = 0, power = 1;
    for (unsigned char c : digits) {
        int index = WordAlphabet()[c];
        value += uint32_t(index > 1 ? index - 1 : index) * power;
        power *= 35;
    }
    return value;
}

TEST(Alphabet, WordAlphabetIsThirtySixSymbolsInByteOrder) {
    const auto& table = WordAlphabet();
    EXPECT_EQ(table['\''], 0);
    EXPECT_EQ(table['+'], 1);
    EXPECT_EQ(table['-'], 2);
    EXPECT_EQ(table[168], 3);
    EXPECT_EQ(table[192], 4);
    EXPECT_EQ(table[223], 35);
    EXPECT_EQ(table['0'], -1);
    EXPECT_EQ(table['A'], -1);
    EXPECT_EQ(table[224], -1);
    EXPECT_EQ(std::count_if(table.begin(), table.end(), [](int32_t v) { return v >= 0; }), 36);
}

TEST(Alphabet, AnnotationDigitsAreLeastSignificantFirst) {
    std::string digits;
    AppendAnnotation(digits, PackAnnotation(438, 1, 0));
    EXPECT_EQ(digits, "\xD0\xC6'\xCF\xC3\xA8");  // РЖ'ПГЁ
    EXPECT_EQ(DecodeAnnotation(digits), PackAnnotation(438, 1, 0));
    digits.clear();
    AppendAnnotation(digits, 0);
    EXPECT_EQ(digits, "'");
    EXPECT_THROW(PackAnnotation(1 << 14, 0, 0), std::runtime_error);
    EXPECT_THROW(PackAnnotation(0, 512, 0), std::runtime_error);
}

TEST(Alphabet, FoldingUppercasesFoldsYoAndRejectsForeignCharacters) {
    EXPECT_EQ(FoldWord("Ёлка"), FoldWord("ЕЛКА"));
    EXPECT_EQ(FoldWord("ёлки"), FoldWord("ЕЛКИ"));
    EXPECT_EQ(FoldWord("д'артаньян"), FoldWord("ДЪАРТАНЬЯН"));
    EXPECT_EQ(FoldWord("кто-то"), FoldWord("КТО-ТО"));
    EXPECT_FALSE(FoldWord("3-й"));
    EXPECT_FALSE(FoldWord("icq-номер"));
    EXPECT_FALSE(FoldWord("а+б"));
    EXPECT_FALSE(FoldWord("ї"));
}

TEST(Automaton, IsMinimalAndKeepsEveryStringInOrder) {
    std::vector<std::string> words = {"ДОМ", "ДОМА", "ДОМАМ", "ТОМ", "ТОМА", "ТОМАМ"};
    std::vector<std::string> folded;
    for (const auto& w : words) folded.push_back(Cp(w.c_str()));
    Automaton automaton = BuildAutomaton(folded);
    // Д and Т lead to one node: start, then the nodes before О and М, then М, А, М (final).
    EXPECT_EQ(automaton.nodes.size(), 6u);
    EXPECT_EQ(automaton.finalCount, 3u);
    std::string file;
    AppendAutomatonFile(automaton, WordAlphabet(), file);
    AutomatonFile read(file);
    std::vector<std::string> all = read.After("");
    std::sort(folded.begin(), folded.end());
    EXPECT_EQ(all, folded);
    EXPECT_EQ(read.After(Cp("ТОМА")), (std::vector<std::string>{"", Cp("М")}));
    EXPECT_TRUE(read.After(Cp("ТОМАМЫ")).empty());
    EXPECT_EQ(read.alphabet[192], 4);
}

TEST(Automaton, RefusesStringsOutOfOrder) {
    AutomatonBuilder builder;
    builder.Add("B");
    EXPECT_THROW(builder.Add("A"), std::runtime_error);
    EXPECT_THROW(builder.Add("B"), std::runtime_error);
}

TEST(Paradigm, SplitsStemPrefixesAndEndings) {
    std::vector<std::string> prefixes = {"", Cp("ПО"), Cp("НАИ")};
    SplitLexeme big =
        Split({Cp("БОЛЬШОЙ"), Cp("БОЛЬШЕ"), Cp("ПОБОЛЬШЕ"), Cp("НАИБОЛЬШИЙ")}, prefixes);
    EXPECT_EQ(big.stem, Cp("БОЛЬШ"));
    EXPECT_EQ(big.forms[2].prefix, Cp("ПО"));
    EXPECT_EQ(big.forms[3].prefix, Cp("НАИ"));
    EXPECT_EQ(big.forms[3].ending, Cp("ИЙ"));
    // A beginning that is not an allowed prefix falls back to the common beginning.
    SplitLexeme go = Split({Cp("ИДТИ"), Cp("ШЁЛ"), Cp("ИДУ")}, prefixes);
    EXPECT_EQ(go.stem, "");
    EXPECT_EQ(go.forms[1].ending, Cp("ШЕЛ"));
    SplitLexeme one = Split({Cp("ВДРУГ")}, prefixes);
    EXPECT_EQ(one.stem, Cp("ВДРУГ"));
    EXPECT_EQ(one.forms[0].ending, "");
}

TEST(Lzma, AloneHeaderCarriesPropertiesDictionaryAndPlainSize) {
    std::string plain;
    for (int i = 0; i < 100000; ++i) plain += std::to_string(i * 7919 % 1000) + ",";
    std::string packed = CompressAlone(plain);
    ASSERT_GT(packed.size(), 13u);
    EXPECT_EQ(static_cast<unsigned char>(packed[0]), 0x5D);
    EXPECT_EQ(Word(packed, 1), 8u << 20);
    EXPECT_EQ(Word(packed, 5), plain.size());
    EXPECT_EQ(Word(packed, 9), 0u);
    EXPECT_LT(packed.size(), plain.size() / 3);
    EXPECT_EQ(DecompressAlone(packed), plain);
    EXPECT_EQ(CompressAlone(plain), packed);
    EXPECT_THROW(DecompressAlone(packed.substr(0, packed.size() / 2)), std::runtime_error);
}

TEST(Lzma, EmptyDataIsTheHeaderAlone) {
    std::string packed = CompressAlone("");
    ASSERT_EQ(packed.size(), 13u);
    EXPECT_EQ(Word(packed, 5), 0u);
    EXPECT_EQ(DecompressAlone(packed), "");
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SmallDictionary : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = kestrova::testing::FreshScratchDir("dictc_small");
        lexicon_.grammemeNames = {{"NOUN", "СУЩ"}, {"masc", "мр"}, {"sing", "ед"}, {"nomn", "им"}};
        const std::vector<std::string> cases = {"nomn", "gent", "datv", "accs", "ablt", "loct"};
        for (const char* stem : {"закон", "стол", "слон"}) {
            std::vector<std::pair<std::string, std::string>> forms;
            const char* sg[] = {"", "а", "у", "", "ом", "е"};
            const char* pl[] = {"ы", "ов", "ам", "ы", "ами", "ах"};
            for (int i = 0; i < 6; ++i)
                forms.push_back({std::string(stem) + sg[i], "NOUN,inan,masc sing," + cases[i]});
            for (int i = 0; i < 6; ++i)
                forms.push_back({std::string(stem) + pl[i], "NOUN,inan,masc plur," + cases[i]});
            lexicon_.Add(forms);
        }
        lexicon_.Add({{"ёлка", "NOUN,inan,femn sing,nomn"}, {"ёлки", "NOUN,inan,femn sing,gent"}});
        lexicon_.Add({{"в", "PREP"}});
        lexicon_.Add({{"icq", "NOUN,inan,masc sing,nomn"}});
    }
    std::string Plain(const std::string& name) { return ReadAll(dir_ / name); }

    std::filesystem::path dir_;
    Lexicon lexicon_;
};

TEST_F(SmallDictionary, FormsAutomatonGivesModelAndItemOfEveryForm) {
    Options options;
    options.compress = false;
    Report report = WriteDictionaries(lexicon_, dir_, options);
    EXPECT_EQ(report.lexemes, 5u);
    EXPECT_EQ(report.skippedLexemes, 1u);
    EXPECT_EQ(report.skippedForms, 1u);
    EXPECT_EQ(report.models, 3u);  // the three nouns share one model
    AutomatonFile forms(Plain("morph.forms_autom"));
    std::vector<std::string> zakony = forms.After(Cp("ЗАКОНЫ") + "+");
    ASSERT_EQ(zakony.size(), 2u);  // nominative and accusative plural
    EXPECT_EQ(DecodeAnnotation(zakony[0]) >> 18, 0u);
    std::vector<uint32_t> items;
    for (const auto& digits : zakony) items.push_back((DecodeAnnotation(digits) >> 9) & 511);
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items, (std::vector<uint32_t>{6, 9}));
    ASSERT_EQ(forms.After(Cp("ЕЛКИ") + "+").size(), 1u);
    EXPECT_EQ(DecodeAnnotation(forms.After(Cp("ЕЛКИ") + "+")[0]), PackAnnotation(1, 1, 0));
    EXPECT_TRUE(forms.After("\xA8\xCB\xCA\xC8+").empty());
    EXPECT_TRUE(forms.After("ICQ+").empty());
}

TEST_F(SmallDictionary, AnnotSectionsAndBasesFollowTheLayout) {
    Options options;
    options.compress = false;
    options.prefixes = {Cp("ПО"), Cp("ЗА")};
    WriteDictionaries(lexicon_, dir_, options);
    std::string annot = Plain("morph.annot");
    std::istringstream in(annot);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "3");
    std::getline(in, line);
    EXPECT_EQ(line.substr(0, 4), "%*\xE0\xE0");  // item 0: empty ending, code of tag 0
    EXPECT_EQ(std::count(line.begin(), line.end(), '%'), 12);
    std::getline(in, line);
    std::getline(in, line);
    std::getline(in, line);
    EXPECT_EQ(line, "3");  // accent models
    std::getline(in, line);
    EXPECT_EQ(line, std::string(12 * 4, ' ')
                        .replace(0, 48, "255;255;255;255;255;255;255;255;255;255;255;255;"));
    std::getline(in, line);
    std::getline(in, line);
    std::getline(in, line);
    EXPECT_EQ(line, "2");
    std::getline(in, line);
    EXPECT_EQ(line, Cp("ПО"));
    std::getline(in, line);
    std::getline(in, line);
    EXPECT_EQ(line, "5");
    std::string records(60, '\0');
    in.read(records.data(), 60);
    // Lemmas in lexicon order: ЗАКОН, СТОЛ, СЛОН (model 0), ЕЛК (model 1), В (model 2).
    EXPECT_EQ(Word(records, 0) & 0xFFFF, 0u);
    EXPECT_EQ(Word(records, 36) & 0xFFFF, 1u);
    std::getline(in, line);
    EXPECT_EQ(line, "3");
    std::string flags(3, '\0');
    in.read(flags.data(), 3);
    EXPECT_EQ(static_cast<unsigned char>(flags[2]), 255);  // prepositions are never predicted
    EXPECT_EQ(in.peek(), EOF);

    std::string bases = Plain("morph.bases");
    ASSERT_EQ(Word(bases, 0), 6u);  // "", В, ЕЛК, ЗАКОН, СЛОН, СТОЛ
    EXPECT_EQ(bases.substr(4, 2), std::string("\0\0", 2));
    EXPECT_EQ(bases.substr(6, 3), std::string("\x01\xC2\0", 3));
    // The base number of ЗАКОН is 3.
    EXPECT_EQ(Word(records, 8), 3u);
}

TEST_F(SmallDictionary, PredictionBaseRanksTheCommonestRuleFirst) {
    Options options;
    options.compress = false;
    WriteDictionaries(lexicon_, dir_, options);
    AutomatonFile predict(Plain("npredict.bin"));
    // Words ending in Ы (reversed key "Ы"): plural nominative/accusative of model 0.
    std::vector<std::string> found = predict.After(Cp("Ы") + "+");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0][0], '\'');  // rank 0 comes first
    uint32_t value = DecodeAnnotation(found[0].substr(1));
    EXPECT_EQ(value >> 18, 0u);
    uint32_t item = (value >> 9) & 511;
    EXPECT_TRUE(item == 6 || item == 9);
    // The preposition is never a prediction.
    for (const auto& s : predict.After("")) {
        size_t plus = s.find('+');
        EXPECT_NE(DecodeAnnotation(s.substr(plus + 2)) >> 18, 2u) << s;
    }
}

TEST_F(SmallDictionary, CompressedFilesAreDeterministicAndDecodeToThePlainOnes) {
    Options plain;
    plain.compress = false;
    WriteDictionaries(lexicon_, dir_ / "plain", plain);
    WriteDictionaries(lexicon_, dir_ / "a");
    Report report = WriteDictionaries(lexicon_, dir_ / "b");
    ASSERT_EQ(report.files.size(), 12u);
    for (const std::string& name : DictionaryFileNames()) {
        std::string a = ReadAll(dir_ / "a" / (name + ".lzma"));
        EXPECT_EQ(a, ReadAll(dir_ / "b" / (name + ".lzma"))) << name;
        EXPECT_EQ(DecompressAlone(a), ReadAll(dir_ / "plain" / name)) << name;
    }
    EXPECT_EQ(ReadAll(dir_ / "a" / "morph.options.lzma").size(), 13u);
    EXPECT_EQ(ReadAll(dir_ / "plain" / "chomoweight.bin"),
              ReadAll(dir_ / "plain" / "lhomoweight.bin"));
}

TEST_F(SmallDictionary, GramtabIsReadableCp1251) {
    Options options;
    options.compress = false;
    WriteDictionaries(lexicon_, dir_, options);
    std::string gramtab = Plain("rgramtab.tab");
    // First tag: code "аа", kind letter, СУЩ, and the features with their Russian names.
    EXPECT_NE(
        gramtab.find(std::string("\xE0\xE0 \xC0 \xD1\xD3\xD9 inan,\xEC\xF0,\xE5\xE4,\xE8\xEC\n")),
        std::string::npos)
        << gramtab;
    EXPECT_NE(gramtab.find("\n\xE0\xEE \xC0 PREP\n"), std::string::npos);
}

// СТАЛИ is a form of СТАЛЬ (lemma record 5, item 1) and of СТАТЬ (record 6, item 1); the corpus
// reads it as the verb nine times in ten.
TEST_F(SmallDictionary, StatisticsWeighTheLemmasOfAmbiguousForms) {
    lexicon_.Add({{"сталь", "NOUN,inan,femn sing,nomn"}, {"стали", "NOUN,inan,femn sing,gent"}});
    lexicon_.Add({{"стать", "INFN,perf,intr"}, {"стали", "VERB,perf,intr plur,past,indc"}});
    lexicon_.weights = {{"стали", lexicon_.TagId("VERB,perf,intr plur,past,indc"), 900000},
                        {"стали", lexicon_.TagId("NOUN,inan,femn sing,gent"), 100000},
                        {"сталь", lexicon_.TagId("NOUN,inan,femn sing,nomn"), 1000000},
                        {"законы", lexicon_.TagId("NOUN,inan,masc plur,nomn"), 600000},
                        {"законы", lexicon_.TagId("NOUN,inan,masc plur,accs"), 400000},
                        {"нет-такого", 0, 5000}};
    Options options;
    options.compress = false;
    Report report = WriteDictionaries(lexicon_, dir_, options);
    EXPECT_EQ(report.ambiguousForms, 1u);
    // Only the analyses of the ambiguous form: the lemma's probability, then its weight.
    std::string homo = Plain("chomoweight.bin");
    ASSERT_EQ(homo.size(), 2u * 12);
    EXPECT_EQ(Word(homo, 0), 5u);
    EXPECT_EQ(Word(homo, 4), 1u);
    EXPECT_EQ(Word(homo, 8), kEstimatedWeight * (1 + 100) + 1100);
    EXPECT_EQ(Word(homo, 12), 6u);
    EXPECT_EQ(Word(homo, 16), 1u);
    EXPECT_EQ(Word(homo, 20), kEstimatedWeight * (1 + 900) + 900);
    // Every lemma with estimated forms: how many of them are read as that lemma, in thousandths.
    std::string word = Plain("cwordweight.bin");
    ASSERT_EQ(word.size(), 3u * 8);
    EXPECT_EQ(Word(word, 0), 0u);  // ЗАКОН
    EXPECT_EQ(Word(word, 4), 1000u);
    EXPECT_EQ(Word(word, 8), 5u);  // СТАЛЬ: СТАЛИ one time in ten, СТАЛЬ always
    EXPECT_EQ(Word(word, 12), 1100u);
    EXPECT_EQ(Word(word, 16), 6u);
    EXPECT_EQ(Word(word, 20), 900u);
    EXPECT_EQ(Plain("fwordweight.bin"), word);
    EXPECT_EQ(Plain("lhomoweight.bin"), homo);
}

TEST(Weights, SpellingsThatFoldAlikeCountEquallyAndWeightsKeepTheirOrder) {
    FormEstimates estimates =
        FoldEstimates({{"все", 1, 200000}, {"все", 2, 600000}, {"всё", 3, 500000}});
    ASSERT_EQ(estimates.size(), 1u);
    EXPECT_EQ(estimates.begin()->first, Cp("ВСЕ"));
    EXPECT_EQ(estimates.begin()->second,
              (std::map<uint32_t, uint32_t>{{1, 125000}, {2, 375000}, {3, 500000}}));
    // Any estimate, however small, outweighs a lemma weight alone; the largest fits 31 bits.
    EXPECT_GT(AnalysisWeight(1, 0), kEstimatedWeight - 1);
    EXPECT_GT(AnalysisWeight(2000, 0), AnalysisWeight(1000, 5000));
    EXPECT_GT(AnalysisWeight(1000, 7), AnalysisWeight(1000, 6));
    EXPECT_LE(AnalysisWeight(5000000, 1u << 30), uint32_t(INT32_MAX));
}

TEST(HoldOut, ChoosesAFixedShare) {
    Options options;
    options.holdOutPercent = 5;
    size_t held = 0;
    for (size_t i = 0; i < 100000; ++i) held += IsHeldOut(i, options);
    EXPECT_NEAR(double(held), 5000.0, 400.0);
    EXPECT_EQ(IsHeldOut(12345, options), IsHeldOut(12345, options));
    options.holdOutPercent = 0;
    EXPECT_FALSE(IsHeldOut(12345, options));
}

}  // namespace
}  // namespace kestrova::dictc
