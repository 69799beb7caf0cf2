// UUIDs: random identifiers kept in the binary GUID layout that the system's files store
// (a 32-bit, a 16-bit and a 16-bit field, each little-endian, then 8 bytes). Thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova::platform {

struct Uuid {
    std::array<uint8_t, 16> bytes{};  // binary GUID layout, as written to files

    bool operator==(const Uuid&) const = default;
};

// A new random UUID.
Uuid CreateUuid();

// The string form: lower-case hexadecimal, groups 8-4-4-4-12 joined by hyphens, no braces.
std::u16string UuidToString(const Uuid& uuid);
std::string UuidToAsciiString(const Uuid& uuid);

// Parses the string form (either letter case); nullopt when it is not one.
std::optional<Uuid> ParseUuid(std::u16string_view text);

}  // namespace kestrova::platform
