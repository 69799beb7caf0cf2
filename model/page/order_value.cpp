#include "model/page/order_value.h"

#include "platform/text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace kestrova {

int32_t OrderValue(std::string_view text) {
    if (text.empty()) return 0;
    if (platform::EqualsAsciiNoCase(text, "top")) return kOrderTop;
    if (platform::EqualsAsciiNoCase(text, "bottom")) return kOrderBottom;
    if (platform::EqualsAsciiNoCase(text, "default")) return 0;
    const std::string s(text);
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    // A zero byte inside the value also leaves characters over.
    if (end == s.c_str() || end != s.c_str() + s.size()) throw std::runtime_error("wrong int " + s);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace kestrova
