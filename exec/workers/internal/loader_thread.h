#pragma once
// The loader thread of one page folder: loads the model (from the cache or from the pages),
// hands it to every subscriber, rebuilds a cached model that no longer matches the page
// files, and asks the environment for a new index after every rebuild.
//
// Subscribe, Unsubscribe, RequestModel, RequestReload and IsLoading are called on the
// user-interface thread; OnModel runs on the loader thread (or on the caller's thread for
// RequestModel with a current model), under the subscriber lock.

#include "exec/exec_control.h"
#include "exec/named_lock_set.h"
#include "exec/thread.h"
#include "exec/workers/internal/model_env.h"
#include "exec/workers/model_load_fn.h"
#include "model/model.h"
#include "platform/event.h"

#include <map>
#include <mutex>

namespace kestrova {

class LoaderThread : public Thread, public IExecControl {
public:
    // Request codes; a later post overwrites one not taken yet.
    static constexpr int kNone = 0;
    static constexpr int kLoad = 1;
    static constexpr int kReload = 2;

    // The environment and the load function must outlive the thread.
    LoaderThread(IModelEnv_impl_& env, ModelLoadFn load);
    ~LoaderThread() override;

    // Adds the subscriber, or counts one more subscription of it. Subscribers are not owned.
    void Subscribe(IModelSubsriber_impl_* subscriber);
    // Counts one subscription less, removing the subscriber at 0; unknown ones are ignored.
    void Unsubscribe(IModelSubsriber_impl_* subscriber);
    // With a current model: every subscriber receives it at once, on the calling thread.
    // Without: posts a load.
    void RequestModel();
    // Posts a forced rebuild from the pages.
    void RequestReload();
    // True while a request is pending or being processed.
    bool IsLoading() const;
    // The current model (null until the first load).
    CountedPtr<IModel> CurrentModel() const;

    // True once the stop event is signalled; progress is ignored.
    bool ShouldBreak() override { return StopEvent().IsSet(); }
    void ReportProgress(const ExecProgress&) override {}

protected:
    int Run() override;

private:
    void Post(int code);
    // Runs one request; false when the thread is to stop.
    bool Process(int code, NamedLockSet& locks);
    void Load(NamedLockSet& locks);
    void Reload(NamedLockSet& locks);
    void Publish(CountedPtr<IModel> model);
    // Calls OnModel on every subscriber. REQUIRES: subscriberLock_ held.
    void NotifyLocked(const CountedPtr<IModel>& model);

    IModelEnv_impl_& env_;
    const ModelLoadFn load_;
    platform::ManualResetEvent busy_;
    platform::ManualResetEvent request_;
    std::mutex requestLock_;
    int code_ = kNone;  // guarded by requestLock_
    // RequestModel takes subscriberLock_ before modelLock_; nothing takes them the other way.
    std::mutex subscriberLock_;
    std::map<IModelSubsriber_impl_*, int> subscribers_;  // guarded by subscriberLock_
    mutable std::mutex modelLock_;
    CountedPtr<IModel> model_;  // guarded by modelLock_
};

}  // namespace kestrova
