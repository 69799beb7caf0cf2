#include "model/page/charset.h"

#include "model/page/page_strings.h"
#include "platform/codepage.h"
#include "platform/text.h"

namespace kestrova {

bool CharsetFromContentType(std::string_view content, std::string& charset) {
    constexpr std::string_view kKey = "charset=";
    const size_t at = content.find(kKey);
    if (at == std::string_view::npos) return false;
    charset.assign(TrimSpaces(content.substr(at + kKey.size())));
    return true;
}

uint32_t CodePageFromCharset(std::string_view charset) {
    if (platform::EqualsAsciiNoCase(charset, "windows-1251")) return platform::kCodePage1251;
    if (platform::EqualsAsciiNoCase(charset, "utf-8")) return platform::kCodePageUtf8;
    return platform::kCodePageAnsi;
}

}  // namespace kestrova
