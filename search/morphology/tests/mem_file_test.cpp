#include "search/morphology/mem_file.h"
#include "search/morphology/mem_file_registry.h"
#include "search/morphology/tests/dict_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestrova {
namespace {

using testing::CompressAlone;
using testing::CompressAloneWithEndMarker;

MemFile Make(const std::string& data, bool binary = true) {
    return MemFile("f", reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), binary);
}

std::string BigText() {
    std::string s;
    for (int i = 0; i < 5000; ++i) s += "line " + std::to_string(i * 7919 % 10007) + "\n";
    return s;  // well over several 4096-byte steps
}

TEST(MemFile, ItemsAcrossDecodeStepsComeBackWhole) {
    std::string plain = BigText();
    for (const std::string& packed : {CompressAlone(plain), CompressAloneWithEndMarker(plain)}) {
        MemFile f = Make(packed);
        std::string out(plain.size() + 10, '\0');
        EXPECT_EQ(f.ReadItems(out.data(), 3, 10), 10u);
        std::size_t rest = f.ReadItems(out.data() + 30, 7, plain.size());
        EXPECT_EQ(rest, (plain.size() - 30) / 7);  // the partial last item is not counted
        out.resize(30 + rest * 7);
        EXPECT_EQ(out, plain.substr(0, out.size()));
        EXPECT_TRUE(f.Eof());
        EXPECT_EQ(f.ReadByte(), -1);
    }
}

TEST(MemFile, ReadLineStopsAfterLineEndOrLimitAndFailsAtEnd) {
    MemFile f = Make(CompressAlone("abc\nlonger line\nlast"));
    char buf[8];
    ASSERT_TRUE(f.ReadLine(buf, sizeof buf));
    EXPECT_STREQ(buf, "abc\n");
    ASSERT_TRUE(f.ReadLine(buf, sizeof buf));
    EXPECT_STREQ(buf, "longer ");  // n - 1 bytes, zero-terminated
    ASSERT_TRUE(f.ReadLine(buf, sizeof buf));
    EXPECT_STREQ(buf, "line\n");
    EXPECT_EQ(f.ReadByte(), 'l');
    ASSERT_TRUE(f.ReadLine(buf, sizeof buf));
    EXPECT_STREQ(buf, "ast");
    EXPECT_TRUE(f.Eof());
    EXPECT_FALSE(f.ReadLine(buf, sizeof buf));
    EXPECT_STREQ(buf, "");
}

TEST(MemFile, EmptyPlainDataIsAtEndAtOnce) {
    MemFile f = Make(CompressAlone(""));
    EXPECT_EQ(f.PlainSize(), 0u);
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(f.ReadByte(), -1);
}

TEST(MemFile, HeaderSizeLimitsTheData) {
    std::string packed = CompressAlone("0123456789");
    packed[5] = 4;  // claim 4 plain bytes
    MemFile f = Make(packed);
    char buf[16] = {};
    EXPECT_EQ(f.ReadItems(buf, 1, sizeof buf), 4u);
    EXPECT_STREQ(buf, "0123");
}

TEST(MemFile, BadHeaderAndDamagedStreamAreErrors) {
    EXPECT_THROW(
        {
            try {
                Make(std::string("\x5D\0\0\x80", 4));
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "cannot init lzma state");
                throw;
            }
        },
        std::runtime_error);
    std::string bad = CompressAlone("x");
    bad[0] = static_cast<char>(230);  // properties out of range
    EXPECT_THROW(Make(bad), std::runtime_error);
    std::string truncated = CompressAlone(BigText());
    truncated.resize(truncated.size() / 2);
    MemFile f = Make(truncated);
    std::string out(BigText().size(), '\0');
    EXPECT_THROW(f.ReadItems(out.data(), 1, out.size()), std::runtime_error);
}

TEST(MemFile, CloseEndsTheDataAndPrintfIsRefused) {
    MemFile f = Make(CompressAlone("abc"), false);
    EXPECT_FALSE(f.IsBinary());
    f.Close();
    EXPECT_EQ(f.ReadByte(), -1);
    try {
        f.Printf("%d", 1);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "unsupported fprintf");
    }
}

TEST(MemFileRegistry, NamesIgnoreLetterCaseAndDuplicatesAreRefused) {
    std::string packed = CompressAlone("data");
    MemFileRegistry r;
    auto* p = reinterpret_cast<const std::uint8_t*>(packed.data());
    r.Register("rus/morph.annot", p, packed.size());
    EXPECT_TRUE(r.Contains("Rus/MORPH.annot"));
    auto f = r.Open("RUS/morph.ANNOT", "rb");
    EXPECT_TRUE(f->IsBinary());
    EXPECT_EQ(f->ReadByte(), 'd');
    EXPECT_FALSE(r.Open("rus/morph.annot", "r")->IsBinary());
    try {
        r.Register("Rus/Morph.Annot", p, packed.size());
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "duplicate file in MemFileRegistry");
    }
    try {
        r.Open("rus/morph.bases");
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "file not found in MemFileRegistry");
    }
}

}  // namespace
}  // namespace kestrova
