// Scans hostile page bytes in strict and tolerant mode with the meta extractor, decodes what it
// collected, and runs the reference decoder over the raw bytes in both code pages.
#include "model/page/html_scanner.h"
#include "model/page/info_extractor.h"
#include "model/page/read_page_meta.h"
#include "model/page/references.h"
#include "model/page/scan_trace.h"
#include "model/page/text_decoder.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace {

// A small capture limit, so that inputs of fuzzer size reach the limits too.
constexpr size_t kMaxCapture = 3000;

void ScanWithExtractor(std::string_view bytes, bool strict) {
    kestrova::InfoExtractor extractor;
    try {
        kestrova::HtmlScanner::ScanBytes(bytes, strict, extractor, kMaxCapture);
    } catch (const std::runtime_error&) {
    }
    kestrova::PageMeta page;
    try {
        kestrova::BuildPageMeta(extractor.Collected(), page);
    } catch (const std::runtime_error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ScanWithExtractor(bytes, true);
    ScanWithExtractor(bytes, false);
    kestrova::ScanTrace trace;
    try {
        kestrova::HtmlScanner::ScanBytes(bytes, false, trace);
    } catch (const std::runtime_error&) {
    }
    kestrova::DecodeReferences(kestrova::TextDecoder("utf-8").Convert(bytes));
    kestrova::DecodeReferences(kestrova::TextDecoder("windows-1251").Convert(bytes));
    return 0;
}
