// The declared character set of a page and its code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

// Finds the exact, case-sensitive `charset=` in the content of a Content-Type declaration; the
// charset is the rest of the string, trimmed. False when there is none.
bool CharsetFromContentType(std::string_view content, std::string& charset);

// 1251 for `windows-1251`, 65001 for `utf-8` (ASCII letter case ignored), otherwise 0, the
// system's ANSI code page.
uint32_t CodePageFromCharset(std::string_view charset);

}  // namespace kestrova
