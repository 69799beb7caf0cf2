// kestrova-cli keywords: the keyword index of a knowledge base (or of one domain's view).
#include "cli/cli_model.h"
#include "cli/command.h"
#include "cli/plain_text.h"

#include "model/domain.h"
#include "model/keyword.h"
#include "model/model_diagnostics.h"
#include "model/page_info.h"
#include "model/topic.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct KeywordsOptions {
    std::string folder;
    std::string domain;
    bool json = false;
};

// A keyword with its topics (the list's set for its text) and its domains.
nlohmann::ordered_json KeywordJson(IKeywordList& list, IModelDiagnostics& diagnostics,
                                   IKeyword* keyword) {
    nlohmann::ordered_json topics = nlohmann::ordered_json::array();
    const CountedPtr<ITopicSet> set = list.GetKeywordTopics(keyword->GetText());
    for (int32_t i = 0; i < set->GetCount(); ++i) {
        if (ITopic* topic = set->GetItem(i)) topics.push_back(TopicJson(topic));
    }
    nlohmann::ordered_json domains = nlohmann::ordered_json::array();
    for (IDomain* domain : diagnostics.GetKeywordDomains(keyword))
        domains.push_back(Utf8(domain->GetTag()));
    return {{"text", Utf8(keyword->GetText())}, {"topics", topics}, {"domains", domains}};
}

int RunKeywords(const KeywordsOptions& o) {
    if (!RequireFolder("keywords", o.folder)) return kStatusUsage;
    LoadResult result = LoadForCli("keywords", o.folder, false);
    if (!result.model) return kStatusFailed;
    CountedPtr<IModel> view = ViewOf("keywords", result.model, o.domain);
    if (!view) return kStatusUsage;
    IModelDiagnostics& diagnostics = *GetModelDiagnostics(view.get());
    IKeywordList* list = view->GetKeywordList();
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        IKeyword* keyword = list->GetItem(i);
        if (!keyword) continue;
        if (o.json) {
            all.push_back(KeywordJson(*list, diagnostics, keyword));
        } else {
            std::cout << PlainText(keyword->GetText()) << "\n";
        }
    }
    if (o.json) std::cout << all.dump(2) << "\n";
    return kStatusOk;
}

auto options = std::make_shared<KeywordsOptions>();

CommandRegistration registration({
    "keywords",
    "the keyword index of a knowledge base, in order",
    [](CLI::App& app) {
        app.add_option("folder", options->folder, "the page folder")->required();
        app.add_option("--domain", options->domain, "show the view of the domain with this tag");
        app.add_flag("--json", options->json, "print JSON");
    },
    [] { return RunKeywords(*options); },
});

}  // namespace
}  // namespace kestrova::cli
