// Small string routines shared by the page readers.
#pragma once

#include <string>
#include <string_view>

namespace kestrova {

// True for the bytes (or code units) that TrimSpaces removes: blank, TAB, LF, VT and CR.
inline bool IsTrimSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\r';
}

// Removes leading and trailing blanks, TAB, LF, VT and CR; nothing else counts as space here.
std::string_view TrimSpaces(std::string_view text);
std::u16string_view TrimSpaces(std::u16string_view text);

// Lower case, one code unit at a time.
std::u16string LowerCase(std::u16string_view text);

// The text in the system's ANSI code page (for index directory paths); empty gives empty.
std::string AnsiFromText(std::u16string_view text);

}  // namespace kestrova
