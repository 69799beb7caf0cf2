// The two full-text indexes of a knowledge base and what ties them to a model.
//
// Kind 0 is the lemmatizing index (suffix "_lem": words stored as their dictionary forms,
// searched when related words are asked for), kind 1 the precise index ("_prec": words as
// written). The numbers are stored nowhere but are the ones the rest of the system passes.
#pragma once

#include <array>
#include <cstdint>

namespace kestrova {

enum IndexKind : int32_t {
    kIndexLemmatizing = 0,
    kIndexPrecise = 1,
};
inline constexpr int32_t kIndexKindCount = 2;
// Every kind, in build order.
inline constexpr IndexKind kIndexKinds[kIndexKindCount] = {kIndexLemmatizing, kIndexPrecise};

// Whether the live index of a kind belongs to a model.
enum class IndexState {
    kCurrent,  // its idx_info.uid holds the model's identifier
    kStale,    // it holds another identifier: built for a model that has been rebuilt since
    kMissing,  // there is no live index, or no readable identity in it
};

// A model identifier: a GUID in its binary layout (32-bit, 16-bit and 16-bit fields
// little-endian, then 8 bytes), as stored in the cache and in idx_info.uid.
using ModelUid = std::array<unsigned char, 16>;

}  // namespace kestrova
