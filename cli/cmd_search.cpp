// kestrova-cli search: a full-text or title search of a knowledge base, run by its search
// thread as the viewer runs it (the index is built first when it is not current).
#include "cli/cli_env.h"
#include "cli/cli_model.h"
#include "cli/command.h"
#include "cli/plain_text.h"

#include "model/page_info.h"
#include "model/topic.h"
#include "platform/codepage.h"
#include "platform/path.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct SearchOptions {
    std::string folder;
    std::string query;
    bool titles = false;
    bool precise = false;  // related words are on unless asked otherwise, as in the viewer
    bool queryLanguage = false;
    std::string domain;
    bool json = false;

    uint32_t Bits() const {
        return (titles ? kSearchTitles : 0) | (precise ? 0 : kSearchRelatedWords) |
               (queryLanguage ? kSearchQueryLanguage : 0);
    }
};

// `path` is the page's path as the model keeps it; `file` the absolute path of its file.
nlohmann::ordered_json ResultsJson(const SearchOptions& o, IModel& model, ITopicSet& found) {
    ModelInfo info;
    model.GetModelInfo(info);
    nlohmann::ordered_json results = nlohmann::ordered_json::array();
    for (int32_t i = 0; i < found.GetCount(); ++i) {
        ITopic* topic = found.GetItem(i);
        IPageInfo* page = topic ? topic->GetPage() : nullptr;
        if (!page) continue;
        results.push_back({{"rank", i + 1},
                           {"path", Utf8(page->GetPath())},
                           {"file", Utf8(platform::JoinPath(info.htmlFolder ? info.htmlFolder : u"",
                                                            page->GetPath() ? page->GetPath() : u"")
                                             .c_str())},
                           {"anchor", JsonOrNull(topic->GetAnchor())},
                           {"title", JsonOrNull(page->GetTitle())},
                           {"location", JsonOrNull(page->GetLocation())}});
    }
    nlohmann::ordered_json options = {
        {"titles_only", o.titles},
        {"related_words", !o.precise},
        {"query_language", o.queryLanguage},
        {"domain",
         o.domain.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(o.domain)}};
    return {
        {"query", o.query}, {"options", options}, {"count", results.size()}, {"results", results}};
}

// Title, location and page path (with "#anchor") of each result, in rank order.
void PrintResults(ITopicSet& found) {
    int32_t shown = 0;
    for (int32_t i = 0; i < found.GetCount(); ++i) {
        ITopic* topic = found.GetItem(i);
        IPageInfo* page = topic ? topic->GetPage() : nullptr;
        if (!page) continue;
        const char16_t* anchor = topic->GetAnchor();
        std::cout << ++shown << ". "
                  << (page->GetTitle() ? PlainText(page->GetTitle()) : "(no title)") << "\n"
                  << "   " << PlainText(page->GetLocation()) << "\n"
                  << "   " << PlainPath(page->GetPath()) << (anchor ? "#" + PlainText(anchor) : "")
                  << "\n";
    }
    std::cout << shown << (shown == 1 ? " result" : " results") << "\n";
}

int RunSearch(const SearchOptions& o) {
    if (!RequireFolder("search", o.folder)) return kStatusUsage;
    if (o.query.empty()) return UsageError("search", "the query is empty");
    // Every text that reaches the output (JSON above all) must be text.
    if (!platform::IsValidUtf8(o.query))
        return UsageError("search", "the query is not valid UTF-8");
    if (!platform::IsValidUtf8(o.domain))
        return UsageError("search", "the domain is not valid UTF-8");
    CliEnvironment env("search", o.folder);
    CountedPtr<IModel> model = env.WaitForModel();
    if (!model) return kStatusFailed;
    CountedPtr<IModel> view = ViewOf("search", model, o.domain);
    if (!view) return kStatusUsage;
    CountedPtr<ITopicSet> found = env.Search(view, o.query, o.Bits());
    if (!found) {
        const std::string reason = env.SearchFailure();
        std::cerr << "kestrova-cli search: " << o.folder << ": the search for \"" << o.query
                  << "\" failed" << (reason.empty() ? "" : ": " + reason) << "\n";
        return kStatusFailed;
    }
    if (o.json) {
        std::cout << ResultsJson(o, *view, *found).dump(2) << "\n";
    } else {
        PrintResults(*found);
    }
    return kStatusOk;
}

auto options = std::make_shared<SearchOptions>();

CommandRegistration registration({
    "search",
    "search a knowledge base: results in rank order (title, location, page)",
    [](CLI::App& app) {
        app.add_option("folder", options->folder, "the page folder")->required();
        app.add_option("query", options->query,
                       "the words to look for (after --, a query that begins with - is not "
                       "taken as an option: search FOLDER -- -word)")
            ->required();
        app.add_flag("--titles", options->titles, "match the words against page titles only");
        app.add_flag("--precise", options->precise,
                     "find the words only as written (no related word forms)");
        app.add_flag("--query-language", options->queryLanguage,
                     "take the query in the query language (AND, OR, quotes, *, ...)");
        app.add_option("--domain", options->domain, "search the view of the domain with this tag");
        app.add_flag("--json", options->json, "print JSON");
    },
    [] { return RunSearch(*options); },
});

}  // namespace
}  // namespace kestrova::cli
