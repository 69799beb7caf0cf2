// The arena of one model: every string and index array of a model lives here and is freed
// only when the pool goes, all at once. Not thread-safe: a model is filled by one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrova {

class ModelPool {
public:
    static constexpr size_t kBlockSize = 65535;

    ModelPool() = default;
    ModelPool(const ModelPool&) = delete;
    ModelPool& operator=(const ModelPool&) = delete;
    ~ModelPool();

    // Memory for n bytes, aligned for any 32-bit or pointer field. 0 bytes give null. A request
    // larger than a block gets its own allocation; otherwise it is carved from the current
    // block, and a new block is started when the current one has too little room left.
    void* Allocate(size_t n);

    // A zero-terminated copy of the text (2n+2 bytes); an empty text still gives a string.
    const char16_t* CopyString(std::u16string_view text);

    // Like CopyString, but null for an empty text (the form in which the cache reads strings).
    const char16_t* CopyStringOrNull(std::u16string_view text);

    // Bytes taken from the system so far (blocks and large requests).
    size_t BytesReserved() const { return reserved_; }

private:
    std::vector<void*> allocations_;
    char* block_ = nullptr;
    size_t used_ = kBlockSize;
    size_t reserved_ = 0;
};

// Length of a zero-terminated pool string; 0 for null.
size_t StringLength(const char16_t* s);

// A view of a pool string; empty for null.
std::u16string_view StringView(const char16_t* s);

}  // namespace kestrova
