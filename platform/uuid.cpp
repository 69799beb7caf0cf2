#include "platform/uuid.h"

#include <uuid/uuid.h>

#include <algorithm>

namespace kestrova::platform {
namespace {

// libuuid keeps the RFC 4122 byte order (every field big-endian); the GUID layout stores the
// first three fields little-endian. The swap is its own inverse.
std::array<uint8_t, 16> SwapFirstFields(const uint8_t* in) {
    std::array<uint8_t, 16> out;
    std::copy(in, in + 16, out.begin());
    std::reverse(out.begin(), out.begin() + 4);
    std::reverse(out.begin() + 4, out.begin() + 6);
    std::reverse(out.begin() + 6, out.begin() + 8);
    return out;
}

}  // namespace

Uuid CreateUuid() {
    uuid_t raw;
    uuid_generate_random(raw);
    return Uuid{SwapFirstFields(raw)};
}

std::string UuidToAsciiString(const Uuid& uuid) {
    std::array<uint8_t, 16> raw = SwapFirstFields(uuid.bytes.data());
    char text[37];
    uuid_unparse_lower(raw.data(), text);
    return std::string(text, 36);
}

std::u16string UuidToString(const Uuid& uuid) {
    std::string ascii = UuidToAsciiString(uuid);
    return std::u16string(ascii.begin(), ascii.end());
}

std::optional<Uuid> ParseUuid(std::u16string_view text) {
    if (text.size() != 36) return std::nullopt;
    char ascii[37];
    for (size_t i = 0; i < 36; ++i) {
        if (text[i] > 0x7f) return std::nullopt;
        ascii[i] = static_cast<char>(text[i]);
    }
    ascii[36] = '\0';
    uuid_t raw;
    if (uuid_parse(ascii, raw) != 0) return std::nullopt;
    return Uuid{SwapFirstFields(raw)};
}

}  // namespace kestrova::platform
