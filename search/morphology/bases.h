// The dictionary's "morph.bases" file: a 32-bit little-endian count, then per base a length
// byte, the base's bytes in upper case and a zero byte. Base 0 is the empty base.
#pragma once

#include "search/morphology/mem_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class Bases {
public:
    // Reads every base; throws CExpc naming `name` when the file is short or damaged.
    void Load(MemFile& file, const std::string& name);
    // The base of this number (empty for a number out of range).
    std::string_view Get(std::uint32_t number) const {
        if (number + 1 >= offsets_.size()) return {};
        return std::string_view(text_).substr(offsets_[number],
                                              offsets_[number + 1] - offsets_[number]);
    }
    std::size_t Size() const { return offsets_.empty() ? 0 : offsets_.size() - 1; }

private:
    std::string text_;                    // all bases one after the other
    std::vector<std::uint32_t> offsets_;  // start of each base, then the end
};

}  // namespace kestrova
