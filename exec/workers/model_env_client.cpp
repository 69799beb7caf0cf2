#include "exec/workers/model_env_client.h"

#include <thread>
#include <utility>

namespace kestrova {

ModelEnvClient::ModelEnvClient(ModelEnvRegistry& registry, std::u16string_view folder)
    : registry_(registry), folder_(folder) {
    registry_.AddUser();
    registry_.Subscribe(folder_, this);
}

ModelEnvClient::~ModelEnvClient() {
    registry_.DetachClient(folder_, this);
    registry_.Unsubscribe(folder_, this);
    registry_.RemoveUser();
}

CountedPtr<IModel> ModelEnvClient::WaitForModel(const ProgressFn& progress) {
    registry_.RequestModel(folder_);
    // The loader reports no progress of its own: the wait shows as a plain wait. IsLoading
    // stays true from the request until the loader is done with it, rebuild included.
    while (registry_.IsLoading(folder_)) {
        if (progress) progress(ExecProgress{kStageNone, -1, -1});
        std::this_thread::sleep_for(tick_ / 4);
    }
    std::lock_guard lock(lock_);
    return model_;
}

CountedPtr<ITopicSet> ModelEnvClient::Search(CountedPtr<IModel> model, std::u16string_view query,
                                             uint32_t options, const ProgressFn& progress) {
    {
        std::lock_guard lock(lock_);
        result_.Reset();
        failure_.clear();
        progress_ = ExecProgress{kStageNone, -1, -1};
    }
    resultReady_.Reset();
    registry_.PostSearch(folder_, this, std::move(model), query, options);
    while (!resultReady_.WaitFor(tick_)) {
        if (progress) progress(LastProgress());
    }
    std::lock_guard lock(lock_);
    return std::exchange(result_, nullptr);
}

void ModelEnvClient::OnModel(CountedPtr<IModel> model) {
    std::lock_guard lock(lock_);
    model_ = std::move(model);
}

void ModelEnvClient::OnSearchProgress(const ExecProgress& progress) {
    std::lock_guard lock(lock_);
    progress_ = progress;
}

void ModelEnvClient::OnSearchResult(CountedPtr<ITopicSet> result) {
    {
        std::lock_guard lock(lock_);
        result_ = std::move(result);
    }
    resultReady_.Set();
}

void ModelEnvClient::OnSearchFailed(const std::string& reason) {
    std::lock_guard lock(lock_);
    failure_ = reason;
}

std::string ModelEnvClient::SearchFailure() {
    std::lock_guard lock(lock_);
    return failure_;
}

ExecProgress ModelEnvClient::LastProgress() {
    std::lock_guard lock(lock_);
    return progress_;
}

}  // namespace kestrova
