// kestrova-cli text: the text that the full-text index stores for one page.
#include "cli/command.h"
#include "cli/input_file.h"
#include "cli/plain_text.h"

#include "platform/codepage.h"
#include "search/text_extractor.h"

#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct TextOptions {
    std::string file;
};

int RunText(const TextOptions& options) {
    const std::string problem = InputFileProblem(options.file);
    if (!problem.empty()) return UsageError("text", problem);
    TextExtractor extractor;
    const bool complete = extractor.Extract(FullPath(options.file));
    std::cout << PlainText(platform::WideToUtf16(extractor.GetText())) << "\n";
    if (!complete) {
        std::cerr << "kestrova-cli text: " << options.file
                  << ": the page could not be read to its end\n";
        return kStatusFailed;
    }
    return kStatusOk;
}

auto options = std::make_shared<TextOptions>();

CommandRegistration registration({
    "text",
    "the text the full-text index stores for one page (UTF-8)",
    [](CLI::App& app) { app.add_option("file", options->file, "the HTML page")->required(); },
    [] { return RunText(*options); },
});

}  // namespace
}  // namespace kestrova::cli
