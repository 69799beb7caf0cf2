// kestrova-cli meta: the navigation record of one page, read as model loading reads it, as JSON.
#include "cli/command.h"
#include "cli/input_file.h"

#include "model/page/read_page_meta.h"
#include "platform/codepage.h"
#include "platform/path.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

using json = nlohmann::ordered_json;

std::string Utf8(const std::u16string& text) { return platform::Utf16ToUtf8(text); }

// Keeps the lines model loading would write to its log.
class CollectingLog final : public ILog {
public:
    std::string lines;
    void Write(std::u16string_view text) override { WriteText(platform::Utf16ToUtf8(text)); }
    void WriteText(std::string_view bytes) override { lines.append(bytes).append("\n"); }
};

template <class T, class ToJson>
json PerProfileJson(const PerProfile<T>& lists, ToJson toJson) {
    json out = json::object();
    auto add = [&](const std::u16string& profile, const std::vector<T>& list) {
        json items = json::array();
        for (const T& item : list) items.push_back(toJson(item));
        out[Utf8(profile)] = std::move(items);
    };
    if (!lists.defaultList.empty()) add(u"", lists.defaultList);
    for (const auto& [profile, list] : lists.profiles) add(profile, list);
    return out;
}

json PageJson(const PageMeta& page) {
    json out;
    out["title"] = page.title.empty() ? json(nullptr) : json(Utf8(page.title));
    out["root_chapter"] = page.rootChapter;
    out["ignored"] = page.ignored;
    out["chapters"] = PerProfileJson(page.chapters, [](const ChapterStep& s) {
        return json{{"name", Utf8(s.name)}, {"order", s.order}, {"hidden", s.hidden}};
    });
    out["contents"] = PerProfileJson(page.contents, [](const ContentEntry& c) {
        return json{{"text", Utf8(c.text)},
                    {"anchor", Utf8(c.anchor)},
                    {"order", c.order},
                    {"index", c.index}};
    });
    out["domains"] = json::array();
    for (const DomainEntry& d : page.domains) {
        out["domains"].push_back({{"tag", Utf8(d.tag)},
                                  {"display_name", Utf8(d.displayName)},
                                  {"order", d.order},
                                  {"chapter_index", d.chapterIndex}});
    }
    out["keywords"] = json::array();
    for (const KeywordEntry& k : page.keywords)
        out["keywords"].push_back({{"text", Utf8(k.text)}, {"anchor", Utf8(k.anchor)}});
    out["help_ids"] = json::array();
    for (const HelpIdEntry& h : page.helpIds)
        out["help_ids"].push_back({{"id", Utf8(h.id)}, {"anchor", Utf8(h.anchor)}});
    return out;
}

int RunMeta(const std::string& file) {
    if (const std::string problem = InputFileProblem(file); !problem.empty())
        return UsageError("meta", problem);
    CollectingLog log;
    PageMeta page;
    if (!ReadPageMeta(platform::PathFromNative(FullPath(file)), log, page)) {
        std::cerr << log.lines;
        return kStatusFailed;
    }
    std::cout << PageJson(page).dump(2) << "\n";
    return kStatusOk;
}

auto file = std::make_shared<std::string>();

CommandRegistration registration({
    "meta",
    "the navigation record of one page (title, chapters, contents, domains, keywords, help ids) as "
    "JSON",
    [](CLI::App& app) { app.add_option("FILE", *file, "the page file")->required(); },
    [] { return RunMeta(*file); },
});

}  // namespace
}  // namespace kestrova::cli
