// The two alphabets of the Russian lemmatizer, in code page 1251 bytes. The word alphabet
// spells the strings of the automata (word forms, "+", annotation digits); the annotation
// alphabet is the word alphabet without "+" and gives the digits of encoded annotations.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kestrova {

inline constexpr unsigned char kAnnotChar = '+';
// Columns of the direct transition table: the largest alphabet an automaton may use.
inline constexpr int kMaxAlphabetSize = 54;

class Alphabet {
public:
    // Builds the alphabet of the given bytes, indexed in byte order. Throws CExpc
    // "Error! The  ABC is too large" for more than kMaxAlphabetSize symbols.
    explicit Alphabet(std::string_view symbols);

    // The Russian word alphabet: ' + - Ё А..Я (36 symbols).
    static const Alphabet& Word();
    // The Russian annotation alphabet: ' - Ё А..Я (35 symbols).
    static const Alphabet& Annotation();

    // The index of a byte, or -1 when it is not in the alphabet.
    int Index(unsigned char c) const { return table_[c]; }
    unsigned char Symbol(int index) const { return symbols_[index]; }
    int Size() const { return size_; }
    // The 256-entry table stored in every automaton file.
    const std::array<std::int32_t, 256>& Table() const { return table_; }

private:
    std::array<std::int32_t, 256> table_;
    std::array<unsigned char, 256> symbols_{};
    int size_ = 0;
};

}  // namespace kestrova
