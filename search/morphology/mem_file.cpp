#include "search/morphology/mem_file.h"

#include <lzma.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kestrova {
namespace {

constexpr std::size_t kHeaderSize = 13;

std::uint64_t ReadLe(const std::uint8_t* p, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

}  // namespace

struct MemFile::Decoder {
    lzma_stream stream = LZMA_STREAM_INIT;
    bool finished = false;
    ~Decoder() { lzma_end(&stream); }
};

MemFile::MemFile(std::string name, const std::uint8_t* data, std::size_t size, bool binary)
    : name_(std::move(name)), binary_(binary), decoder_(std::make_unique<Decoder>()) {
    if (data == nullptr || size < kHeaderSize) throw std::runtime_error("cannot init lzma state");
    unsigned props = data[0];
    if (props >= 9 * 5 * 5) throw std::runtime_error("cannot init lzma state");
    lzma_options_lzma options{};
    options.lc = props % 9;
    options.lp = (props / 9) % 5;
    options.pb = props / 45;
    options.dict_size = static_cast<std::uint32_t>(ReadLe(data + 1, 4));
    plainSize_ = ReadLe(data + 5, 8);
    // The header's size is authoritative; an end marker right after it is accepted too.
    options.ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
    options.ext_size_low = static_cast<std::uint32_t>(plainSize_);
    options.ext_size_high = static_cast<std::uint32_t>(plainSize_ >> 32);
    if (options.dict_size < LZMA_DICT_SIZE_MIN) options.dict_size = LZMA_DICT_SIZE_MIN;
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    if (lzma_raw_decoder(&decoder_->stream, filters) != LZMA_OK) {
        throw std::runtime_error("cannot init lzma state");
    }
    decoder_->stream.next_in = data + kHeaderSize;
    decoder_->stream.avail_in = size - kHeaderSize;
    if (plainSize_ == 0) decoder_->finished = true;
}

MemFile::~MemFile() = default;

bool MemFile::Fill() {
    if (begin_ < end_) return true;
    if (!decoder_ || decoder_->finished) return false;
    lzma_stream& s = decoder_->stream;
    std::size_t want = kStep;
    if (plainSize_ != UINT64_MAX) want = std::min<std::uint64_t>(want, plainSize_ - produced_);
    s.next_out = buffer_;
    s.avail_out = want;
    while (s.avail_out > 0) {
        lzma_ret ret = lzma_code(&s, LZMA_FINISH);
        if (ret == LZMA_STREAM_END) {
            decoder_->finished = true;
            break;
        }
        if (ret != LZMA_OK) {
            decoder_->finished = true;
            // Everything the header announced has come out: decoding ends there.
            if (plainSize_ != UINT64_MAX && s.avail_out == 0 && produced_ + want >= plainSize_)
                break;
            throw std::runtime_error(name_ + ": damaged lzma data (liblzma error " +
                                     std::to_string(static_cast<int>(ret)) + ")");
        }
    }
    begin_ = 0;
    end_ = want - s.avail_out;
    produced_ += end_;
    if (plainSize_ != UINT64_MAX && produced_ >= plainSize_) decoder_->finished = true;
    return end_ > 0;
}

std::size_t MemFile::ReadItems(void* dst, std::size_t itemSize, std::size_t count) {
    if (itemSize == 0 || count == 0) return 0;
    auto* out = static_cast<std::uint8_t*>(dst);
    std::size_t total = itemSize * count;
    std::size_t done = 0;
    while (done < total && Fill()) {
        std::size_t n = std::min(total - done, end_ - begin_);
        std::memcpy(out + done, buffer_ + begin_, n);
        begin_ += n;
        done += n;
    }
    return done / itemSize;
}

bool MemFile::ReadLine(char* buffer, int n) {
    if (n <= 0) return false;
    int length = 0;
    while (length < n - 1 && Fill()) {
        char c = static_cast<char>(buffer_[begin_++]);
        buffer[length++] = c;
        if (c == '\n') break;
    }
    buffer[length] = '\0';
    return length > 0;
}

int MemFile::ReadByte() {
    if (!Fill()) return -1;
    return buffer_[begin_++];
}

bool MemFile::Eof() { return !Fill(); }

void MemFile::Close() {
    decoder_.reset();
    begin_ = end_ = 0;
}

void MemFile::Printf(const char*, ...) { throw std::runtime_error("unsupported fprintf"); }

}  // namespace kestrova
