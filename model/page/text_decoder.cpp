#include "model/page/text_decoder.h"

#include "model/page/charset.h"
#include "platform/codepage.h"

namespace kestrova {
namespace {

// ASCII, and two-byte UTF-8 sequences (which hold all of Cyrillic), decoded in one pass; false
// for anything else, which the full conversion then takes. Text that passes is valid UTF-8, so
// the result is right for code page 0 as well as for 65001.
bool DecodeShortUtf8(std::string_view bytes, std::u16string& out) {
    out.resize(bytes.size());
    size_t n = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out[n++] = b;
            continue;
        }
        if (b < 0xC2 || b > 0xDF || i + 1 == bytes.size()) return false;
        const unsigned char c = static_cast<unsigned char>(bytes[++i]);
        if ((c & 0xC0) != 0x80) return false;
        out[n++] = static_cast<char16_t>(((b & 0x1F) << 6) | (c & 0x3F));
    }
    out.resize(n);
    return true;
}

}  // namespace

TextDecoder::TextDecoder(std::string_view charset) : codePage_(CodePageFromCharset(charset)) {}

std::u16string TextDecoder::Convert(std::string_view bytes) const {
    const size_t zero = bytes.find('\0');
    if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
    if (bytes.empty()) return {};
    std::u16string text;
    // The bytes hold no zero, so text decoded in one pass holds none either.
    if (codePage_ != platform::kCodePage1251 && DecodeShortUtf8(bytes, text)) return text;
    text = platform::DecodeBytes(codePage_, bytes);
    const size_t unit = text.find(u'\0');
    if (unit != std::u16string::npos) text.resize(unit);
    return text;
}

}  // namespace kestrova
