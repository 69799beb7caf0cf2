// Fingerprints of what an index's terms depend on besides the page texts, so that an index
// built with other dictionaries or rules is not taken as current. A fingerprint is a 64-bit
// FNV-1a hash written as 16 hexadecimal digits.
#pragma once

#include "search/morphology/dict_resources.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

class Fingerprint {
public:
    void Add(std::string_view bytes);
    void Add(std::uint64_t value);  // its eight bytes, little-endian
    std::string Hex() const;

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

// The name of the rule by which a word's dictionary form is chosen among its analyses
// (ChosenAnalysis); a new rule gets a new name.
inline constexpr std::string_view kDictionaryFormRule = "greatest-weight";

// "dictionaries HASH; choice RULE": the twelve dictionary resources found by `finder`
// (their ids, sizes and bytes; a missing one counts as size 0) and the rule above.
std::string MorphologyFingerprint(const ResourceFinder& finder);
// The same for the program's own resources, computed once.
const std::string& MorphologyFingerprint();

}  // namespace kestrova
