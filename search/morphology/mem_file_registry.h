// The in-memory file registry: names (compared ignoring ASCII letter case) mapped to LZMA
// "alone" data that stay where they are (in the program image); opening a name starts a
// streamed decoder over them. Filled once; reading it from several threads is safe.
#pragma once

#include "search/morphology/mem_file.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace kestrova {

class MemFileRegistry {
public:
    // The process-wide registry of the dictionary resources.
    static MemFileRegistry& Instance();

    // Adds a name; nothing is copied. Throws std::runtime_error "duplicate file in
    // MemFileRegistry" when the name (in any letter case) is already there.
    void Register(std::string name, const std::uint8_t* data, std::size_t size);
    // True when the name is registered.
    bool Contains(std::string_view name) const;
    // Opens a registered name ("rb" or "r"). Throws std::runtime_error "file not found in
    // MemFileRegistry" for an unknown name, "cannot init lzma state" for bad data.
    std::unique_ptr<MemFile> Open(std::string_view name, std::string_view mode = "rb") const;
    std::size_t Size() const { return files_.size(); }

private:
    struct NoCaseLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    struct Entry {
        const std::uint8_t* data;
        std::size_t size;
    };
    std::map<std::string, Entry, NoCaseLess> files_;
};

}  // namespace kestrova
