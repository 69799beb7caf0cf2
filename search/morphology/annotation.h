// Annotations of the word-form automaton: which flexia model, which of its items and which
// prefix set a word form belongs to, packed into 32 bits and spelled after "+" in digits of
// the annotation alphabet, least significant digit first (base 35).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

struct Annotation {
    std::uint32_t model;      // flexia model number, 14 bits
    std::uint32_t item;       // item within the model, 9 bits
    std::uint32_t prefixSet;  // prefix set number, 9 bits
};

inline constexpr std::uint32_t kAnnotationBase = 35;
// 35^7 exceeds 2^32: no valid annotation has more digits.
inline constexpr int kMaxAnnotationDigits = 7;

inline std::uint32_t PackAnnotation(const Annotation& a) {
    return (a.model << 18) | ((a.item & 0x1FF) << 9) | (a.prefixSet & 0x1FF);
}

inline Annotation UnpackAnnotation(std::uint32_t value) {
    return {value >> 18, (value >> 9) & 0x1FF, value & 0x1FF};
}

// The digits of a packed annotation (at least one digit).
std::string EncodeAnnotationDigits(std::uint32_t value);
// The value of annotation digits; false when a byte is not a digit or the value overflows.
bool DecodeAnnotationDigits(std::string_view digits, std::uint32_t& value);

}  // namespace kestrova
