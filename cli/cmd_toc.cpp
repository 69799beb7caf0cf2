// kestrova-cli toc: the contents tree of a knowledge base (or of one domain's view).
#include "cli/cli_model.h"
#include "cli/command.h"

#include "model/content.h"
#include "model/model_original_impl.h"
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

nlohmann::ordered_json TopicJson(ITopic* topic) {
    if (!topic) return nullptr;
    IPageInfo* page = topic->GetPage();
    return {{"file", page ? nlohmann::ordered_json(Utf8(page->GetPath()))
                          : nlohmann::ordered_json(nullptr)},
            {"anchor", topic->GetAnchor() ? nlohmann::ordered_json(Utf8(topic->GetAnchor()))
                                          : nlohmann::ordered_json(nullptr)}};
}

nlohmann::ordered_json DomainTags(Model_original_impl_& model, const IndexList& list) {
    nlohmann::ordered_json tags = nlohmann::ordered_json::array();
    for (int32_t i = 0; i < list.Count(); ++i) {
        if (IDomain* d = model.GetDomain(list.Item(i))) tags.push_back(Utf8(d->GetTag()));
    }
    return tags;
}

nlohmann::ordered_json NodesJson(Model_original_impl_& model, IContentNodeList* list) {
    nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        IContentNode* node = list->GetItem(i);
        if (!node) continue;
        ContentNode_original_impl_* original = OriginalNode(node);
        IContentNodeList* children = node->GetChildren();
        nodes.push_back({{"text", Utf8(node->GetText())},
                         {"flags", original ? original->flags : 0u},
                         {"topic", TopicJson(node->GetTopic())},
                         {"domains", original ? DomainTags(model, original->domains)
                                              : nlohmann::ordered_json::array()},
                         {"children", children ? NodesJson(model, children)
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
        std::cout << NodesJson(*OriginalModel(view.get()), roots).dump(2) << "\n";
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
