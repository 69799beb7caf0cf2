#include "model/page/byte_reader.h"

#include <stdexcept>

namespace kestrova {
namespace {

// A capture buffer grown beyond this is not kept for the next reader of the thread.
constexpr size_t kKeptCapture = size_t{1} << 20;

// The storage of the thread's last finished reader; empty while a reader uses it, so that a
// reader made during another one's life gets storage of its own.
thread_local std::unique_ptr<ByteReader::Storage> tSpare;

std::unique_ptr<ByteReader::Storage> TakeStorage() {
    if (tSpare) return std::move(tSpare);
    auto storage = std::make_unique<ByteReader::Storage>();
    storage->capture.reserve(ByteReader::kInitialCapture);
    return storage;
}

}  // namespace

ByteReader::ByteReader(IByteSource& source, size_t maxCapture)
    : source_(source), maxCapture_(maxCapture), storage_(TakeStorage()), buf_(storage_->window) {}

ByteReader::~ByteReader() {
    if (tSpare || storage_->capture.capacity() > kKeptCapture) return;
    storage_->capture.clear();
    tSpare = std::move(storage_);
}

void ByteReader::Start() {
    pos_ = fill_ = mark_ = 0;
    capturing_ = false;
    const size_t n = source_.Read(reinterpret_cast<char*>(buf_), kFirstRead);
    fill_ = n;
    end_ = n == 0;
}

unsigned char ByteReader::Peek() {
    if (pos_ == fill_ && !Ensure(1)) throw std::runtime_error("peek() at eof");
    return buf_[pos_];
}

bool ByteReader::LookingAt(std::string_view literal, bool ignoreCase) {
    if (!Ensure(literal.size())) return false;
    for (size_t i = 0; i < literal.size(); ++i) {
        unsigned char a = buf_[pos_ + i];
        unsigned char b = static_cast<unsigned char>(literal[i]);
        if (ignoreCase) {
            if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
            if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
        }
        if (a != b) return false;
    }
    return true;
}

std::string_view ByteReader::JoinCapture(const char* start) {
    capture().append(start, pos_ - mark_);
    return capture();
}

ByteReader::Stop ByteReader::AdvanceTo(char c) {
    for (;;) {
        const void* hit = std::memchr(buf_ + pos_, c, fill_ - pos_);
        if (hit) {
            pos_ = static_cast<size_t>(static_cast<const unsigned char*>(hit) - buf_);
            return Stop::kFound;
        }
        pos_ = fill_;
        if (capturing_ && CapturedSize() >= maxCapture_) return Stop::kFull;
        if (!Ensure(1)) return Stop::kEnd;
    }
}

bool ByteReader::Ensure(size_t n) {
    while (fill_ - pos_ < n) {
        if (end_) return false;
        if (kWindowSize - pos_ < n) Shift();
        const size_t r = source_.Read(reinterpret_cast<char*>(buf_) + fill_, kWindowSize - fill_);
        if (r == 0) {
            end_ = true;
            return false;
        }
        fill_ += r;
    }
    return true;
}

void ByteReader::Shift() {
    if (capturing_) {
        capture().append(reinterpret_cast<const char*>(buf_) + mark_, pos_ - mark_);
        mark_ = 0;
    }
    std::memmove(buf_, buf_ + pos_, fill_ - pos_);
    fill_ -= pos_;
    pos_ = 0;
}

}  // namespace kestrova
