#include "model/internal/weight.h"

namespace kestrova {
namespace {

// A key whose plain ascending order is the weight order.
int64_t WeightKey(int32_t w) {
    if (w > 0) return w;                                  // 1 .. 2^31-1
    if (w == 0) return int64_t{1} << 31;                  // after every positive weight
    return (int64_t{1} << 31) - static_cast<int64_t>(w);  // -1 first, the lowest last
}

}  // namespace

int CompareWeight(int32_t a, int32_t b) {
    const int64_t ka = WeightKey(a), kb = WeightKey(b);
    return ka < kb ? -1 : (ka > kb ? 1 : 0);
}

WeightMerge MergeWeight(int32_t existing, int32_t incoming) {
    if (incoming == existing || incoming == 0) return {existing, false};
    if (existing == 0) return {incoming, false};
    if (existing > 0 && incoming > 0) return {existing > incoming ? existing : incoming, false};
    if (existing < 0 && incoming < 0) return {existing < incoming ? existing : incoming, false};
    return {0, true};
}

}  // namespace kestrova
