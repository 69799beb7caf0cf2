#include "exec/workers/internal/loader_thread.h"

#include "exec/exceptions.h"
#include "model/model_loader.h"

#include <optional>
#include <utility>

namespace kestrova {

LoaderThread::LoaderThread(IModelEnv_impl_& env, ModelLoadFn load)
    : env_(env), load_(std::move(load)) {}

LoaderThread::~LoaderThread() {
    // Run() belongs to this object: the thread must end before the members go.
    RequestStop();
    Join();
}

void LoaderThread::Subscribe(IModelSubsriber_impl_* subscriber) {
    std::lock_guard lock(subscriberLock_);
    ++subscribers_[subscriber];
}

void LoaderThread::Unsubscribe(IModelSubsriber_impl_* subscriber) {
    std::lock_guard lock(subscriberLock_);
    auto it = subscribers_.find(subscriber);
    if (it != subscribers_.end() && --it->second <= 0) subscribers_.erase(it);
}

void LoaderThread::RequestModel() {
    // The current model is read under the subscriber lock, so a model that the loader
    // publishes meanwhile reaches the subscribers after this one, never before it: the
    // subscribers end with the newest model.
    std::lock_guard lock(subscriberLock_);
    CountedPtr<IModel> model = CurrentModel();
    if (model) {
        NotifyLocked(model);
    } else {
        Post(kLoad);
    }
}

void LoaderThread::RequestReload() { Post(kReload); }

bool LoaderThread::IsLoading() const { return busy_.IsSet() || request_.IsSet(); }

CountedPtr<IModel> LoaderThread::CurrentModel() const {
    std::lock_guard lock(modelLock_);
    return model_;
}

void LoaderThread::Post(int code) {
    std::lock_guard lock(requestLock_);
    code_ = code;
    request_.Set();
}

int LoaderThread::Run() {
    std::optional<NamedLockSet> locks;
    try {
        locks.emplace(kLoadLockSet, env_.GetPageFolder(), kLockSetSize, StopEvent());
    } catch (const shutdown_exception&) {
        return 0;
    }
    for (;;) {
        busy_.Reset();
        if (platform::WaitForAny({&StopEvent(), &request_}) == 0) break;
        busy_.Set();
        int code;
        {
            std::lock_guard lock(requestLock_);
            code = std::exchange(code_, kNone);
            request_.Reset();
        }
        if (!Process(code, *locks)) break;
        // Once the loader no longer counts as loading, so that nobody waits for it: the first
        // search of the model then finds its lookups ready (a search that comes sooner builds
        // them itself, once).
        busy_.Reset();
        PrepareForSearch(CurrentModel().get());
    }
    busy_.Reset();
    return 0;
}

bool LoaderThread::Process(int code, NamedLockSet& locks) {
    try {
        if (code == kLoad) Load(locks);
        if (code == kReload) Reload(locks);
    } catch (const shutdown_exception&) {
        return false;
    } catch (...) {
        // A failed or cancelled request is dropped; the thread waits for the next one.
    }
    return true;
}

void LoaderThread::Load(NamedLockSet& locks) {
    ModelLoadOutcome outcome = load_(env_.GetPageFolder(), *this, locks, false);
    CountedPtr<IModel> model = outcome.model;
    Publish(model);
    if (!model) return;
    if (outcome.rebuilt) {
        env_.RequestReindex(model);
    } else if (model->IsOutdated(*this)) {
        Reload(locks);
    }
}

void LoaderThread::Reload(NamedLockSet& locks) {
    CountedPtr<IModel> model = load_(env_.GetPageFolder(), *this, locks, true).model;
    Publish(model);
    if (model) env_.RequestReindex(model);
}

void LoaderThread::Publish(CountedPtr<IModel> model) {
    CountedPtr<IModel> old;
    {
        std::lock_guard lock(modelLock_);
        old = std::exchange(model_, model);
    }
    old.Reset();  // the old model goes outside the lock
    std::lock_guard lock(subscriberLock_);
    NotifyLocked(model);
}

void LoaderThread::NotifyLocked(const CountedPtr<IModel>& model) {
    for (const auto& [subscriber, count] : subscribers_) subscriber->OnModel(model);
}

}  // namespace kestrova
