// The stream primitives of the model cache file: little-endian u32, length-prefixed UTF-16
// strings, file times, index lists and file infos (docs/preserved-cache.md gives the format).
//
// CacheOutput buffers what it is given and writes it to an open file when the buffer is full
// and on Flush(). CacheInput reads from the whole file held in memory and trusts nothing: a
// count that cannot fit in the bytes left, or an index outside its section, throws io_error
// (code 0) like a file cut short does, so that a damaged file is refused and never yields a
// model that points outside its own arrays.
#pragma once

#include "model/internal/index_list.h"
#include "model/internal/records.h"
#include "platform/file.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace kestrova {

class ModelPool;

class CacheOutput {
public:
    explicit CacheOutput(platform::File& file);

    void U32(uint32_t value) { Bytes(&value, 4); }
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    // Null and empty strings alike are written with length 0.
    void String(const char16_t* text);
    void FileTime(uint64_t time) { Bytes(&time, 8); }
    void Indices(const IndexList& list);
    void File(const FileInfo& file);
    void Bytes(const void* data, size_t n) {
        if (n > kBufferSize - used_) {
            Spill(data, n);
            return;
        }
        std::memcpy(buffer_.get() + used_, data, n);
        used_ += n;
    }
    // Writes the buffered bytes; throws io_error "write error" with the system code.
    void Flush();

private:
    static constexpr size_t kBufferSize = size_t{1} << 20;
    // Bytes that do not fit in what is left of the buffer.
    void Spill(const void* data, size_t n);
    void Write(const void* data, size_t n);

    platform::File& file_;
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
};

class CacheInput {
public:
    // Reads from `data`, putting strings and index arrays into `pool`.
    CacheInput(std::string_view data, ModelPool& pool) : data_(data), pool_(pool) {}

    uint32_t U32();
    // Length 0 gives null.
    const char16_t* String();
    uint64_t FileTime();
    FileInfo File();
    void Bytes(void* out, size_t n);
    // A record count whose records, each at least `minRecordBytes` long, fit in what is left.
    size_t Count(size_t minRecordBytes, const char* section);
    // An index into a section of `limit` records: stored -2 (none), or 0 <= value < limit.
    int32_t Index(size_t limit, const char* section);
    // An index list whose elements index a section of `limit` records; a stored -1 is read
    // as -2 (none).
    IndexList Indices(size_t limit, const char* section);

    size_t Remaining() const { return data_.size() - pos_; }

private:
    const char* Take(size_t n);

    std::string_view data_;
    size_t pos_ = 0;
    ModelPool& pool_;
};

// Throws the io_error (code 0) of a damaged cache: "damaged cache: <what> in <section>".
[[noreturn]] void ThrowDamaged(const char* what, const char* section);

}  // namespace kestrova
