// kestrova-cli toc: the contents tree of a knowledge base (or of one domain's view).
#include "cli/cli_model.h"
#include "cli/command.h"

#include "model/content.h"
#include "model/domain.h"
#include "model/model_diagnostics.h"
#include "model/page_info.h"
#include "model/topic.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct TocOptions {
    std::string folder;
    std::string domain;
    bool json = false;
};

nlohmann::ordered_json DomainTags(const std::vector<IDomain*>& domains) {
    nlohmann::ordered_json tags = nlohmann::ordered_json::array();
    for (IDomain* domain : domains) tags.push_back(Utf8(domain->GetTag()));
    return tags;
}

nlohmann::ordered_json NodesJson(IModelDiagnostics& diagnostics, IContentNodeList* list) {
    nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        IContentNode* node = list->GetItem(i);
        if (!node) continue;
        IContentNodeList* children = node->GetChildren();
        ITopic* topic = node->GetTopic();
        nodes.push_back({{"text", Utf8(node->GetText())},
                         {"flags", diagnostics.GetNodeFlags(node)},
                         {"topic", topic ? TopicJson(topic) : nlohmann::ordered_json(nullptr)},
                         {"domains", DomainTags(diagnostics.GetNodeDomains(node))},
                         {"children", children ? NodesJson(diagnostics, children)
                                               : nlohmann::ordered_json(nullptr)}});
    }
    return nodes;
}

void PrintOutline(IContentNodeList* list, int depth) {
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        IContentNode* node = list->GetItem(i);
        if (!node) continue;
        std::cout << std::string(2 * static_cast<size_t>(depth), ' ') << Utf8(node->GetText());
        if (ITopic* topic = node->GetTopic()) {
            IPageInfo* page = topic->GetPage();
            std::cout << "  [" << (page ? Utf8(page->GetPath()) : std::string("?"));
            if (topic->GetAnchor()) std::cout << "#" << Utf8(topic->GetAnchor());
            std::cout << "]";
        }
        std::cout << "\n";
        if (IContentNodeList* children = node->GetChildren()) PrintOutline(children, depth + 1);
    }
}

int RunToc(const TocOptions& o) {
    if (!RequireFolder("toc", o.folder)) return kStatusUsage;
    LoadResult result = LoadForCli("toc", o.folder, false);
    if (!result.model) return kStatusFailed;
    CountedPtr<IModel> view = ViewOf("toc", result.model, o.domain);
    if (!view) return kStatusUsage;
    IContentNodeList* roots = view->GetContent()->GetRoots();
    if (o.json) {
        std::cout << NodesJson(*GetModelDiagnostics(view.get()), roots).dump(2) << "\n";
    } else {
        PrintOutline(roots, 0);
    }
    return kStatusOk;
}

auto options = std::make_shared<TocOptions>();

CommandRegistration registration({
    "toc",
    "the contents tree of a knowledge base as an outline",
    [](CLI::App& app) {
        app.add_option("folder", options->folder, "the page folder")->required();
        app.add_option("--domain", options->domain, "show the view of the domain with this tag");
        app.add_flag("--json", options->json, "print JSON");
    },
    [] { return RunToc(*options); },
});

}  // namespace
}  // namespace kestrova::cli
