#include "exec/workers/internal/reindex_request.h"

#include <algorithm>
#include <utility>

namespace kestrova {
namespace {

void AddOnce(std::vector<ISearchClient_impl_*>& list, ISearchClient_impl_* client) {
    if (std::find(list.begin(), list.end(), client) == list.end()) list.push_back(client);
}

}  // namespace

ReindexRequest::ReindexRequest(IExecControl& owner, CountedPtr<IModel> model)
    : owner_(owner), model_(std::move(model)) {}

bool ReindexRequest::ShouldBreak() { return cancel_.IsSet() || owner_.ShouldBreak(); }

void ReindexRequest::ReportProgress(const ExecProgress& progress) {
    std::lock_guard lock(lock_);
    for (ISearchClient_impl_* client : listeners_) client->OnSearchProgress(progress);
}

void ReindexRequest::AddListener(ISearchClient_impl_* client) {
    std::lock_guard lock(lock_);
    AddOnce(listeners_, client);
}

void ReindexRequest::RemoveListener(ISearchClient_impl_* client) {
    std::lock_guard lock(lock_);
    std::erase(listeners_, client);
}

void ReindexRequest::HandOver(ReindexRequest& successor) {
    std::lock_guard lock(lock_);
    {
        std::lock_guard successorLock(successor.lock_);
        for (ISearchClient_impl_* client : listeners_) AddOnce(successor.listeners_, client);
    }
    cancel_.Set();
}

std::vector<ISearchClient_impl_*> ReindexRequest::Listeners() const {
    std::lock_guard lock(lock_);
    return listeners_;
}

}  // namespace kestrova
