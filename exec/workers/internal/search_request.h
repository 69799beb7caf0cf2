#pragma once
// One search queued at the search thread on behalf of a client. The client may detach at
// any time; from then on the search stops at its next check and delivers nothing.
// Thread-safe.

#include "exec/exec_control.h"
#include "exec/workers/search_client.h"
#include "model/counted.h"
#include "model/model.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace kestrova {

class SearchRequest : public CounterBase_, public IExecControl {
public:
    // `owner` is the search thread's control and must outlive the request.
    SearchRequest(IExecControl& owner, ISearchClient_impl_* client, CountedPtr<IModel> model,
                  std::u16string_view query, uint32_t options);

    const CountedPtr<IModel>& Model() const { return model_; }
    const std::u16string& Query() const { return query_; }
    uint32_t Options() const { return options_; }

    // True once the client has detached or the owner says stop.
    bool ShouldBreak() override;
    // Passes the progress to the client while it is attached.
    void ReportProgress(const ExecProgress& progress) override;

    // Clears the client if it is `client`; once this returns it receives nothing more.
    void Detach(ISearchClient_impl_* client);
    bool IsClient(ISearchClient_impl_* client) const;
    bool IsDetached() const;
    // Hands the result to the client while it is attached; after a failure the result is null
    // and `failure` says why (OnSearchFailed first), after a cancellation both are empty.
    void Deliver(CountedPtr<ITopicSet> result, const std::string& failure = {});

private:
    IExecControl& owner_;
    mutable std::mutex lock_;
    ISearchClient_impl_* client_;  // guarded by lock_; not owned
    const CountedPtr<IModel> model_;
    const std::u16string query_;
    const uint32_t options_;
};

}  // namespace kestrova
