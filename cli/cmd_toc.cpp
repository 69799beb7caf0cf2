// kestrova-cli toc: the contents tree of a knowledge base (or of one domain's view).
#include "cli/cli_model.h"
#include "cli/command.h"
#include "cli/plain_text.h"

#include "model/content.h"
#include "model/domain.h"
#include "model/model_diagnostics.h"
#include "model/page_info.h"
#include "model/topic.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <vector>

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

// Visits the tree depth first with an explicit stack, for its depth comes from the pages.
// `visit(node, depth, context)` gets the context of the node's parent and returns the one
// its children get.
template <class Context, class Visit>
void WalkNodes(IContentNodeList* roots, Context rootContext, Visit visit) {
    struct Level {
        IContentNodeList* list;
        int32_t next;
        Context context;
    };
    std::vector<Level> stack{{roots, 0, rootContext}};
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next >= level.list->GetCount()) {
            stack.pop_back();
            continue;
        }
        IContentNode* node = level.list->GetItem(level.next++);
        if (!node) continue;
        Context childContext = visit(node, stack.size() - 1, level.context);
        if (IContentNodeList* children = node->GetChildren())
            stack.push_back({children, 0, childContext});
    }
}

nlohmann::ordered_json NodesJson(IModelDiagnostics& diagnostics, IContentNodeList* roots) {
    nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
    // Only the array of the deepest level grows, so the arrays above it stay where they are.
    WalkNodes(roots, &nodes, [&](IContentNode* node, size_t, nlohmann::ordered_json* into) {
        IContentNodeList* children = node->GetChildren();
        ITopic* topic = node->GetTopic();
        nlohmann::ordered_json& added = into->emplace_back(nlohmann::ordered_json{
            {"text", Utf8(node->GetText())},
            {"flags", diagnostics.GetNodeFlags(node)},
            {"topic", topic ? TopicJson(topic) : nlohmann::ordered_json(nullptr)},
            {"domains", DomainTags(diagnostics.GetNodeDomains(node))},
            {"children",
             children ? nlohmann::ordered_json::array() : nlohmann::ordered_json(nullptr)}});
        return children ? &added["children"] : nullptr;
    });
    return nodes;
}

void PrintOutline(IContentNodeList* roots) {
    WalkNodes(roots, 0, [](IContentNode* node, size_t depth, int) {
        std::cout << std::string(2 * depth, ' ') << PlainText(node->GetText());
        if (ITopic* topic = node->GetTopic()) {
            IPageInfo* page = topic->GetPage();
            std::cout << "  [" << (page ? PlainPath(page->GetPath()) : std::string("?"));
            if (topic->GetAnchor()) std::cout << "#" << PlainText(topic->GetAnchor());
            std::cout << "]";
        }
        std::cout << "\n";
        return 0;
    });
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
        PrintOutline(roots);
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
