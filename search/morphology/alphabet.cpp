#include "search/morphology/alphabet.h"

#include "search/morphology/cexpc.h"

#include <string>

namespace kestrova {
namespace {

std::string RussianSymbols(bool withAnnotChar) {
    std::string s = "'";
    if (withAnnotChar) s += static_cast<char>(kAnnotChar);
    s += '-';
    s += '\xA8';                                                   // Ё
    for (int c = 0xC0; c <= 0xDF; ++c) s += static_cast<char>(c);  // А..Я
    return s;
}

}  // namespace

Alphabet::Alphabet(std::string_view symbols) {
    table_.fill(-1);
    bool present[256] = {};
    for (char c : symbols) present[static_cast<unsigned char>(c)] = true;
    for (int c = 0; c < 256; ++c) {
        if (!present[c]) continue;
        if (size_ >= kMaxAlphabetSize) throw CExpc("Error! The  ABC is too large");
        table_[c] = size_;
        symbols_[size_++] = static_cast<unsigned char>(c);
    }
}

const Alphabet& Alphabet::Word() {
    static const Alphabet alphabet(RussianSymbols(true));
    return alphabet;
}

const Alphabet& Alphabet::Annotation() {
    static const Alphabet alphabet(RussianSymbols(false));
    return alphabet;
}

}  // namespace kestrova
