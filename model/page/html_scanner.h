// An event-driven scanner of HTML bytes. It builds no tree, balances no tags and knows no element
// names: it reports start tags, attributes, end tags, text runs and a leading UTF-8 byte order
// mark to an IHtmlContentHandler. Strict mode raises the first syntax error; tolerant mode
// passes over broken markup and goes on.
#pragma once

#include "model/page/html_content_handler.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrova {

class IByteSource;
namespace platform {
class File;
}

class HtmlScanner {
public:
    // Captured names, values and text runs hold at most this many bytes (plus one window); a
    // longer text run is reported in several OnText calls, a longer name or value is an error.
    static constexpr size_t kDefaultMaxCapture = size_t{16} << 20;

    // Scans the file at the native path from start to end, or until the handler stops it (a
    // false result, or ParseBreak). Throws std::runtime_error: "cannot open file", "read file
    // error", "peek() at eof" and, in strict mode, the syntax errors of the markup; an error
    // raised inside a tag after its name has "in tag NAME" appended.
    static void Scan(const std::string& path, bool strict, IHtmlContentHandler& handler,
                     size_t maxCapture = kDefaultMaxCapture);

    // Opens the file at `path` relative to the open folder `dirFd` (AT_FDCWD: the current
    // folder) for a scan (shared reading). Throws std::runtime_error("cannot open file").
    static void OpenForScan(platform::File& file, int dirFd, const std::string& path);

    // The same as Scan over a file opened by OpenForScan, read from where it stands; the file
    // is left open.
    static void ScanFile(platform::File& file, bool strict, IHtmlContentHandler& handler,
                         size_t maxCapture = kDefaultMaxCapture);

    // The same over bytes in memory, read through the same window.
    static void ScanBytes(std::string_view bytes, bool strict, IHtmlContentHandler& handler,
                          size_t maxCapture = kDefaultMaxCapture);

private:
    static void Run(IByteSource& source, bool strict, IHtmlContentHandler& handler,
                    size_t maxCapture);
};

}  // namespace kestrova
