#include "search/morphology/alphabet.h"
#include "search/morphology/annotation.h"
#include "search/morphology/automaton.h"
#include "search/morphology/bases.h"
#include "search/morphology/cexpc.h"
#include "search/morphology/gramtab.h"
#include "search/morphology/morph_annot.h"
#include "search/morphology/tests/dict_fixture.h"
#include "search/morphology/vector_reader.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::CompressAlone;
using testing::Cp1251;

struct Packed {
    std::string data;
    explicit Packed(std::string_view plain) : data(CompressAlone(plain)) {}
    MemFile Open(bool binary = true) const {
        return MemFile("test", reinterpret_cast<const std::uint8_t*>(data.data()), data.size(),
                       binary);
    }
};

std::string CExpcMessage(const std::function<void()>& f) {
    try {
        f();
    } catch (const CExpc& e) {
        return e.Message();
    }
    return "(no error)";
}

TEST(Alphabet, RussianAlphabetsInByteOrder) {
    const Alphabet& word = Alphabet::Word();
    EXPECT_EQ(word.Size(), 36);
    EXPECT_EQ(word.Index('\''), 0);
    EXPECT_EQ(word.Index('+'), 1);
    EXPECT_EQ(word.Index('-'), 2);
    EXPECT_EQ(word.Index(0xA8), 3);
    EXPECT_EQ(word.Index(0xC0), 4);
    EXPECT_EQ(word.Index(0xDF), 35);
    EXPECT_EQ(word.Index('1'), -1);
    EXPECT_EQ(word.Index(0xE0), -1);  // lower-case а
    const Alphabet& digits = Alphabet::Annotation();
    EXPECT_EQ(digits.Size(), 35);
    EXPECT_EQ(digits.Index('-'), 1);
    EXPECT_EQ(digits.Index('+'), -1);
    EXPECT_EQ(digits.Index(0xDF), 34);
    std::string big;
    for (int c = 100; c < 155; ++c) big += static_cast<char>(c);
    EXPECT_EQ(CExpcMessage([&] { Alphabet a(big); }), "Error! The  ABC is too large");
    EXPECT_NO_THROW(Alphabet(big.substr(1)));
}

TEST(Annotation, DigitsDecodeLeastSignificantFirst) {
    std::uint32_t value = 0;
    ASSERT_TRUE(DecodeAnnotationDigits(Cp1251("РЖ'ПГЁ"), value));
    Annotation a = UnpackAnnotation(value);
    EXPECT_EQ(a.model, 438u);
    EXPECT_EQ(a.item, 1u);
    EXPECT_EQ(a.prefixSet, 0u);
    EXPECT_EQ(EncodeAnnotationDigits(value), Cp1251("РЖ'ПГЁ"));
    for (Annotation b : {Annotation{0, 0, 0}, Annotation{16383, 511, 511}, Annotation{32, 6, 3}}) {
        std::uint32_t v = 0;
        ASSERT_TRUE(DecodeAnnotationDigits(EncodeAnnotationDigits(PackAnnotation(b)), v));
        EXPECT_EQ(UnpackAnnotation(v).model, b.model);
        EXPECT_EQ(UnpackAnnotation(v).item, b.item);
        EXPECT_EQ(UnpackAnnotation(v).prefixSet, b.prefixSet);
    }
    EXPECT_FALSE(DecodeAnnotationDigits("+", value));
    EXPECT_FALSE(DecodeAnnotationDigits(std::string(8, '\xDF'), value));
}

TEST(Automaton, TransitionsAgreeInTheDirectTableAndBeyondIt) {
    std::set<std::string> words;
    for (int i = 0; i < 400; ++i) {
        std::string w;
        for (int v = i; v > 0 || w.empty(); v /= 32) w += static_cast<char>(0xC0 + v % 32);
        words.insert(w + "\xC0\xC1\xC2\xC3");  // long tails push nodes past the direct table
    }
    Packed file(testing::WriteAutomaton(words));
    MemFile f = file.Open();
    Automaton a;
    a.Load(f, "test", Alphabet::Word());
    ASSERT_GT(a.NodeCount(), 1500u);
    for (const std::string& w : words) {
        int n = a.Walk(w);
        ASSERT_GE(n, 0);
        EXPECT_TRUE(a.IsFinal(n));
        EXPECT_FALSE(a.IsFinal(a.Walk(w.substr(0, w.size() - 1))));
    }
    EXPECT_EQ(a.Walk("\xC0\xC0\xC0\xC0\xC0\xC0\xC0"), -1);
    EXPECT_EQ(a.Walk("1"), -1);
}

TEST(Automaton, DamagedFilesAreRefused) {
    std::string good = testing::WriteAutomaton({"\xC0\xC1"});
    auto load = [](const std::string& plain) {
        return CExpcMessage([&] {
            Packed p(plain);
            MemFile f = p.Open();
            Automaton a;
            a.Load(f, "x.bin", Alphabet::Word());
        });
    };
    EXPECT_EQ(load(good), "(no error)");
    std::string wrongTable = good;
    wrongTable[wrongTable.size() - 4 * (256 - 0xC0)] = 9;
    EXPECT_EQ(load(wrongTable),
              "x.bin: the alphabet of the automaton differs from the language alphabet");
    EXPECT_EQ(load(good.substr(0, good.size() - 1)), "cannot read 255 item in ReadVectorInner");
    EXPECT_EQ(load(""), "x.bin: missing node count");
    std::string badTarget = good;
    badTarget[2 + 3 * 4 + 2] = 0;  // first relation word (after "3\n", 3 nodes and "2\n")
    badTarget[2 + 3 * 4 + 2 + 2] = 0x7F;
    EXPECT_EQ(load(badTarget), "x.bin: damaged relation target");
}

TEST(ReadVectorInner, ChecksModeMemoryAndCount) {
    Packed p(std::string(10, 'a'));
    std::vector<std::uint32_t> v;
    MemFile text = p.Open(false);
    EXPECT_EQ(CExpcMessage([&] { ReadVectorInner(text, v, 1); }),
              "ReadVectorInner: File is not opened in binary mode!");
    MemFile bin = p.Open();
    EXPECT_EQ(CExpcMessage([&] { ReadVectorInner(bin, v, 3); }),
              "cannot read 2 item in ReadVectorInner");
    MemFile bin2 = p.Open();
    EXPECT_EQ(
        CExpcMessage([&] { ReadVectorInner(bin2, v, SIZE_MAX / 2); }).rfind("cannot allocate ", 0),
        0u);
}

TEST(MorphAnnot, FlexiaModelLines) {
    FlexiaModel m;
    ASSERT_TRUE(ParseFlexiaModel("%*aa%A*ab%*acad*PO q//q comment", m));
    ASSERT_EQ(m.items.size(), 3u);
    EXPECT_EQ(m.items[0].ending, "");
    EXPECT_EQ(m.items[1].ending, "A");
    EXPECT_EQ(m.items[2].gramCodes, "acad");
    EXPECT_EQ(m.items[2].prefix, "PO");
    EXPECT_EQ(m.comment, " comment");
    EXPECT_FALSE(ParseFlexiaModel("", m));
    EXPECT_FALSE(ParseFlexiaModel("A*aa", m));
    EXPECT_FALSE(ParseFlexiaModel("%A", m));
    EXPECT_FALSE(ParseFlexiaModel("%A*abc", m));
    EXPECT_FALSE(ParseFlexiaModel("%A*aa%", m));
}

TEST(MorphAnnot, EverySectionAndItsMessages) {
    std::string tail = "1\n255;3;\n2\n  PO \nPRI\n1\n";
    tail += std::string(
        "\x01\x00\x00\x00"
        "ab"
        "\x00\x00"
        "\x05\x00\x00\x00",
        12);
    tail += "2\n\xFF\x02";
    MorphAnnot annot;
    Packed good("2\n%*aa\n%A*ab%B*ac\n" + tail);
    MemFile f = good.Open();
    LoadMorphAnnot(f, annot);
    ASSERT_EQ(annot.models.size(), 2u);
    EXPECT_EQ(annot.models[1].items[1].ending, "B");
    ASSERT_EQ(annot.accentModels.size(), 1u);
    EXPECT_EQ(annot.accentModels[0], (std::vector<std::uint8_t>{255, 3}));
    EXPECT_EQ(annot.prefixSets, (std::vector<std::string>{"", "PO", "PRI"}));
    EXPECT_EQ(annot.prefixStrings.count("PO"), 1u);
    ASSERT_EQ(annot.lemmas.size(), 1u);
    EXPECT_EQ(annot.lemmas[0].model, 1);
    EXPECT_EQ(annot.lemmas[0].base, 5u);
    EXPECT_EQ(annot.Flag(0), 255);
    EXPECT_EQ(annot.Flag(1), 2);
    EXPECT_EQ(annot.Flag(7), 0);

    auto load = [](const std::string& plain) {
        return CExpcMessage([&] {
            Packed p(plain);
            MemFile file = p.Open();
            MorphAnnot a;
            LoadMorphAnnot(file, a);
        });
    };
    EXPECT_EQ(load(""), "Cannot parse mrd file");
    EXPECT_EQ(load("3\n%*aa\n%*ab\n"), "Too few lines in mrd file");
    EXPECT_EQ(load("2\n%*aa\n%A*a\n" + tail), "Cannot parse paradigm No 2");
    EXPECT_EQ(load("1\n%*aa\n1\n255;x;\n"), "Cannot parse line 255;x;");
    EXPECT_EQ(load("1\n%*aa\n1\n;\n"), "Cannot parse line ;");
    EXPECT_EQ(load("1\n%*aa\n0\n0\n2\n" + std::string(12, '\0')),
              "cannot read 1 item in ReadVectorInner");
    EXPECT_EQ(load("1\n%*aa\n0\n0\n0\n3\n\x01"), "cannot read 1 item in ReadVectorInner");
    EXPECT_EQ(load("1\n%*aa\n0\n0\n99999999\n"),
              "cannot read 0 item in ReadVectorInner");  // no memory for the claim
    EXPECT_EQ(load("99999999\n%*aa\n"), "Too few lines in mrd file");
    Packed text("1\n%*aa\n0\n0\n0\n0\n");
    MemFile t = text.Open(false);
    EXPECT_EQ(CExpcMessage([&] { LoadMorphAnnot(t, annot); }),
              "ReadVectorInner: File is not opened in binary mode!");
}

TEST(Bases, NumberedEntriesAndDamage) {
    Packed good(
        std::string("\x03\x00\x00\x00"
                    "\x00\x00"
                    "\x02XY\x00"
                    "\x01Z\x00",
                    14));
    MemFile f = good.Open();
    Bases b;
    b.Load(f, "b");
    ASSERT_EQ(b.Size(), 3u);
    EXPECT_EQ(b.Get(0), "");
    EXPECT_EQ(b.Get(1), "XY");
    EXPECT_EQ(b.Get(2), "Z");
    EXPECT_EQ(b.Get(3), "");
    Packed noZero(
        std::string("\x01\x00\x00\x00"
                    "\x02XYW",
                    8));
    MemFile g = noZero.Open();
    EXPECT_EQ(CExpcMessage([&] { b.Load(g, "b"); }), "b: damaged base No 0");
}

TEST(Gramtab, CodesWithCommentsAndBadLines) {
    Packed good(Cp1251("// comment\n\nаа А С мр,ед,им // tail\nаб Б Г дст,прш\n"));
    MemFile f = good.Open(false);
    Gramtab g;
    ASSERT_TRUE(g.Load(f));
    EXPECT_EQ(g.Size(), 2u);
    ASSERT_NE(g.Find(Cp1251("аа")), nullptr);
    EXPECT_EQ(g.Find(Cp1251("аа"))->partOfSpeech, Cp1251("С"));
    EXPECT_EQ(g.Find(Cp1251("аа"))->features, Cp1251("мр,ед,им"));
    EXPECT_EQ(g.Find(Cp1251("зз")), nullptr);
    Packed bad(Cp1251("ааа А С\n"));
    MemFile b = bad.Open(false);
    EXPECT_FALSE(g.Load(b));
    Packed empty("// nothing\n");
    MemFile e = empty.Open(false);
    EXPECT_FALSE(g.Load(e));
}

}  // namespace
}  // namespace kestrova
