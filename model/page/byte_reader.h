// Sequential reading of a byte stream through a fixed window, with capture of the bytes passed
// over since a mark. Captured runs that outgrow the window move to a growable buffer, up to a
// limit set by the owner. Not thread-safe.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace kestrova {

// Where the bytes come from: a file, or memory.
class IByteSource {
public:
    virtual ~IByteSource() = default;
    // Reads up to n bytes; returns how many were read, 0 at the end. Throws std::runtime_error
    // ("read file error") when reading fails.
    virtual size_t Read(char* buffer, size_t n) = 0;
};

class ByteReader {
public:
    static constexpr size_t kWindowSize = 32768;
    static constexpr size_t kFirstRead = 4096;
    static constexpr size_t kInitialCapture = 2048;

    enum class Stop { kFound, kEnd, kFull };

    // maxCapture: captured runs stop growing (kFull) once they hold at least this many bytes.
    ByteReader(IByteSource& source, size_t maxCapture);
    // Hands the window back to the thread for its next reader.
    ~ByteReader();
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    // Does the first read of kFirstRead bytes.
    void Start();
    // True when no byte is left.
    bool AtEnd() { return pos_ == fill_ && !Ensure(1); }
    // The next byte; REQUIRES: !AtEnd().
    unsigned char Current() const { return buf_[pos_]; }
    // The next byte; throws std::runtime_error("peek() at eof") when there is none.
    unsigned char Peek();
    void Advance() { ++pos_; }
    // True when the next bytes are the literal (ASCII letter case ignored when asked);
    // nothing is consumed.
    bool LookingAt(std::string_view literal, bool ignoreCase = false);
    // Passes over n bytes known to be there (after LookingAt).
    void Skip(size_t n) { pos_ += n; }

    void BeginCapture() {
        capture().clear();
        mark_ = pos_;
        capturing_ = true;
    }
    // The bytes passed over since BeginCapture; valid until the reader is used again.
    std::string_view EndCapture() {
        capturing_ = false;
        const char* start = reinterpret_cast<const char*>(buf_) + mark_;
        if (capture().empty()) return std::string_view(start, pos_ - mark_);
        return JoinCapture(start);
    }
    size_t CapturedSize() const { return capture().size() + (pos_ - mark_); }

    // The window and the capture buffer of one reader. A thread keeps the last one for its
    // next reader, so that reading many small files allocates nothing per file.
    struct Storage {
        unsigned char window[kWindowSize];
        std::string capture;
    };

    // Passes over bytes while pass(byte) holds: kFound (stands on the first other byte), kEnd
    // (the stream ended), or kFull (a capture reached its limit; stands anywhere).
    template <class Pred>
    Stop AdvanceWhile(Pred pass);
    // Passes over bytes up to the next `c`, with the results of AdvanceWhile.
    Stop AdvanceTo(char c);

private:
    // Makes at least n bytes available from the read position; false at the end.
    bool Ensure(size_t n);
    std::string_view JoinCapture(const char* start);
    // Moves the unread bytes to the front of the window, and captured ones to the buffer.
    void Shift();
    std::string& capture() { return storage_->capture; }
    const std::string& capture() const { return storage_->capture; }

    IByteSource& source_;
    const size_t maxCapture_;
    size_t pos_ = 0;
    size_t fill_ = 0;
    size_t mark_ = 0;
    bool capturing_ = false;
    bool end_ = false;
    std::unique_ptr<Storage> storage_;
    unsigned char* const buf_;
};

template <class Pred>
ByteReader::Stop ByteReader::AdvanceWhile(Pred pass) {
    for (;;) {
        const unsigned char* p = buf_ + pos_;
        const unsigned char* const end = buf_ + fill_;
        while (p != end && pass(*p)) ++p;
        pos_ = static_cast<size_t>(p - buf_);
        if (p != end) return Stop::kFound;
        if (capturing_ && CapturedSize() >= maxCapture_) return Stop::kFull;
        if (!Ensure(1)) return Stop::kEnd;
    }
}

}  // namespace kestrova
