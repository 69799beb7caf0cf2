#include "model/internal/model_pool.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace kestrova {
namespace {

constexpr size_t kAlignment = 8;

size_t AlignUp(size_t n) { return (n + kAlignment - 1) & ~(kAlignment - 1); }

void* AllocateOrThrow(size_t n) {
    void* p = std::malloc(n);
    if (!p) throw std::bad_alloc();
    return p;
}

}  // namespace

ModelPool::~ModelPool() {
    for (void* p : allocations_) std::free(p);
}

void* ModelPool::Allocate(size_t n) {
    if (n == 0) return nullptr;
    if (n > kBlockSize) {
        void* p = AllocateOrThrow(n);
        allocations_.push_back(p);
        reserved_ += n;
        return p;
    }
    size_t offset = AlignUp(used_);
    if (offset > kBlockSize || kBlockSize - offset < n) {
        block_ = static_cast<char*>(AllocateOrThrow(kBlockSize));
        allocations_.push_back(block_);
        reserved_ += kBlockSize;
        offset = 0;
    }
    used_ = offset + n;
    return block_ + offset;
}

const char16_t* ModelPool::CopyString(std::u16string_view text) {
    auto* s = static_cast<char16_t*>(Allocate(2 * text.size() + 2));
    if (!text.empty()) std::memcpy(s, text.data(), 2 * text.size());
    s[text.size()] = u'\0';
    return s;
}

const char16_t* ModelPool::CopyStringOrNull(std::u16string_view text) {
    return text.empty() ? nullptr : CopyString(text);
}

size_t StringLength(const char16_t* s) {
    if (!s) return 0;
    size_t n = 0;
    while (s[n]) ++n;
    return n;
}

std::u16string_view StringView(const char16_t* s) {
    return s ? std::u16string_view(s, StringLength(s)) : std::u16string_view();
}

}  // namespace kestrova
