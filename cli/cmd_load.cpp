// kestrova-cli load: loads a knowledge base as the viewer does and describes the model.
#include "cli/cli_model.h"
#include "cli/command.h"

#include "model/model_diagnostics.h"
#include "platform/path.h"
#include "platform/uuid.h"

#include <nlohmann/json.hpp>

#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct LoadOptions {
    std::string folder;
    bool rebuild = false;
    bool json = false;
};

std::vector<std::string> LogLines(IModelDiagnostics& model) {
    std::ifstream in(platform::NativePath(model.GetLogPath()), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int RunLoad(const LoadOptions& o) {
    if (!RequireFolder("load", o.folder)) return kStatusUsage;
    LoadResult result = LoadForCli("load", o.folder, o.rebuild);
    if (!result.model) return kStatusFailed;
    IModelDiagnostics& diagnostics = *GetModelDiagnostics(result.model.get());
    ModelInfo info;
    result.model->GetModelInfo(info);
    const ModelUid id = diagnostics.GetModelId();
    platform::Uuid uuid;
    std::memcpy(uuid.bytes.data(), id.data(), id.size());
    const bool rebuilt = diagnostics.IsBuiltFromPages();
    const std::vector<std::string> log = LogLines(diagnostics);
    // The model is good, but the next start will build it again: say so.
    if (const std::string failure = diagnostics.GetCacheSaveFailure(); !failure.empty())
        std::cerr << "kestrova-cli load: the cache could not be saved: " << failure << "\n";
    if (o.json) {
        nlohmann::ordered_json j = {{"html", Utf8(info.htmlFolder)},
                                    {"database", Utf8(info.dataFolder)},
                                    {"uid", platform::UuidToAsciiString(uuid)},
                                    {"rebuilt", rebuilt},
                                    {"pages", info.pages},
                                    {"topics", info.topics},
                                    {"domains", info.domains},
                                    {"chapters", info.chapters},
                                    {"keywords", info.keywords},
                                    {"context_ids", info.contextIds},
                                    {"log", log}};
        std::cout << j.dump(2) << "\n";
        return kStatusOk;
    }
    std::cout << "html:        " << Utf8(info.htmlFolder) << "\n"
              << "database:    " << Utf8(info.dataFolder) << "\n"
              << "uid:         " << platform::UuidToAsciiString(uuid) << "\n"
              << "rebuilt:     " << (rebuilt ? "yes" : "no") << "\n"
              << "pages:       " << info.pages << "\n"
              << "topics:      " << info.topics << "\n"
              << "domains:     " << info.domains << "\n"
              << "chapters:    " << info.chapters << "\n"
              << "keywords:    " << info.keywords << "\n"
              << "context ids: " << info.contextIds << "\n"
              << "model.log:\n";
    for (const std::string& line : log) std::cout << "  " << line << "\n";
    return kStatusOk;
}

auto options = std::make_shared<LoadOptions>();

CommandRegistration registration({
    "load",
    "load a knowledge base (from the cache or the pages) and describe the model",
    [](CLI::App& app) {
        app.add_option("folder", options->folder, "the page folder")->required();
        app.add_flag("--rebuild", options->rebuild,
                     "build the model from the pages even when the cache is usable");
        app.add_flag("--json", options->json, "print JSON");
    },
    [] { return RunLoad(*options); },
});

}  // namespace
}  // namespace kestrova::cli
