#pragma once
// Receives the progress and the result of the searches (and of the index builds they wait
// for) that a window posted to the search thread. Both operations run on the search thread,
// under the lock of the request; they must only store what they get and must not call back
// into the search thread.

#include "exec/exec_control.h"
#include "model/counted.h"

namespace kestrova {

class ITopicSet;

class ISearchClient_impl_ {
public:
    // Progress of the index build the client waits for (stage 3) or of its search (stage 4).
    virtual void OnSearchProgress(const ExecProgress& progress) = 0;
    // The result of the client's search; null when the search failed or was cancelled.
    virtual void OnSearchResult(CountedPtr<ITopicSet> result) = 0;

protected:
    ~ISearchClient_impl_() = default;
};

}  // namespace kestrova
