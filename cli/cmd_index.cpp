// kestrova-cli index: builds the full-text indexes of a knowledge base that are not current,
// through the model environments as the viewer builds them.
#include "cli/cli_env.h"
#include "cli/cli_model.h"
#include "cli/command.h"

#include "model/model_original_impl.h"
#include "search/index_store.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct IndexOptions {
    std::string folder;
};

const char* KindName(int32_t kind) {
    return kind == kIndexLemmatizing ? "lemmatizing index" : "precise index";
}

std::array<bool, kIndexKindCount> CurrentKinds(Model_original_impl_& model) {
    std::array<bool, kIndexKindCount> current{};
    for (int32_t kind = 0; kind < kIndexKindCount; ++kind) {
        current[static_cast<size_t>(kind)] = IsIndexCurrent(model.DataFolder(), kind, model.uid);
    }
    return current;
}

int RunIndex(const IndexOptions& o) {
    if (!RequireFolder("index", o.folder)) return kStatusUsage;
    CliEnvironment env("index", o.folder);
    CountedPtr<IModel> model = env.WaitForModel();
    if (!model) return kStatusFailed;
    Model_original_impl_& original = *OriginalModel(model.get());
    const auto start = std::chrono::steady_clock::now();
    // A model the loader has just built from the pages has a new identifier, so no index can
    // carry it yet; the loader has already queued its build, which may even have finished a
    // kind by now.
    std::array<bool, kIndexKindCount> before{};
    if (!env.Rebuilt()) before = CurrentKinds(original);
    if (before[0] && before[1]) {
        std::cout << "both indexes are current\n";
        return kStatusOk;
    }
    // The environment builds indexes ahead of a search, as for the viewer: an empty title
    // search is the cheapest one that waits for the build, whether the loader queued it or
    // the search does.
    env.Search(model, "", kSearchTitles);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const std::array<bool, kIndexKindCount> after = CurrentKinds(original);
    int status = kStatusOk;
    for (int32_t kind = 0; kind < kIndexKindCount; ++kind) {
        const size_t k = static_cast<size_t>(kind);
        if (before[k]) {
            std::cout << KindName(kind) << ": current\n";
        } else if (after[k]) {
            std::cout << KindName(kind) << ": built\n";
        } else {
            std::cerr << "kestrova-cli index: " << o.folder << ": the " << KindName(kind)
                      << " was not built (see " << MakeIndexPaths(original.DataFolder(), kind).log
                      << ")\n";
            status = kStatusFailed;
        }
    }
    ModelInfo info;
    original.GetModelInfo(info);
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
