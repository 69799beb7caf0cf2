#include "model/page/scan_trace.h"

namespace kestrova {

std::string QuoteBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c >= 0x20 && c <= 0x7E) {
            out.push_back(ch);
        } else {
            out += "\\x";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    out.push_back('"');
    return out;
}

void ScanTrace::OnByteOrderMark(bool) { lines_ += "BOM\n"; }

bool ScanTrace::OnStartTag(std::string_view name) {
    lines_.append("START ").append(name).append("\n");
    return true;
}

bool ScanTrace::OnTagWithAttributes(std::string_view name) {
    lines_.append("TAG ").append(name).append("\n");
    return true;
}

void ScanTrace::OnAttribute(std::string_view name, std::string_view value) {
    lines_.append("ATTR ").append(name).append("=").append(QuoteBytes(value)).append("\n");
}

void ScanTrace::OnAttributesEnd() { lines_ += "ATTREND\n"; }

void ScanTrace::OnEndTag(std::string_view name) { lines_.append("END ").append(name).append("\n"); }

void ScanTrace::OnText(std::string_view text) {
    lines_.append("TEXT ").append(QuoteBytes(text)).append("\n");
}

}  // namespace kestrova
