#include "model/page/text_decoder.h"

#include "model/page/charset.h"
#include "platform/codepage.h"

namespace kestrova {
namespace {

// ASCII, and the UTF-8 sequences of two and three bytes (all of the Basic Multilingual Plane but
// the surrogates, so Cyrillic and the common punctuation), decoded in one pass; false for
// anything else, which the full conversion then takes. Text that passes is valid UTF-8, so the
// result is right for code page 0 as well as for 65001.
bool DecodeShortUtf8(std::string_view bytes, std::u16string& out) {
    out.resize(bytes.size());
    char16_t* o = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p != end) {
        const unsigned b = *p++;
        if (b < 0x80) {
            *o++ = static_cast<char16_t>(b);
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            if (p == end || (*p & 0xC0) != 0x80) return false;
            *o++ = static_cast<char16_t>(((b & 0x1F) << 6) | (*p++ & 0x3F));
            continue;
        }
        if (b < 0xE0 || b > 0xEF || end - p < 2) return false;
        // E0 needs A0..BF next (no overlong forms), ED needs 80..9F (no surrogates).
        const unsigned c1 = p[0];
        const unsigned c2 = p[1];
        const unsigned low = b == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = b == 0xED ? 0x9F : 0xBF;
        if (c1 < low || c1 > high || (c2 & 0xC0) != 0x80) return false;
        *o++ = static_cast<char16_t>(((b & 0x0F) << 12) | ((c1 & 0x3F) << 6) | (c2 & 0x3F));
        p += 2;
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return true;
}

}  // namespace

TextDecoder::TextDecoder(std::string_view charset) : codePage_(CodePageFromCharset(charset)) {}

std::u16string TextDecoder::Convert(std::string_view bytes) const {
    const size_t zero = bytes.find('\0');
    if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
    if (bytes.empty()) return {};
    // No byte maps to a zero unit in 1251, and the bytes hold no zero: nothing to cut.
    if (codePage_ == platform::kCodePage1251) return platform::DecodeBytes(codePage_, bytes);
    std::u16string text;
    // The bytes hold no zero, so text decoded in one pass holds none either.
    if (DecodeShortUtf8(bytes, text)) return text;
    text = platform::DecodeBytes(codePage_, bytes);
    const size_t unit = text.find(u'\0');
    if (unit != std::u16string::npos) text.resize(unit);
    return text;
}

}  // namespace kestrova
