#include "tools/dictc/alphabet.h"

#include <stdexcept>

#include "platform/codepage.h"

namespace kestrova::dictc {
namespace {

constexpr unsigned char kApostrophe = 39;
constexpr unsigned char kHyphen = 45;
constexpr unsigned char kCapitalYo = 168;
constexpr unsigned char kSmallYo = 184;
constexpr unsigned char kCapitalA = 192;
constexpr unsigned char kCapitalIe = 197;
constexpr unsigned char kCapitalHardSign = 218;
constexpr unsigned char kSmallA = 224;

std::array<int32_t, 256> MakeWordAlphabet() {
    std::array<int32_t, 256> table;
    table.fill(-1);
    int next = 0;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == kApostrophe || byte == kAnnotationChar || byte == kHyphen ||
            byte == kCapitalYo || (byte >= kCapitalA && byte < kSmallA)) {
            table[byte] = next++;
        }
    }
    return table;
}

}  // namespace

const std::array<int32_t, 256>& WordAlphabet() {
    static const std::array<int32_t, 256> table = MakeWordAlphabet();
    return table;
}

unsigned char AnnotationDigit(int index) {
    static const std::string digits = [] {
        std::string result;
        for (int byte = 0; byte < 256; ++byte) {
            if (WordAlphabet()[byte] >= 0 && byte != kAnnotationChar) result.push_back(char(byte));
        }
        return result;
    }();
    return static_cast<unsigned char>(digits.at(index));
}

void AppendAnnotation(std::string& out, uint32_t value) {
    do {
        out.push_back(char(AnnotationDigit(int(value % kAnnotationBase))));
        value /= kAnnotationBase;
    } while (value != 0);
}

uint32_t PackAnnotation(uint32_t model, uint32_t item, uint32_t prefixSet) {
    if (model >= (1u << 14) || item >= (1u << 9) || prefixSet >= (1u << 9)) {
        throw std::runtime_error("annotation out of range: model " + std::to_string(model) +
                                 ", item " + std::to_string(item) + ", prefix set " +
                                 std::to_string(prefixSet));
    }
    return model << 18 | item << 9 | prefixSet;
}

std::optional<std::string> FoldCp1251(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        if (c >= kSmallA) c = static_cast<unsigned char>(c - (kSmallA - kCapitalA));
        if (c == kSmallYo || c == kCapitalYo) c = kCapitalIe;
        if (c == kApostrophe) c = kCapitalHardSign;
        if (c == kAnnotationChar || WordAlphabet()[c] < 0) return std::nullopt;
        result.push_back(char(c));
    }
    return result;
}

std::optional<std::string> FoldWord(std::string_view utf8) {
    std::string bytes;
    for (char16_t unit : platform::Utf8ToUtf16(utf8)) {
        char byte = platform::Cp1251FromUnit(unit);
        // '?' is what an unmappable character turns into; it is outside the alphabet either way.
        bytes.push_back(byte);
    }
    return FoldCp1251(bytes);
}

}  // namespace kestrova::dictc
