#include "exec/workers/internal/search_request.h"

#include "model/topic.h"

#include <utility>

namespace kestrova {

SearchRequest::SearchRequest(IExecControl& owner, ISearchClient_impl_* client,
                             CountedPtr<IModel> model, std::u16string_view query, uint32_t options)
    : owner_(owner), client_(client), model_(std::move(model)), query_(query), options_(options) {}

bool SearchRequest::ShouldBreak() { return IsDetached() || owner_.ShouldBreak(); }

void SearchRequest::ReportProgress(const ExecProgress& progress) {
    std::lock_guard lock(lock_);
    if (client_) client_->OnSearchProgress(progress);
}

void SearchRequest::Detach(ISearchClient_impl_* client) {
    std::lock_guard lock(lock_);
    if (client_ == client) client_ = nullptr;
}

bool SearchRequest::IsClient(ISearchClient_impl_* client) const {
    std::lock_guard lock(lock_);
    return client_ == client;
}

bool SearchRequest::IsDetached() const {
    std::lock_guard lock(lock_);
    return client_ == nullptr;
}

void SearchRequest::Deliver(CountedPtr<ITopicSet> result, const std::string& failure) {
    std::lock_guard lock(lock_);
    if (!client_) return;
    if (!result && !failure.empty()) client_->OnSearchFailed(failure);
    client_->OnSearchResult(std::move(result));
}

}  // namespace kestrova
