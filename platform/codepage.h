// Code page conversions between byte text and UTF-16.
//
// Code pages used by the system: 1251 (Windows Cyrillic, an exact table both ways; characters
// it cannot hold become '?'), 65001 (UTF-8; invalid sequences become U+FFFD) and 0, the
// "system ANSI code page": for page bytes UTF-8 when the bytes are valid UTF-8, otherwise 1251.
// All functions are thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova::platform {

inline constexpr uint32_t kCodePageAnsi = 0;
inline constexpr uint32_t kCodePage1251 = 1251;
inline constexpr uint32_t kCodePageUtf8 = 65001;

// Decodes bytes of the given code page (0, 1251 or 65001; any other is treated as 0).
std::u16string DecodeBytes(uint32_t codePage, std::string_view bytes);

// Encodes UTF-16 text into the given code page; for code page 0 this is UTF-8.
std::string EncodeText(uint32_t codePage, std::u16string_view text);

// True when the bytes form valid UTF-8 (no overlongs, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// UTF-8 <-> UTF-16 with U+FFFD for invalid input (unpaired surrogates become U+FFFD too).
std::u16string Utf8ToUtf16(std::string_view bytes);
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-16 <-> wchar_t (UTF-32 here), for CLucene. Lone surrogates (which carry the bytes of
// native names that are not text, platform/path.h) pass through unchanged both ways, so a
// relative path stored in an index comes back as it went in.
std::wstring Utf16ToWide(std::u16string_view text);
std::u16string WideToUtf16(std::wstring_view text);

// One byte of code page 1251 as a UTF-16 code unit.
char16_t Cp1251ToUnit(unsigned char byte);

// One UTF-16 code unit as a byte of code page 1251, or '?' when it has none.
char Cp1251FromUnit(char16_t unit);

}  // namespace kestrova::platform
