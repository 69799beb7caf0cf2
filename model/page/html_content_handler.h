// The receiver of what HtmlScanner finds in a page. Every string is a byte string exactly as it
// stands in the file, without delimiters and without any character decoding; a string_view
// argument is valid only during the call.
#pragma once

#include <string_view>

namespace kestrova {

class IHtmlContentHandler {
public:
    virtual ~IHtmlContentHandler() = default;
    // The file begins with the UTF-8 byte order mark EF BB BF (always called with true).
    virtual void OnByteOrderMark(bool present) = 0;
    // A start tag without attributes ended (`<name>` or `<name/>`); false stops the scan.
    virtual bool OnStartTag(std::string_view name) = 0;
    // A start tag is followed by attributes; false stops the scan before they are read.
    virtual bool OnTagWithAttributes(std::string_view name) = 0;
    // One attribute was read; the value is empty for an attribute without `=`.
    virtual void OnAttribute(std::string_view name, std::string_view value) = 0;
    // The attribute list of a start tag ended with `>` or `/>`.
    virtual void OnAttributesEnd() = 0;
    // An end tag `</name>`, or the end of a self-closing tag `<name .../>`.
    virtual void OnEndTag(std::string_view name) = 0;
    // A run of bytes outside markup.
    virtual void OnText(std::string_view text) = 0;
    // Reserved; the scanner never calls it.
    virtual void OnReserved(std::string_view) {}
};

// Thrown by a handler to end a scan at once; the scan then returns normally.
class ParseBreak {};

}  // namespace kestrova
