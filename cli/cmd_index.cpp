// kestrova-cli index: builds the full-text indexes of a knowledge base that are not current,
// as the viewer's search thread builds them.
#include "cli/cli_model.h"
#include "cli/command.h"

#include "model/index_build.h"
#include "model/model_diagnostics.h"
#include "platform/path.h"
#include "search/searcher.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct IndexOptions {
    std::string folder;
};

const char* KindName(IndexKind kind) {
    return kind == kIndexLemmatizing ? "lemmatizing index" : "precise index";
}

// Opens every index that says it is current as a search would: a lock file that cannot be
// used throws SearchError, and an index that cannot be opened loses its claim to be current
// (and throws) so that it is built again.
void CheckCurrentIndexesOpen(IModelDiagnostics& diagnostics) {
    for (const IndexKind kind : kIndexKinds) {
        if (diagnostics.GetIndexState(kind) != IndexState::kCurrent) continue;
        const std::filesystem::path log(platform::NativePath(diagnostics.GetIndexLogPath(kind)));
        Searcher probe(platform::PathFromNative(log.parent_path().string()), kind, false);
    }
}

std::array<bool, kIndexKindCount> CurrentKinds(IModelDiagnostics& diagnostics) {
    std::array<bool, kIndexKindCount> current{};
    for (const IndexKind kind : kIndexKinds) {
        current[static_cast<size_t>(kind)] =
            diagnostics.GetIndexState(kind) == IndexState::kCurrent;
    }
    return current;
}

int RunIndex(const IndexOptions& o) {
    if (!RequireFolder("index", o.folder)) return kStatusUsage;
    LoadResult result = LoadForCli("index", o.folder, false);
    if (!result.model) return kStatusFailed;
    const auto start = std::chrono::steady_clock::now();
    IModelDiagnostics& diagnostics = *GetModelDiagnostics(result.model.get());
    try {
        CheckCurrentIndexesOpen(diagnostics);
    } catch (const SearchError& e) {
        std::cerr << "kestrova-cli index: " << o.folder << ": " << e.what() << "\n";
        // A damaged index is built again below; any other failure ends here.
        if (CurrentKinds(diagnostics) == std::array<bool, kIndexKindCount>{true, true})
            return kStatusFailed;
    }
    const std::array<bool, kIndexKindCount> before = CurrentKinds(diagnostics);
    if (before[0] && before[1]) {
        std::cout << "both indexes are current\n";
        return kStatusOk;
    }
    try {
        TerminalProgress progress;
        BuildIndexesAndWait(*result.model, progress);
    } catch (const std::exception& e) {
        std::cerr << "kestrova-cli index: " << o.folder << ": " << e.what() << "\n";
        return kStatusFailed;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const std::array<bool, kIndexKindCount> after = CurrentKinds(diagnostics);
    int status = kStatusOk;
    for (const IndexKind kind : kIndexKinds) {
        const size_t k = static_cast<size_t>(kind);
        if (before[k]) {
            std::cout << KindName(kind) << ": current\n";
        } else if (after[k]) {
            std::cout << KindName(kind) << ": built\n";
        } else {
            std::cerr << "kestrova-cli index: " << o.folder << ": the " << KindName(kind)
                      << " was not built (see " << Utf8(diagnostics.GetIndexLogPath(kind).c_str())
                      << ")\n";
            status = kStatusFailed;
        }
    }
    ModelInfo info;
    result.model->GetModelInfo(info);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", took.count());
    std::cout << "pages: " << info.pages << "\n"
              << "time: " << seconds << " s\n";
    return status;
}

auto options = std::make_shared<IndexOptions>();

CommandRegistration registration({
    "index",
    "build the full-text indexes of a knowledge base that are not current",
    [](CLI::App& app) { app.add_option("folder", options->folder, "the page folder")->required(); },
    [] { return RunIndex(*options); },
});

}  // namespace
}  // namespace kestrova::cli
