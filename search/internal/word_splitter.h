// Words of a text, as title search and highlighting see them: maximal runs of letters, digits
// (of any script) and the underscore; every other character separates words.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

struct WordSpan {
    size_t start;
    size_t length;
};

// The words of the text, in order of appearance.
std::vector<WordSpan> SplitWordSpans(std::u16string_view text);
std::vector<std::u16string> SplitWords(std::u16string_view text);

// Empties the set, then fills it with the lower-cased words of the text.
void FillWordSet(std::u16string_view text, std::set<std::u16string>& words);

}  // namespace kestrova
