// Weights: the `order` of domains, chapters and contents entries. 0 means "no order given".
#pragma once

#include <cstdint>

namespace kestrova {

// Weight order of siblings: positive weights ascending, then 0, then negative weights from -1
// down to the lowest. Negative, 0 or positive, like a comparison.
int CompareWeight(int32_t a, int32_t b);

struct WeightMerge {
    int32_t weight;  // the merged weight
    bool mixed;      // the two weights had different signs (the caller reports it)
};

// Merges a new weight into an existing one: equal or one of them 0 keeps the other, two
// positives give the larger, two negatives the smaller, different signs give 0 and `mixed`.
WeightMerge MergeWeight(int32_t existing, int32_t incoming);

}  // namespace kestrova
