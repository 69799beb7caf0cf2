// Helpers for the page tests: scratch folders and scanning to a trace.
#pragma once

#include "model/page/html_scanner.h"
#include "model/page/scan_trace.h"
#include "platform/tests/scratch_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace kestrova::testing {

inline std::filesystem::path ScratchDir(const std::string& name) { return FreshScratchDir(name); }

inline std::string WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

// The trace of a scan of the bytes, with "ERROR message" as the last line on a scan error.
inline std::string Trace(const std::string& bytes, bool strict,
                         size_t maxCapture = HtmlScanner::kDefaultMaxCapture) {
    ScanTrace trace;
    try {
        HtmlScanner::ScanBytes(bytes, strict, trace, maxCapture);
    } catch (const std::runtime_error& e) {
        return trace.Lines() + "ERROR " + e.what() + "\n";
    }
    return trace.Lines();
}

}  // namespace kestrova::testing
