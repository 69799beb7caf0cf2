// Read-only resources linked into the program image, found by id and type name the way
// FindResourceW, LoadResource, LockResource and SizeofResource find them in the own module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrova {

struct ModuleResource {
    const std::uint8_t* data;
    std::size_t size;
};

// The resource with this id and type ("DICT" for the dictionaries), or none when the
// program carries no such resource. The data live as long as the program.
std::optional<ModuleResource> FindModuleResource(int id, std::string_view type);

namespace detail {
// One linked resource; the build generates the table of them.
struct ModuleResourceEntry {
    int id;
    const char* type;
    const unsigned char* begin;
    const unsigned char* end;
};
extern const ModuleResourceEntry kModuleResources[];
extern const std::size_t kModuleResourceCount;
}  // namespace detail

}  // namespace kestrova
