// Loading a model for the command-line tool, as the viewer's loader thread loads it: the same
// per-user folders, the cache or the pages, and a rebuild when the cache is outdated.
#pragma once

#include "exec/exec_control.h"
#include "model/model.h"
#include "model/model_loader.h"
#include "model/topic.h"

#include <nlohmann/json.hpp>

#include <string>

namespace kestrova::cli {

// Progress on standard error, only when it is a terminal; never breaks. It shows the texts of
// the viewer's progress dialog, with a bar while the total is known; `query` is the text of a
// search (stage 4).
class TerminalProgress final : public IExecControl {
public:
    explicit TerminalProgress(std::string query = {});
    ~TerminalProgress() override;
    bool ShouldBreak() override { return false; }
    void ReportProgress(const ExecProgress& progress) override;

private:
    bool terminal_;
    std::string query_;
    std::string shown_;  // the line on screen, redrawn only when it changes
};

// True when `folder` is a folder; otherwise prints "kestrova-cli COMMAND: FOLDER: not a folder"
// (a usage error: the caller returns kStatusUsage).
bool RequireFolder(const std::string& command, const std::string& folder);

// Prints "kestrova-cli COMMAND: FOLDER: no model (REASON)"; an empty reason says there was no
// data folder.
void NoModelError(const std::string& command, const std::string& folder, const std::string& reason);

// Loads the model of `folder` (forced rebuild with `rebuild`); after a cache read the outdated
// test runs and an outdated model is rebuilt (unless `refreshOutdated` is false). On failure
// prints "kestrova-cli COMMAND: FOLDER: reason" and returns a null model.
// REQUIRES: RequireFolder(command, folder) held.
LoadResult LoadForCli(const std::string& command, const std::string& folder, bool rebuild,
                      bool refreshOutdated = true);

// UTF-8 of a model string; empty for null.
std::string Utf8(const char16_t* text);

// A model string as JSON: the UTF-8 text, or null for null.
nlohmann::ordered_json JsonOrNull(const char16_t* text);

// A topic as JSON: {"file": its page's path or null, "anchor": its anchor or null}.
nlohmann::ordered_json TopicJson(ITopic* topic);

// The restricted view of `tag` (empty: the model itself). Prints an error and returns null
// when the model has no domain with that tag.
CountedPtr<IModel> ViewOf(const std::string& command, CountedPtr<IModel> model,
                          const std::string& tag);

}  // namespace kestrova::cli
