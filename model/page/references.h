// HTML character references (`&amp;`, `&#1040;`, `&#x410;`) in UTF-16 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrova {

// The text with its character references decoded, or unchanged when it holds no `&`.
std::u16string DecodeReferences(std::u16string_view text);

// Decodes every reference that decodes; one that does not stays as it stands. A numeric
// reference past U+FFFF gives a surrogate pair, one past U+10FFFF gives U+FFFD.
std::u16string HtmlStringDecoder(std::u16string_view text);

// The code unit of a named reference (letter case counts), or 0 when the name is unknown.
char16_t LookupNamedReference(std::u16string_view name);

// Number of names in the reference table.
size_t NamedReferenceCount();

}  // namespace kestrova
