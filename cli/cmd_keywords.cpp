// kestrova-cli keywords: the keyword index of a knowledge base (or of one domain's view).
#include "cli/cli_model.h"
#include "cli/command.h"

#include "model/keyword.h"
#include "model/keyword_list_impl.h"
#include "model/model_original_impl.h"
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

// The stored keyword behind an item of a model's or a view's list, found by its text.
const Keyword_impl_* StoredKeyword(Model_original_impl_& model, IKeyword* keyword) {
    if (auto* k = dynamic_cast<Keyword_impl_*>(keyword)) return k;
    const int32_t i = model.keywords->FindKeyword(keyword->GetText());
    auto* found = dynamic_cast<Keyword_impl_*>(model.keywords->GetItem(i));
    return found && StringView(found->text) == StringView(keyword->GetText()) ? found : nullptr;
}

nlohmann::ordered_json KeywordJson(Model_original_impl_& model, IKeyword* keyword) {
    nlohmann::ordered_json topics = nlohmann::ordered_json::array();
    nlohmann::ordered_json domains = nlohmann::ordered_json::array();
    if (const Keyword_impl_* k = StoredKeyword(model, keyword)) {
        for (int32_t i = 0; i < k->topics.Count(); ++i) {
            ITopic* t = model.GetTopic(k->topics.Item(i));
            if (!t) continue;
            IPageInfo* page = t->GetPage();
            topics.push_back(
                {{"file", page ? nlohmann::ordered_json(Utf8(page->GetPath()))
                               : nlohmann::ordered_json(nullptr)},
                 {"anchor", t->GetAnchor() ? nlohmann::ordered_json(Utf8(t->GetAnchor()))
                                           : nlohmann::ordered_json(nullptr)}});
        }
        for (int32_t i = 0; i < k->domains.Count(); ++i) {
            if (IDomain* d = model.GetDomain(k->domains.Item(i)))
                domains.push_back(Utf8(d->GetTag()));
        }
    }
    return {{"text", Utf8(keyword->GetText())}, {"topics", topics}, {"domains", domains}};
}

int RunKeywords(const KeywordsOptions& o) {
    if (!RequireFolder("keywords", o.folder)) return kStatusUsage;
    LoadResult result = LoadForCli("keywords", o.folder, false);
    if (!result.model) return kStatusFailed;
    CountedPtr<IModel> view = ViewOf("keywords", result.model, o.domain);
    if (!view) return kStatusUsage;
    Model_original_impl_& model = *OriginalModel(view.get());
    IKeywordList* list = view->GetKeywordList();
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        IKeyword* keyword = list->GetItem(i);
        if (!keyword) continue;
        if (o.json) {
            all.push_back(KeywordJson(model, keyword));
        } else {
            std::cout << Utf8(keyword->GetText()) << "\n";
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
