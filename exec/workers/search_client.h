#pragma once
// Receives the progress and the result of the searches (and of the index builds they wait
// for) that a window posted to the search thread. Every operation runs on the search thread,
// under the lock of the request; it must only store what it gets and must not call back into
// the search thread.

#include "exec/exec_control.h"
#include "model/counted.h"

#include <string>

namespace kestrova {

class ITopicSet;

class ISearchClient_impl_ {
public:
    // Progress of the index build the client waits for (stage 3) or of its search (stage 4).
    virtual void OnSearchProgress(const ExecProgress& progress) = 0;
    // The result of the client's search; null when the search failed or was cancelled.
    virtual void OnSearchResult(CountedPtr<ITopicSet> result) = 0;
    // Why the client's search failed, in the form "what failed: detail" with the path where
    // there is one, for example "can't parse query: ..." or "can't open index PATH: ...".
    // Called just before OnSearchResult(null), in the same hold of the request's lock, so a
    // client receives both calls or neither. Not called for a search that ran (whatever it
    // found, even nothing because an index build held the index) nor for a cancelled one
    // (client detached, thread stopping): OnSearchResult(null) alone means cancelled. The
    // default ignores the reason.
    virtual void OnSearchFailed(const std::string& reason) { static_cast<void>(reason); }

protected:
    ~ISearchClient_impl_() = default;
};

}  // namespace kestrova
