// A handler that writes every scanner callback as one line of text, for `kestrova-cli scan`
// and for tests: BOM, START name, TAG name, ATTR name="value", ATTREND, END name, TEXT "bytes".
// Inside quotes `"` is \", a backslash \\, and every byte outside 0x20-0x7E is \xhh.
#pragma once

#include "model/page/html_content_handler.h"

#include <string>
#include <string_view>

namespace kestrova {

class ScanTrace final : public IHtmlContentHandler {
public:
    void OnByteOrderMark(bool present) override;
    bool OnStartTag(std::string_view name) override;
    bool OnTagWithAttributes(std::string_view name) override;
    void OnAttribute(std::string_view name, std::string_view value) override;
    void OnAttributesEnd() override;
    void OnEndTag(std::string_view name) override;
    void OnText(std::string_view text) override;

    // The lines so far, each ending in '\n'.
    const std::string& Lines() const { return lines_; }

private:
    std::string lines_;
};

// The bytes in double quotes with the escapes above.
std::string QuoteBytes(std::string_view bytes);

}  // namespace kestrova
