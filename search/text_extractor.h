// The plain text that the full-text index stores for one page: the page title, seven times
// (so that title words weigh more), then every text run from the body start on, decoded with
// the page's character set, character references resolved. One extractor serves all pages of
// one index build; its buffer is reused. Not thread-safe.
#pragma once

#include "model/page/html_content_handler.h"
#include "model/page/text_decoder.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

class TextExtractor final : public IHtmlContentHandler {
public:
    TextExtractor();

    // Number of copies of the title put before the body text.
    void SetTitleWeight(int32_t weight) { titleWeight_ = weight; }

    // Collects the text of the page file at the native path (tolerant scan). False when the
    // file cannot be read or the scanner raised an error; the text collected up to then stays.
    bool Extract(const std::string& path);
    // The same over the bytes of a page (for tools and tests).
    bool ExtractBytes(std::string_view bytes);

    // The collected text, zero-terminated; valid until the next Extract.
    const wchar_t* GetText();
    size_t GetLength() const { return text_.size(); }

    // IHtmlContentHandler
    void OnByteOrderMark(bool present) override;
    bool OnStartTag(std::string_view name) override;
    bool OnTagWithAttributes(std::string_view name) override;
    void OnAttribute(std::string_view name, std::string_view value) override;
    void OnAttributesEnd() override;
    void OnEndTag(std::string_view name) override;
    void OnText(std::string_view text) override;

private:
    void Reset();
    void EnterBody();
    void AppendDecoded(std::string_view bytes);

    std::wstring text_;
    std::string charset_;
    std::string current_;
    std::string pending_;
    std::string title_;
    bool inBody_ = false;
    std::string httpEquiv_;
    std::string content_;
    int32_t titleWeight_ = 7;
    TextDecoder decoder_;
};

}  // namespace kestrova
