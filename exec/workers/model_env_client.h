#pragma once
// A user of the model environments without a window, for the command-line tool and the
// benchmarks: it goes through the registry exactly as a navigator window does (AddUser,
// Subscribe, RequestModel, PostSearch, DetachClient, Unsubscribe, RemoveUser) and waits for
// the callbacks of the worker threads. Used from one thread; the callbacks only store what
// they receive.

#include "exec/exec_control.h"
#include "exec/workers/model_env_registry.h"
#include "exec/workers/search_client.h"
#include "model/model.h"
#include "model/topic.h"
#include "platform/event.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace kestrova {

class ModelEnvClient : public IModelSubsriber_impl_, public ISearchClient_impl_ {
public:
    // Called on the waiting thread about every `tick` with the latest progress
    // (stage kStageNone until a worker has reported).
    using ProgressFn = std::function<void(const ExecProgress&)>;

    // AddUser and Subscribe. The registry must outlive the client.
    ModelEnvClient(ModelEnvRegistry& registry, std::u16string_view folder);
    // DetachClient, Unsubscribe and RemoveUser: no callback reaches the client afterwards.
    ~ModelEnvClient();
    ModelEnvClient(const ModelEnvClient&) = delete;
    ModelEnvClient& operator=(const ModelEnvClient&) = delete;

    // RequestModel, then waits until the loader has nothing more to do and returns the last
    // model it delivered (a cached model found outdated is followed by the rebuilt one); null
    // when the folder holds no knowledge base or the load failed.
    CountedPtr<IModel> WaitForModel(const ProgressFn& progress = {});
    // PostSearch, then waits for the result: null when the search failed, and SearchFailure()
    // then says why. The index is built first when it is not current, and its progress
    // reaches `progress`.
    CountedPtr<ITopicSet> Search(CountedPtr<IModel> model, std::u16string_view query,
                                 uint32_t options, const ProgressFn& progress = {});
    // Why the last Search gave null ("what failed: detail"); empty after a search that ran.
    std::string SearchFailure();

    void SetTick(std::chrono::milliseconds tick) { tick_ = tick; }

    void OnModel(CountedPtr<IModel> model) override;
    void OnSearchProgress(const ExecProgress& progress) override;
    void OnSearchResult(CountedPtr<ITopicSet> result) override;
    void OnSearchFailed(const std::string& reason) override;

private:
    ExecProgress LastProgress();

    ModelEnvRegistry& registry_;
    const std::u16string folder_;
    std::chrono::milliseconds tick_{200};
    std::mutex lock_;
    CountedPtr<IModel> model_;                   // guarded by lock_
    CountedPtr<ITopicSet> result_;               // guarded by lock_
    std::string failure_;                        // guarded by lock_
    ExecProgress progress_{kStageNone, -1, -1};  // guarded by lock_
    platform::ManualResetEvent resultReady_;
};

}  // namespace kestrova
