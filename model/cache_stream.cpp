#include "model/internal/cache_stream.h"

#include "model/internal/model_pool.h"
#include "platform/io_error.h"

#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace kestrova {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the cache is written and read as little-endian memory images");

constexpr uint32_t kStoredNone = 0xFFFFFFFEu;
constexpr uint32_t kStoredMinusOne = 0xFFFFFFFFu;

}  // namespace

void ThrowDamaged(const char* what, const char* section) {
    throw platform::io_error(std::string("damaged cache: ") + what + " in " + section, 0);
}

CacheOutput::CacheOutput(platform::File& file) : file_(file), buffer_(new char[kBufferSize]) {}

void CacheOutput::Spill(const void* data, size_t n) {
    Flush();
    if (n >= kBufferSize) {
        Write(data, n);
        return;
    }
    std::memcpy(buffer_.get(), data, n);
    used_ = n;
}

void CacheOutput::Write(const void* data, size_t n) {
    if (!file_.Write(data, n)) throw platform::io_error("write error", file_.LastError());
}

void CacheOutput::String(const char16_t* text) {
    const size_t n = StringLength(text);
    U32(static_cast<uint32_t>(n));
    if (n > 0) Bytes(text, 2 * n);  // a null text has no bytes to copy
}

void CacheOutput::Indices(const IndexList& list) {
    const int32_t n = list.Count();
    U32(static_cast<uint32_t>(n));
    if (n == 1) {
        I32(list.inlineValue);
    } else if (n > 1) {
        Bytes(list.array + 1, 4 * static_cast<size_t>(n));
    }
}

void CacheOutput::File(const FileInfo& file) {
    String(file.path);
    FileTime(file.lastWriteTime);
    U32(file.size);
}

void CacheOutput::Flush() {
    if (used_ == 0) return;
    Write(buffer_.get(), used_);
    used_ = 0;
}

const char* CacheInput::Take(size_t n) {
    if (Remaining() < n) throw platform::io_error("not enough data for reading", 0);
    const char* p = data_.data() + pos_;
    pos_ += n;
    return p;
}

void CacheInput::Bytes(void* out, size_t n) { std::memcpy(out, Take(n), n); }

uint32_t CacheInput::U32() {
    uint32_t value;
    std::memcpy(&value, Take(4), 4);
    return value;
}

const char16_t* CacheInput::String() {
    const uint32_t n = U32();
    if (n == 0) return nullptr;
    if (Remaining() / 2 < n) throw platform::io_error("not enough data for reading", 0);
    const char* bytes = Take(2 * size_t{n});
    auto* text = static_cast<char16_t*>(pool_.Allocate(2 * size_t{n} + 2));
    std::memcpy(text, bytes, 2 * size_t{n});
    text[n] = u'\0';
    return text;
}

uint64_t CacheInput::FileTime() {
    uint64_t time;
    std::memcpy(&time, Take(8), 8);
    return time;
}

FileInfo CacheInput::File() {
    FileInfo file;
    file.path = String();
    file.lastWriteTime = FileTime();
    file.size = U32();
    return file;
}

size_t CacheInput::Count(size_t minRecordBytes, const char* section) {
    const uint32_t n = U32();
    if (n > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ||
        n > Remaining() / minRecordBytes) {
        ThrowDamaged("count larger than the file", section);
    }
    return n;
}

int32_t CacheInput::Index(size_t limit, const char* section) {
    const uint32_t value = U32();
    if (value == kStoredNone) return kNoIndex;
    if (value >= limit) ThrowDamaged("index out of range", section);
    return static_cast<int32_t>(value);
}

IndexList CacheInput::Indices(size_t limit, const char* section) {
    const size_t n = Count(4, section);
    IndexList list;
    if (n == 0) return list;
    int32_t* out = n == 1 ? &list.inlineValue : nullptr;
    if (n > 1) {
        list.array = static_cast<int32_t*>(pool_.Allocate(4 * (n + 1)));
        list.array[0] = static_cast<int32_t>(n);
        out = list.array + 1;
    }
    const char* bytes = Take(4 * n);
    for (size_t i = 0; i < n; ++i) {
        uint32_t value;
        std::memcpy(&value, bytes + 4 * i, 4);
        if (value == kStoredMinusOne || value == kStoredNone) {
            out[i] = kNoIndex;
        } else if (value >= limit) {
            ThrowDamaged("index out of range", section);
        } else {
            out[i] = static_cast<int32_t>(value);
        }
    }
    return list;
}

}  // namespace kestrova
