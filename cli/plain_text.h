// Text of the pages as plain output shows it. Titles, keywords and page texts come from the
// pages as they are: an escape sequence in a title would retitle or reprogram the terminal,
// and a line break ("&#10;") would forge lines of output. Plain output shows them harmless.
#pragma once

#include "platform/codepage.h"

#include <string>
#include <string_view>

namespace kestrova::cli {

// The text in UTF-8 for a terminal: line breaks and tabs become spaces, other control
// characters (C0, DEL and C1) are shown escaped as \xHH. Null gives "".
inline std::string PlainText(std::u16string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::u16string shown;
    shown.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f') {
            shown.push_back(u' ');
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            shown.append({u'\\', u'x', static_cast<char16_t>(kHex[c >> 4]),
                          static_cast<char16_t>(kHex[c & 15])});
        } else {
            shown.push_back(c);
        }
    }
    return platform::Utf16ToUtf8(shown);
}

inline std::string PlainText(const char16_t* text) {
    return text ? PlainText(std::u16string_view(text)) : std::string();
}

// A relative page path of the model ("law\civil\contract.html") as a Linux user writes it
// ("law/civil/contract.html"), shown as PlainText.
inline std::string PlainPath(const char16_t* path) {
    if (!path) return {};
    std::u16string slashed(path);
    for (char16_t& c : slashed) {
        if (c == u'\\') c = u'/';
    }
    return PlainText(slashed);
}

}  // namespace kestrova::cli
