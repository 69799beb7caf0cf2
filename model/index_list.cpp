#include "model/internal/index_list.h"

#include "model/internal/model_pool.h"

#include <cstring>

namespace kestrova {

IndexList IndexList::From(ModelPool& pool, std::span<const int32_t> indices) {
    IndexList list;
    if (indices.size() == 1) {
        list.inlineValue = indices[0];
    } else if (indices.size() > 1) {
        list.array = static_cast<int32_t*>(pool.Allocate(sizeof(int32_t) * (indices.size() + 1)));
        list.array[0] = static_cast<int32_t>(indices.size());
        std::memcpy(list.array + 1, indices.data(), sizeof(int32_t) * indices.size());
    }
    return list;
}

}  // namespace kestrova
