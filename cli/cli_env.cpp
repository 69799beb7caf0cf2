#include "cli/cli_env.h"

#include "cli/cli_model.h"
#include "model/model_loader.h"
#include "platform/codepage.h"
#include "platform/path.h"

#include <exception>
#include <utility>

namespace kestrova::cli {

CliEnvironment::CliEnvironment(std::string command, const std::string& folder)
    : command_(std::move(command)),
      folder_(folder),
      registry_([this](const std::u16string& f, IExecControl& control, NamedLockSet& locks,
                       bool force) { return Load(f, control, locks, force); }),
      client_(registry_, platform::NormalizePath(platform::PathFromNative(folder))) {}

CliEnvironment::~CliEnvironment() = default;

ModelLoadOutcome CliEnvironment::Load(const std::u16string& folder, IExecControl& control,
                                      NamedLockSet& locks, bool forceRebuild) {
    std::string error;
    try {
        LoadResult result = LoadModelReporting(folder, control, locks, forceRebuild, error);
        std::lock_guard lock(lock_);
        loadError_ = result.model ? std::string() : (error.empty() ? "no data folder" : error);
        return {result.model, result.rebuilt};
    } catch (const std::exception& e) {
        // The loader swallows the failure; keep its reason for the message.
        std::lock_guard lock(lock_);
        loadError_ = e.what();
        throw;
    }
}

CountedPtr<IModel> CliEnvironment::WaitForModel() {
    TerminalProgress progress;
    CountedPtr<IModel> model =
        client_.WaitForModel([&](const ExecProgress& p) { progress.ReportProgress(p); });
    if (!model) {
        std::lock_guard lock(lock_);
        NoModelError(command_, folder_, loadError_.empty() ? "the load failed" : loadError_);
    }
    return model;
}

CountedPtr<ITopicSet> CliEnvironment::Search(CountedPtr<IModel> model, const std::string& query,
                                             uint32_t options) {
    TerminalProgress progress(query);
    return client_.Search(std::move(model), platform::Utf8ToUtf16(query), options,
                          [&](const ExecProgress& p) { progress.ReportProgress(p); });
}

}  // namespace kestrova::cli
