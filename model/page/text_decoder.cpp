#include "model/page/text_decoder.h"

#include "model/page/charset.h"
#include "platform/codepage.h"

namespace kestrova {

TextDecoder::TextDecoder(std::string_view charset) : codePage_(CodePageFromCharset(charset)) {}

std::u16string TextDecoder::Convert(std::string_view bytes) const {
    const size_t zero = bytes.find('\0');
    if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
    if (bytes.empty()) return {};
    std::u16string text = platform::DecodeBytes(codePage_, bytes);
    const size_t unit = text.find(u'\0');
    if (unit != std::u16string::npos) text.resize(unit);
    return text;
}

}  // namespace kestrova
