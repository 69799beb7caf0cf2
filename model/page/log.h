// A line-oriented log: every call writes exactly one line, with no time stamp, level or prefix.
// Used by model loading (model.log) and by the index builder.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace kestrova {

class ILog {
public:
    // Writes the UTF-16 text, converted to the log's code page, as one line.
    virtual void Write(std::u16string_view text) = 0;
    // Writes the bytes as they are, as one line.
    virtual void WriteText(std::string_view bytes) = 0;
    // Writes one line formatted printf-style: %d and %u integers, %s byte strings, %S UTF-16
    // strings (const char16_t*), %% a percent sign; at most 1000 bytes.
    virtual void WriteFormat(const char* format, ...);
    virtual ~ILog() = default;
};

// The line WriteFormat writes, without the line end.
std::string FormatLogLine(const char* format, va_list args);

// Longest formatted line in bytes.
inline constexpr size_t kMaxLogLine = 1000;

}  // namespace kestrova
