// The position of an entry among its siblings, as an `order` attribute gives it.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrova {

inline constexpr int32_t kOrderTop = 1;
inline constexpr int32_t kOrderBottom = INT32_MIN;

// `top` 1, `bottom` INT32_MIN, `default` 0 (letter case ignored), the empty string 0, otherwise
// a signed decimal number (leading blanks and a sign allowed; clamped to 32 bits). Throws
// std::runtime_error("wrong int " + text) when characters are left over after the number.
int32_t OrderValue(std::string_view text);

}  // namespace kestrova
