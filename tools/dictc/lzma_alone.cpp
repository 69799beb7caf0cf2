#include "tools/dictc/lzma_alone.h"

#include <lzma.h>

#include <stdexcept>

namespace kestrova::dictc {
namespace {

constexpr uint32_t kDictionarySize = 8u << 20;
constexpr size_t kHeaderSize = 13;

void AppendLittleEndian(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

// Runs a prepared liblzma stream over `input`, appending everything it produces to `out`;
// input that ends early makes liblzma report LZMA_BUF_ERROR, which is thrown like any error.
void RunStream(lzma_stream& stream, std::string_view input, std::string& out, const char* what) {
    stream.next_in = reinterpret_cast<const uint8_t*>(input.data());
    stream.avail_in = input.size();
    uint8_t buffer[65536];
    while (true) {
        stream.next_out = buffer;
        stream.avail_out = sizeof buffer;
        lzma_ret ret = lzma_code(&stream, LZMA_FINISH);
        out.append(reinterpret_cast<char*>(buffer), sizeof buffer - stream.avail_out);
        if (ret == LZMA_STREAM_END) break;
        if (ret != LZMA_OK) {
            lzma_end(&stream);
            throw std::runtime_error(std::string(what) + ": liblzma error " +
                                     std::to_string(int(ret)));
        }
    }
    lzma_end(&stream);
}

}  // namespace

std::string CompressAlone(std::string_view plain) {
    std::string out;
    out.push_back(char(0x5D));
    AppendLittleEndian(out, kDictionarySize, 4);
    AppendLittleEndian(out, plain.size(), 8);
    if (plain.empty()) return out;

    lzma_options_lzma options;
    if (lzma_lzma_preset(&options, 9)) throw std::runtime_error("lzma compression: bad preset");
    options.dict_size = kDictionarySize;
    options.lc = 3;
    options.lp = 0;
    options.pb = 2;
    // LZMA1EXT with the size known writes no end marker, matching the size in the header.
    options.ext_flags = 0;
    options.ext_size_low = uint32_t(plain.size());
    options.ext_size_high = uint32_t(uint64_t(plain.size()) >> 32);
    lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_raw_encoder(&stream, filters) != LZMA_OK) {
        throw std::runtime_error("lzma compression: cannot start the encoder");
    }
    RunStream(stream, plain, out, "lzma compression");
    return out;
}

std::string DecompressAlone(std::string_view packed) {
    if (packed.size() < kHeaderSize)
        throw std::runtime_error("lzma decompression: header is truncated");
    uint64_t size = 0;
    for (int i = 0; i < 8; ++i)
        size |= uint64_t(static_cast<unsigned char>(packed[5 + i])) << (8 * i);
    if (size == 0) return {};
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&stream, UINT64_MAX) != LZMA_OK) {
        throw std::runtime_error("lzma decompression: cannot start the decoder");
    }
    std::string out;
    RunStream(stream, packed, out, "lzma decompression");
    if (out.size() != size)
        throw std::runtime_error("lzma decompression: size differs from the header");
    return out;
}

}  // namespace kestrova::dictc
