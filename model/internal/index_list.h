// A compact list of 32-bit indices into one of the model's arrays. A single element is kept
// inline; two or more live in a pool array whose first element is the count. -1 marks "no
// inline value" and is never stored as an element; -2 means "no such record" throughout
// the model. A plain value: copying copies the two words, the pool owns the array.
#pragma once

#include <cstdint>
#include <span>

namespace kestrova {

class ModelPool;

struct IndexList {
    int32_t* array = nullptr;  // pool array: count, then the indices; unused for one element
    int32_t inlineValue = -1;  // the only element, or -1

    // Number of elements.
    int32_t Count() const {
        if (inlineValue != -1) return 1;
        return array ? array[0] : 0;
    }
    // Element i, or -1 past the end (or before the start).
    int32_t Item(int32_t i) const {
        if (inlineValue != -1) return i == 0 ? inlineValue : -1;
        if (!array || i < 0 || i >= array[0]) return -1;
        return array[1 + i];
    }
    // True when x is an element (linear search).
    bool Contains(int32_t x) const {
        const int32_t n = Count();
        for (int32_t i = 0; i < n; ++i) {
            if (Item(i) == x) return true;
        }
        return false;
    }

    // A list filled from the indices, its array (if any) taken from the pool.
    static IndexList From(ModelPool& pool, std::span<const int32_t> indices);
};

}  // namespace kestrova
