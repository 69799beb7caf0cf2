#pragma once
// The registry of the model environments of a process, one per page folder, and the
// by-folder entry points through which windows reach them. Windows never hold an
// environment: every call names the page folder, and the first call for a folder creates its
// environment, which starts its loader thread.
//
// Every window calls AddUser when it is made and RemoveUser when it goes; the by-folder
// entry points may be called only in between (otherwise they throw std::logic_error). The
// last RemoveUser stops the threads of every environment and waits for them. Folders are the
// same when their normalised paths are equal (letter case counts). Thread-safe; callbacks
// run as LoaderThread and SearchThread describe.

#include "exec/workers/model_env_impl.h"
#include "exec/workers/model_load_fn.h"
#include "exec/workers/search_client.h"
#include "model/counted.h"
#include "model/model.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrova {

class ModelEnvRegistry {
public:
    // Every environment loads its models with `load`.
    explicit ModelEnvRegistry(ModelLoadFn load);
    // Stops whatever environments are left.
    ~ModelEnvRegistry();
    ModelEnvRegistry(const ModelEnvRegistry&) = delete;
    ModelEnvRegistry& operator=(const ModelEnvRegistry&) = delete;

    // One more window; the first one opens an empty list of environments.
    void AddUser();
    // One window less; the last one releases every environment, ending their threads.
    void RemoveUser();

    // LoaderThread::Subscribe / Unsubscribe of the folder's environment.
    void Subscribe(std::u16string_view folder, IModelSubsriber_impl_* subscriber);
    void Unsubscribe(std::u16string_view folder, IModelSubsriber_impl_* subscriber);
    // LoaderThread::RequestModel: the model at once if there is one, else a load.
    void RequestModel(std::u16string_view folder);
    // LoaderThread::RequestReload: a forced rebuild from the pages.
    void RequestReload(std::u16string_view folder);
    // LoaderThread::IsLoading.
    bool IsLoading(std::u16string_view folder);
    // SearchThread::PostSearch: a search of `query` in `model` with the option bits of
    // FindTopics; the index is built first when it is not current.
    void PostSearch(std::u16string_view folder, ISearchClient_impl_* client,
                    CountedPtr<IModel> model, std::u16string_view query, uint32_t options);
    // SearchThread::DetachClient: no further callback to `client` once this returns.
    void DetachClient(std::u16string_view folder, ISearchClient_impl_* client);

    // The environment of the folder, created when it is new. Throws std::logic_error when
    // there is no user.
    CountedPtr<ModelEnv_impl_> FindOrCreate(std::u16string_view folder);
    int32_t UserCount();
    size_t EnvironmentCount();

private:
    const ModelLoadFn load_;
    std::mutex lock_;  // guards everything below, held while environments are made or ended
    int32_t users_ = 0;
    std::optional<std::vector<CountedPtr<ModelEnv_impl_>>> envs_;  // only while users_ > 0
};

}  // namespace kestrova
