#pragma once
// The search thread of one page folder: runs index builds (ReindexRequest) and searches
// (SearchRequest) one at a time, a build before a search, reporting to the clients that
// asked. It starts on its first request.
//
// PostReindex is called by the loader thread, PostSearch and DetachClient by the
// user-interface thread; the callbacks run on this thread. Its four locks are always taken in
// this order: pending reindex, current reindex, queue, current search; a request's own lock
// is taken inside them.

#include "exec/exec_control.h"
#include "exec/named_lock_set.h"
#include "exec/thread.h"
#include "exec/workers/internal/model_env.h"
#include "exec/workers/internal/reindex_request.h"
#include "exec/workers/internal/search_request.h"
#include "exec/workers/search_client.h"
#include "model/model.h"
#include "platform/event.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <string_view>

namespace kestrova {

class SearchThread : public Thread, public IExecControl {
public:
    // The environment must outlive the thread.
    explicit SearchThread(IModelEnv_impl_& env);
    ~SearchThread() override;

    // Queues an index build of `model`; a build that runs is handed over to it and stops.
    void PostReindex(CountedPtr<IModel> model);
    // Queues a search of `query` with the option bits of FindTopics. The client listens to the
    // builds pending or running; when there is none and the model's index is not ready, a build
    // is queued first with the client as its listener. The client is not owned.
    void PostSearch(ISearchClient_impl_* client, CountedPtr<IModel> model,
                    std::u16string_view query, uint32_t options);
    // After this returns the client receives no further callback from this thread: it leaves
    // the builds, its running search stops at its next check, its queued searches are dropped.
    void DetachClient(ISearchClient_impl_* client);

    // True once the stop event is signalled; progress is ignored.
    bool ShouldBreak() override { return StopEvent().IsSet(); }
    void ReportProgress(const ExecProgress&) override {}

    // Snapshots for tests and diagnostics.
    CountedPtr<ReindexRequest> PendingReindex();
    CountedPtr<ReindexRequest> CurrentReindex();
    size_t QueuedSearches();

protected:
    int Run() override;

private:
    // REQUIRES: pendingLock_ and currentReindexLock_ held.
    void QueueLocked(CountedPtr<ReindexRequest> request);
    void RunReindex(ReindexRequest& request, NamedLockSet& locks);
    void RunSearch(SearchRequest& request, NamedLockSet& locks);
    CountedPtr<ReindexRequest> TakePending();
    CountedPtr<SearchRequest> TakeSearch();
    void ClearCurrent();

    IModelEnv_impl_& env_;
    platform::ManualResetEvent reindexEvent_;
    platform::ManualResetEvent searchEvent_;
    std::mutex pendingLock_;
    CountedPtr<ReindexRequest> pending_;  // guarded by pendingLock_
    std::mutex currentReindexLock_;
    CountedPtr<ReindexRequest> currentReindex_;  // guarded by currentReindexLock_
    std::mutex queueLock_;
    std::deque<CountedPtr<SearchRequest>> queue_;  // guarded by queueLock_
    std::mutex currentSearchLock_;
    CountedPtr<SearchRequest> currentSearch_;  // guarded by currentSearchLock_
};

}  // namespace kestrova
