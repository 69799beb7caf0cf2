#include "exec/workers/model_env_registry.h"

#include "platform/path.h"

#include <stdexcept>
#include <utility>

namespace kestrova {

ModelEnvRegistry::ModelEnvRegistry(ModelLoadFn load) : load_(std::move(load)) {}

ModelEnvRegistry::~ModelEnvRegistry() {
    std::lock_guard lock(lock_);
    envs_.reset();
}

void ModelEnvRegistry::AddUser() {
    std::lock_guard lock(lock_);
    if (users_ == 0) envs_.emplace();  // a list left from before is released first
    ++users_;
}

void ModelEnvRegistry::RemoveUser() {
    std::lock_guard lock(lock_);
    if (users_ <= 0) return;  // more RemoveUser than AddUser: nothing to end
    if (--users_ == 0) envs_.reset();
}

CountedPtr<ModelEnv_impl_> ModelEnvRegistry::FindOrCreate(std::u16string_view folder) {
    std::u16string key = platform::NormalizePath(folder);
    std::lock_guard lock(lock_);
    if (!envs_) throw std::logic_error("model environments: used without a user");
    for (const CountedPtr<ModelEnv_impl_>& env : *envs_) {
        if (env->GetPageFolder() == key) return env;
    }
    envs_->push_back(MakeCounted<ModelEnv_impl_>(key, load_));
    return envs_->back();
}

int32_t ModelEnvRegistry::UserCount() {
    std::lock_guard lock(lock_);
    return users_;
}

size_t ModelEnvRegistry::EnvironmentCount() {
    std::lock_guard lock(lock_);
    return envs_ ? envs_->size() : 0;
}

void ModelEnvRegistry::Subscribe(std::u16string_view folder, IModelSubsriber_impl_* subscriber) {
    FindOrCreate(folder)->Loader().Subscribe(subscriber);
}

void ModelEnvRegistry::Unsubscribe(std::u16string_view folder, IModelSubsriber_impl_* subscriber) {
    FindOrCreate(folder)->Loader().Unsubscribe(subscriber);
}

void ModelEnvRegistry::RequestModel(std::u16string_view folder) {
    FindOrCreate(folder)->Loader().RequestModel();
}

void ModelEnvRegistry::RequestReload(std::u16string_view folder) {
    FindOrCreate(folder)->Loader().RequestReload();
}

bool ModelEnvRegistry::IsLoading(std::u16string_view folder) {
    return FindOrCreate(folder)->Loader().IsLoading();
}

void ModelEnvRegistry::PostSearch(std::u16string_view folder, ISearchClient_impl_* client,
                                  CountedPtr<IModel> model, std::u16string_view query,
                                  uint32_t options) {
    FindOrCreate(folder)->Search().PostSearch(client, std::move(model), query, options);
}

void ModelEnvRegistry::DetachClient(std::u16string_view folder, ISearchClient_impl_* client) {
    FindOrCreate(folder)->Search().DetachClient(client);
}

}  // namespace kestrova
