// A knowledge base opened by the command-line tool exactly as a navigator window opens it:
// through the model environments (subscribe, request the model, post searches and wait for
// the worker threads' callbacks), with progress on standard error when it is a terminal.
#pragma once

#include "exec/workers/model_env_client.h"
#include "exec/workers/model_env_registry.h"
#include "model/model.h"
#include "model/topic.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace kestrova::cli {

class CliEnvironment {
public:
    // Opens the environment of `folder` (a native path that must be an existing folder).
    CliEnvironment(std::string command, const std::string& folder);
    // Ends the subscription and stops the worker threads.
    ~CliEnvironment();
    CliEnvironment(const CliEnvironment&) = delete;
    CliEnvironment& operator=(const CliEnvironment&) = delete;

    // The model as the loader delivers it (a cached model found outdated is rebuilt first).
    // Null, after "kestrova-cli COMMAND: FOLDER: no model (reason)" on standard error, when the
    // folder holds no knowledge base or loading failed.
    CountedPtr<IModel> WaitForModel();
    // Posts a search with the option bits of FindTopics and waits for it, index build
    // included; the result is null when the search failed, and SearchFailure() then says why.
    CountedPtr<ITopicSet> Search(CountedPtr<IModel> model, const std::string& query,
                                 uint32_t options);
    std::string SearchFailure() { return client_.SearchFailure(); }

private:
    ModelLoadOutcome Load(const std::u16string& folder, IExecControl& control, NamedLockSet& locks,
                          bool forceRebuild);

    const std::string command_;
    const std::string folder_;
    std::mutex lock_;
    std::string loadError_;  // guarded by lock_: why the last load gave no model
    ModelEnvRegistry registry_;
    ModelEnvClient client_;  // after the registry, which must outlive it
};

}  // namespace kestrova::cli
