// kestrova-cli helpid: the page of a context-help id.
#include "cli/cli_model.h"
#include "cli/command.h"
#include "cli/plain_text.h"

#include "model/page_info.h"
#include "model/topic.h"
#include "platform/codepage.h"

#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct HelpIdOptions {
    std::string folder;
    std::string id;
};

int RunHelpId(const HelpIdOptions& o) {
    if (!RequireFolder("helpid", o.folder)) return kStatusUsage;
    LoadResult result = LoadForCli("helpid", o.folder, false);
    if (!result.model) return kStatusFailed;
    const std::u16string id = platform::Utf8ToUtf16(o.id);
    ITopic* topic = result.model->FindTopicByHelpId(id.c_str());
    IPageInfo* page = topic ? topic->GetPage() : nullptr;
    if (!page) {
        std::cerr << "kestrova-cli helpid: " << o.id << ": unknown help id\n";
        return kStatusFailed;
    }
    std::cout << PlainPath(page->GetPath());
    if (topic->GetAnchor()) std::cout << "#" << PlainText(topic->GetAnchor());
    std::cout << "\n";
    return kStatusOk;
}

auto options = std::make_shared<HelpIdOptions>();

CommandRegistration registration({
    "helpid",
    "the page (and #anchor) of a context-help id; status 1 when the id is unknown",
    [](CLI::App& app) {
        app.add_option("folder", options->folder, "the page folder")->required();
        app.add_option("id", options->id, "the help id")->required();
    },
    [] { return RunHelpId(*options); },
});

}  // namespace
}  // namespace kestrova::cli
