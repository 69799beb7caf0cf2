// Frequency statistics of one subject: "<s>homoweight.bin" holds records of three 32-bit
// little-endian integers (flexia model, item, weight): the weight of one form of a paradigm;
// "<s>wordweight.bin" holds records of two (flexia model, weight): the weight of a paradigm
// as a whole. Weights are informative only; they never change the order of analyses.
#pragma once

#include "search/morphology/mem_file.h"

#include <cstdint>
#include <unordered_map>

namespace kestrova {

class Statistics {
public:
    // Reads both files; false when either is not a whole number of records.
    bool Load(MemFile& homoweight, MemFile& wordweight);
    bool Loaded() const { return loaded_; }
    // The weight of a form: its own when known, else its paradigm's, else 0.
    std::int32_t Weight(std::uint32_t model, std::uint32_t item) const;

private:
    static std::uint64_t Key(std::uint32_t model, std::uint32_t item) {
        return (static_cast<std::uint64_t>(model) << 32) | item;
    }
    bool loaded_ = false;
    std::unordered_map<std::uint64_t, std::int32_t> forms_;
    std::unordered_map<std::uint32_t, std::int32_t> models_;
};

}  // namespace kestrova
