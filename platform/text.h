// Case mapping, character classes and comparisons of UTF-16 text, on ICU with fixed rules,
// so that results never change with the environment. All functions are thread-safe.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace kestrova::platform {

// Simple (one code unit to one code unit) upper and lower case mapping.
char16_t ToUpper(char16_t c);
char16_t ToLower(char16_t c);
std::u16string ToUpper(std::u16string_view text);
std::u16string ToLower(std::u16string_view text);

// True for letters and digits of any script.
bool IsAlphaNumeric(char16_t c);

// Locale-neutral collation (root rules): Latin before Cyrillic, lower case before upper case.
// CompareText is the case-sensitive order (tertiary strength), CompareTextNoCase ignores case
// (secondary strength). Both return negative, 0 or positive.
int CompareText(std::u16string_view a, std::u16string_view b);
int CompareTextNoCase(std::u16string_view a, std::u16string_view b);

// Sort keys of the two orders above: byte strings whose plain order (std::string comparison)
// is the order of CompareText or CompareTextNoCase, equal exactly when the texts compare
// equal. For sorting or hashing many texts at the cost of one collation each.
std::string SortKey(std::u16string_view text);
std::string SortKeyNoCase(std::u16string_view text);
// The SortKeyNoCase key of the text whose SortKey key is `key`, taken from the front of that
// key without another collation.
std::string_view NoCaseSortKeyOf(std::string_view key);

// Plain code-unit order.
int CompareCodeUnits(std::u16string_view a, std::u16string_view b);
// Equality of code units, compared as bytes (faster than the character-wise comparison of
// char16_t strings, which is a plain loop).
inline bool SameCodeUnits(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0);
}
// The same as a function object, for hash tables keyed by text.
struct SameCodeUnitsEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const {
        return SameCodeUnits(a, b);
    }
};

// ASCII-only case-insensitive equality of byte strings (for tag and attribute names).
bool EqualsAsciiNoCase(std::string_view a, std::string_view b);

// Literal conversion of an ASCII byte string to UTF-16 (for fixed texts in code).
std::u16string Ascii16(std::string_view ascii);

}  // namespace kestrova::platform
