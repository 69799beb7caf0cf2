// Splitting the word forms of one lexeme into a common stem and per-form prefix and ending.
#pragma once

#include <string>
#include <vector>

namespace kestrova::dictc {

struct SplitForm {
    std::string prefix;  // one of the allowed item prefixes, often empty
    std::string ending;  // what follows the stem, possibly empty
};

struct SplitLexeme {
    std::string stem;
    std::vector<SplitForm> forms;  // in the order of the input forms
};

// Every form is prefix + stem + ending.  The stem is the longest string found in every form;
// the text before it must be one of itemPrefixes (which should contain ""), otherwise the stem
// falls back to the longest common beginning and no form has a prefix.  Forms are folded
// code page 1251 strings; forms must not be empty.
SplitLexeme Split(const std::vector<std::string>& forms,
                  const std::vector<std::string>& itemPrefixes);

}  // namespace kestrova::dictc
