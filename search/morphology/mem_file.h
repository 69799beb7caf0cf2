// A read-only file served from LZMA "alone" data held in memory (the dictionary resources).
// The data are decompressed sequentially, 4096 bytes at a time, as the reader asks for them.
// Not thread safe: one reader at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kestrova {

class MemFile {
public:
    // Starts decoding `size` bytes of LZMA "alone" data at `data` (header included). The data
    // must outlive the file. `binary` records the open mode asked for ("rb" versus "r").
    // Throws std::runtime_error "cannot init lzma state" when the header or the decoder is bad.
    MemFile(std::string name, const std::uint8_t* data, std::size_t size, bool binary);
    ~MemFile();
    MemFile(const MemFile&) = delete;
    MemFile& operator=(const MemFile&) = delete;

    // Reads up to `count` items of `itemSize` bytes into `dst`; returns the number of whole
    // items read (a partial last item is consumed but not counted).
    std::size_t ReadItems(void* dst, std::size_t itemSize, std::size_t count);
    // Reads at most n - 1 bytes, stopping after a line feed; always zero-terminates.
    // Returns false (and leaves `buffer` empty) at end of data.
    bool ReadLine(char* buffer, int n);
    // Returns the next byte, or -1 at end of data.
    int ReadByte();
    // True when every byte of the file has been read.
    bool Eof();
    // Ends decoding and frees the decoder; later reads see end of data.
    void Close();
    // Formatted writing is not supported: always throws "unsupported fprintf".
    [[noreturn]] void Printf(const char* format, ...);

    bool IsBinary() const { return binary_; }
    const std::string& Name() const { return name_; }
    // The plain size announced by the header (UINT64_MAX when unknown).
    std::uint64_t PlainSize() const { return plainSize_; }

private:
    bool Fill();  // decodes the next step into the buffer; false at end of data

    struct Decoder;
    std::string name_;
    bool binary_;
    std::uint64_t plainSize_ = 0;
    std::uint64_t produced_ = 0;
    std::unique_ptr<Decoder> decoder_;
    static constexpr std::size_t kStep = 4096;
    std::uint8_t buffer_[kStep];
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

}  // namespace kestrova
