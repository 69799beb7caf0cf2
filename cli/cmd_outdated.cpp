// kestrova-cli outdated: whether the cached model of a knowledge base no longer matches its pages.
#include "cli/cli_model.h"
#include "cli/command.h"

#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct OutdatedOptions {
    std::string folder;
};

int RunOutdated(const OutdatedOptions& o) {
    if (!RequireFolder("outdated", o.folder)) return kStatusUsage;
    LoadResult result = LoadForCli("outdated", o.folder, false, false);
    if (!result.model) return kStatusFailed;
    TerminalProgress progress;
    try {
        const bool outdated = !result.rebuilt && result.model->IsOutdated(progress);
        std::cout << (outdated ? "true" : "false") << "\n";
    } catch (const std::exception& e) {
        std::cerr << "kestrova-cli outdated: " << o.folder << ": " << e.what() << "\n";
        return kStatusFailed;
    }
    return kStatusOk;
}

auto options = std::make_shared<OutdatedOptions>();

CommandRegistration registration({
    "outdated",
    "print true when the pages changed since the cached model was built, else false",
    [](CLI::App& app) { app.add_option("folder", options->folder, "the page folder")->required(); },
    [] { return RunOutdated(*options); },
});

}  // namespace
}  // namespace kestrova::cli
