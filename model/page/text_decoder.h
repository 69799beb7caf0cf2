// Conversion of the bytes of one page to UTF-16 by the page's code page. One decoder serves
// all the strings of one page; it belongs to one thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

class TextDecoder {
public:
    // Code page 0: the system's ANSI code page.
    TextDecoder() = default;
    // The code page of a charset name (CodePageFromCharset).
    explicit TextDecoder(std::string_view charset);
    explicit TextDecoder(uint32_t codePage) : codePage_(codePage) {}

    // The bytes up to the first zero byte, converted; invalid bytes convert as the code page's
    // conversion without flags converts them.
    std::u16string Convert(std::string_view bytes) const;

    uint32_t CodePage() const { return codePage_; }

private:
    uint32_t codePage_ = 0;
};

}  // namespace kestrova
