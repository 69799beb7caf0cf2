// The two alphabets of the dictionary files and the folding of word forms into them.
// Everything here works on bytes of code page 1251.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova::dictc {

inline constexpr char kAnnotationChar = '+';
inline constexpr int kAnnotationBase = 35;

// Byte -> index in the word alphabet (apostrophe, "+", hyphen, Ё, А..Я in byte order), or -1.
const std::array<int32_t, 256>& WordAlphabet();

// Index -> byte of the annotation alphabet (the word alphabet without "+").
unsigned char AnnotationDigit(int index);

// Appends an annotation value as annotation-alphabet digits, least significant first.
void AppendAnnotation(std::string& out, uint32_t value);

// Annotation value of (flexia model, item, prefix set); throws when a part is out of range.
uint32_t PackAnnotation(uint32_t model, uint32_t item, uint32_t prefixSet);

// A UTF-8 word form in the stored spelling: upper case, Ё as Е, apostrophe as Ъ.  Returns
// nothing when a character has no place in the word alphabet (digits, Latin letters, "+").
std::optional<std::string> FoldWord(std::string_view utf8);

// The same folding for a word already in code page 1251.
std::optional<std::string> FoldCp1251(std::string_view bytes);

}  // namespace kestrova::dictc
