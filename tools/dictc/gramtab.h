// Two-character grammatical codes and the text of the grammatical code table (code page 1251).
#pragma once

#include <string>

#include "tools/dictc/lexicon.h"

namespace kestrova::dictc {

// The code of tag number `tag` (two bytes of code page 1251: Russian small letters first, then
// Russian capitals, then Latin letters for the first byte; Russian letters for the second).
// Throws when there are more tags than codes.
std::string GramCode(uint32_t tag);

// The gramtab: comment lines, then one line per tag of the lexicon:
//   code, "А", part of speech, comma-separated features (Russian abbreviations).
std::string GramtabText(const Lexicon& lexicon);

}  // namespace kestrova::dictc
