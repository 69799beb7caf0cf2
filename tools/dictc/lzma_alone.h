// The LZMA "alone" container of the dictionary files: a 13-byte header (properties byte 0x5D,
// that is lc=3 lp=0 pb=2; dictionary size 8 MiB; plain size as 64-bit little-endian) followed by
// an LZMA stream without end marker.  Empty data is the header alone.
#pragma once

#include <string>
#include <string_view>

namespace kestrova::dictc {

// Compresses with liblzma; the same input always gives the same bytes.  Throws on failure.
std::string CompressAlone(std::string_view plain);

// Decompresses an "alone" file with liblzma (used by tests and checks).  Throws on bad data.
std::string DecompressAlone(std::string_view packed);

}  // namespace kestrova::dictc
