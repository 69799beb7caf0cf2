// kestrova-cli scan: the HTML scanner's callbacks for one file, one per line.
#include "cli/command.h"
#include "cli/input_file.h"

#include "model/page/html_scanner.h"
#include "model/page/scan_trace.h"

#include <iostream>
#include <memory>
#include <stdexcept>

namespace kestrova::cli {
namespace {

struct ScanOptions {
    std::string file;
    bool tolerant = false;
};

int RunScan(const ScanOptions& options) {
    if (const std::string problem = InputFileProblem(options.file); !problem.empty())
        return UsageError("scan", problem);
    ScanTrace trace;
    try {
        HtmlScanner::Scan(options.file, !options.tolerant, trace);
    } catch (const std::runtime_error& e) {
        std::cout << trace.Lines() << "ERROR " << e.what() << "\n";
        return kStatusFailed;
    }
    std::cout << trace.Lines();
    return kStatusOk;
}

auto options = std::make_shared<ScanOptions>();

CommandRegistration registration({
    "scan",
    "the HTML scanner's callbacks for one file: BOM, START, TAG, ATTR, ATTREND, END, TEXT, ERROR",
    [](CLI::App& app) {
        app.add_option("FILE", options->file, "the file to scan")->required();
        app.add_flag("--tolerant", options->tolerant,
                     "pass over broken markup instead of stopping at the first error");
    },
    [] { return RunScan(*options); },
});

}  // namespace
}  // namespace kestrova::cli
