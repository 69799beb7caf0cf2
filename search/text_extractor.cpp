#include "search/text_extractor.h"

#include "model/page/charset.h"
#include "model/page/html_scanner.h"
#include "model/page/references.h"
#include "platform/codepage.h"
#include "platform/text.h"

#include <stdexcept>

namespace kestrova {
namespace {

bool Is(std::string_view name, std::string_view what) {
    return platform::EqualsAsciiNoCase(name, what);
}

}  // namespace

TextExtractor::TextExtractor() { text_.reserve(16384); }

void TextExtractor::Reset() {
    text_.clear();
    charset_.clear();
    current_.clear();
    pending_.clear();
    title_.clear();
    inBody_ = false;
    httpEquiv_.clear();
    content_.clear();
    // Every page starts from the system default: a page without a declaration must not be
    // read with the code page of the page before it.
    decoder_ = TextDecoder();
}

bool TextExtractor::Extract(const std::string& path) {
    Reset();
    try {
        HtmlScanner::Scan(path, false, *this);
    } catch (const ParseBreak&) {
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool TextExtractor::ExtractBytes(std::string_view bytes) {
    Reset();
    try {
        HtmlScanner::ScanBytes(bytes, false, *this);
    } catch (const ParseBreak&) {
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

const wchar_t* TextExtractor::GetText() { return text_.c_str(); }

void TextExtractor::OnByteOrderMark(bool) { charset_ = "utf-8"; }

bool TextExtractor::OnStartTag(std::string_view name) {
    if (Is(name, "body")) EnterBody();
    current_.assign(name);
    text_.push_back(L' ');
    httpEquiv_.clear();
    content_.clear();
    return true;
}

bool TextExtractor::OnTagWithAttributes(std::string_view name) {
    if (Is(name, "body")) EnterBody();
    pending_.assign(name);
    current_.clear();
    return true;
}

void TextExtractor::OnAttribute(std::string_view name, std::string_view value) {
    if (!Is(pending_, "meta")) return;
    if (Is(name, "http-equiv")) {
        httpEquiv_.assign(value);
    } else if (Is(name, "content")) {
        content_.assign(value);
    } else if (Is(name, "charset")) {
        charset_.assign(value);
    }
}

void TextExtractor::OnAttributesEnd() {
    current_ = std::move(pending_);
    pending_.clear();
    if (!httpEquiv_.empty() && !content_.empty()) {
        std::string charset;
        if (CharsetFromContentType(content_, charset)) charset_ = std::move(charset);
    }
    httpEquiv_.clear();
    content_.clear();
}

void TextExtractor::OnEndTag(std::string_view) {
    current_.clear();
    pending_.clear();
}

void TextExtractor::OnText(std::string_view text) {
    if (!inBody_) {
        if (Is(current_, "title")) title_.assign(text);
        return;
    }
    AppendDecoded(text);
    text_.push_back(L' ');
}

void TextExtractor::EnterBody() {
    inBody_ = true;
    if (!charset_.empty()) decoder_ = TextDecoder(CodePageFromCharset(charset_));
    std::wstring title = platform::Utf16ToWide(DecodeReferences(decoder_.Convert(title_)));
    title.push_back(L' ');
    for (int32_t i = 0; i < titleWeight_; ++i) text_ += title;
    text_.push_back(L' ');
}

void TextExtractor::AppendDecoded(std::string_view bytes) {
    text_ += platform::Utf16ToWide(DecodeReferences(decoder_.Convert(bytes)));
}

}  // namespace kestrova
