// File URLs and the other URL helpers of the system. Thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova::platform {

// "file://" and the absolute path ('\' taken as '/'), with '%', ' ', '#', '?' and control
// characters percent-escaped (UTF-8 bytes), and the bytes of native names that are not text
// (platform/path.h) escaped as those bytes; other characters are kept. Empty for a path that
// is not absolute.
std::u16string FileUrlFromPath(std::u16string_view path);

// True for a "file:" URL (any letter case).
bool IsFileUrl(std::u16string_view text);

// True for any URL: a scheme of two or more letters, digits, '+', '-' or '.' and a colon.
bool IsUrl(std::u16string_view text);

// The path of a file URL (percent-escapes decoded as the bytes of a native path, losslessly,
// host "localhost" or empty), or nothing when the URL is not a local file URL.
std::optional<std::u16string> PathFromFileUrl(std::u16string_view url);

// The text with every space as "%20" and nothing else changed.
std::u16string EscapeSpaces(std::u16string_view text);

// Percent-escapes decoded (as UTF-8 bytes); malformed escapes stay as they are.
std::u16string Unescape(std::u16string_view text);
// The same with the escaped bytes decoded by `decode`.
std::u16string Unescape(std::u16string_view text, std::u16string (*decode)(std::string_view));

// The path of `target` relative to the folder `from`, parts joined with '\'; both are taken
// as normalised absolute paths. Starts with ".\" when target lies inside the folder and with
// "..\" otherwise; nothing when target is not absolute.
std::optional<std::u16string> RelativePathTo(std::u16string_view from, std::u16string_view target);

// A stable 32-bit hash of a text (FNV-1a over the UTF-16 code units).
uint32_t HashText(std::u16string_view text);

}  // namespace kestrova::platform
