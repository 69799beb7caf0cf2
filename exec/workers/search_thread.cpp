#include "exec/workers/internal/search_thread.h"

#include "exec/exceptions.h"
#include "exec/worker_failure.h"
#include "model/topic.h"
#include "platform/path.h"

#include <optional>
#include <utility>

namespace kestrova {

SearchThread::SearchThread(IModelEnv_impl_& env) : env_(env) {}

SearchThread::~SearchThread() {
    // Run() belongs to this object: the thread must end before the requests go.
    RequestStop();
    Join();
}

void SearchThread::PostReindex(CountedPtr<IModel> model) {
    EnsureStarted();
    auto request = MakeCounted<ReindexRequest>(*this, std::move(model));
    std::scoped_lock lock(pendingLock_, currentReindexLock_);
    QueueLocked(std::move(request));
}

void SearchThread::PostSearch(ISearchClient_impl_* client, CountedPtr<IModel> model,
                              std::u16string_view query, uint32_t options) {
    EnsureStarted();
    auto search = MakeCounted<SearchRequest>(*this, client, model, query, options);
    {
        std::scoped_lock lock(pendingLock_, currentReindexLock_);
        bool attached = false;
        for (ReindexRequest* build : {currentReindex_.get(), pending_.get()}) {
            if (!build) continue;
            build->AddListener(client);
            attached = true;
        }
        if (!attached && model && !model->IsIndexReady()) {
            auto build = MakeCounted<ReindexRequest>(*this, model);
            build->AddListener(client);
            QueueLocked(std::move(build));
        }
    }
    std::lock_guard lock(queueLock_);
    queue_.push_back(std::move(search));
    searchEvent_.Set();
}

void SearchThread::DetachClient(ISearchClient_impl_* client) {
    std::scoped_lock lock(pendingLock_, currentReindexLock_, queueLock_, currentSearchLock_);
    if (pending_) pending_->RemoveListener(client);
    if (currentReindex_) currentReindex_->RemoveListener(client);
    if (currentSearch_) currentSearch_->Detach(client);
    std::erase_if(queue_,
                  [client](const CountedPtr<SearchRequest>& s) { return s->IsClient(client); });
    if (queue_.empty()) searchEvent_.Reset();
}

CountedPtr<ReindexRequest> SearchThread::PendingReindex() {
    std::lock_guard lock(pendingLock_);
    return pending_;
}

CountedPtr<ReindexRequest> SearchThread::CurrentReindex() {
    std::lock_guard lock(currentReindexLock_);
    return currentReindex_;
}

size_t SearchThread::QueuedSearches() {
    std::lock_guard lock(queueLock_);
    return queue_.size();
}

void SearchThread::QueueLocked(CountedPtr<ReindexRequest> request) {
    if (currentReindex_) currentReindex_->HandOver(*request);
    pending_ = std::move(request);  // a build still pending is dropped with its listeners
    reindexEvent_.Set();
}

int SearchThread::Run() {
    std::optional<NamedLockSet> locks;
    try {
        locks.emplace(kSearchLockSet, env_.GetPageFolder(), kLockSetSize, StopEvent());
    } catch (const shutdown_exception&) {
        return 0;
    }
    for (;;) {
        size_t which = platform::WaitForAny({&StopEvent(), &reindexEvent_, &searchEvent_});
        if (which == 0) break;
        try {
            if (which == 1) {
                if (CountedPtr<ReindexRequest> build = TakePending()) RunReindex(*build, *locks);
            } else if (CountedPtr<SearchRequest> search = TakeSearch()) {
                RunSearch(*search, *locks);
            }
        } catch (const shutdown_exception&) {
            ClearCurrent();
            break;
        }
        ClearCurrent();
    }
    return 0;
}

CountedPtr<ReindexRequest> SearchThread::TakePending() {
    std::scoped_lock lock(pendingLock_, currentReindexLock_);
    currentReindex_ = std::exchange(pending_, nullptr);
    reindexEvent_.Reset();
    return currentReindex_;
}

CountedPtr<SearchRequest> SearchThread::TakeSearch() {
    std::scoped_lock lock(queueLock_, currentSearchLock_);
    if (!queue_.empty()) {
        currentSearch_ = std::move(queue_.front());
        queue_.pop_front();
    }
    if (queue_.empty()) searchEvent_.Reset();
    return currentSearch_;
}

void SearchThread::ClearCurrent() {
    CountedPtr<ReindexRequest> build;
    CountedPtr<SearchRequest> search;
    {
        std::scoped_lock lock(currentReindexLock_, currentSearchLock_);
        build = std::exchange(currentReindex_, nullptr);
        search = std::exchange(currentSearch_, nullptr);
    }
}

void SearchThread::RunReindex(ReindexRequest& request, NamedLockSet& locks) {
    // No search of any process runs while the index is rebuilt.
    try {
        locks.AcquireAll();
    } catch (const LockError& e) {
        // No build without the locks; the searches behind it say why in their turn.
        ReportWorkerFailure("index build of " + platform::NativePath(env_.GetPageFolder()) + ": " +
                            e.what());
        return;
    }
    try {
        request.Model()->BuildIndex(request);
    } catch (const shutdown_exception&) {
        locks.ReleaseAll();
        throw;
    } catch (const BreakExec&) {
        // Handed over to a newer build, or the thread stops.
    } catch (...) {
        // A failed build delivers nothing (the next IsIndexReady tells); the index builder
        // logs its own failures, so what comes here failed around it.
        ReportWorkerFailure("index build of " + platform::NativePath(env_.GetPageFolder()) + ": " +
                            CurrentFailure());
    }
    locks.ReleaseAll();
}

void SearchThread::RunSearch(SearchRequest& request, NamedLockSet& locks) {
    if (request.IsDetached()) return;
    platform::NamedMutex* mutex = nullptr;
    try {
        mutex = &locks.AcquireAny();
    } catch (const LockError& e) {
        request.Deliver(nullptr, e.what());
        return;
    }
    CountedPtr<ITopicSet> result;
    std::string failure;  // empty for a search that ran or was cancelled
    const bool wasReady = request.Model() && request.Model()->IsIndexReady();
    try {
        if (request.Model()) {
            result =
                request.Model()->FindTopics(request.Query().c_str(), request.Options(), request);
        } else {
            failure = "search: no model to search";
        }
    } catch (const shutdown_exception&) {
        NamedLockSet::Release(*mutex);
        throw;
    } catch (const BreakExec&) {
        result = nullptr;  // cancelled: null without a reason
    } catch (...) {
        result = nullptr;  // failed: null with the reason
        failure = CurrentFailure();
    }
    NamedLockSet::Release(*mutex);
    // A search that found its index unreadable has taken away the index's claim to be current:
    // build it again at once, so that the next search finds it whole.
    if (!failure.empty() && wasReady && !request.Model()->IsIndexReady())
        PostReindex(request.Model());
    request.Deliver(std::move(result), failure);
}

}  // namespace kestrova
