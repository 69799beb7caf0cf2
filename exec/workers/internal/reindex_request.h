#pragma once
// One index build queued at the search thread. Its listeners are the clients whose searches
// wait for it; they receive its progress. A build is told to stop at its next check when a
// newer one takes its place (HandOver) or when the search thread stops. Thread-safe.

#include "exec/exec_control.h"
#include "exec/workers/search_client.h"
#include "model/counted.h"
#include "model/model.h"
#include "platform/event.h"

#include <mutex>
#include <vector>

namespace kestrova {

class ReindexRequest : public CounterBase_, public IExecControl {
public:
    // `owner` is the search thread's control and must outlive the request.
    ReindexRequest(IExecControl& owner, CountedPtr<IModel> model);

    const CountedPtr<IModel>& Model() const { return model_; }

    // True once the request was handed over or the owner says stop.
    bool ShouldBreak() override;
    // Passes the progress to every listener in the order they were added.
    void ReportProgress(const ExecProgress& progress) override;

    // Adds a listener unless it is one already.
    void AddListener(ISearchClient_impl_* client);
    // Removes a listener; once this returns it receives no further progress from here.
    void RemoveListener(ISearchClient_impl_* client);
    // Moves the listeners to `successor` (without duplicates) and tells this build to stop.
    // Lock order: this request's lock, then the successor's.
    void HandOver(ReindexRequest& successor);
    std::vector<ISearchClient_impl_*> Listeners() const;

private:
    IExecControl& owner_;
    const CountedPtr<IModel> model_;
    mutable std::mutex lock_;
    std::vector<ISearchClient_impl_*> listeners_;  // guarded by lock_; not owned
    platform::ManualResetEvent cancel_;
};

}  // namespace kestrova
