#include "model/index_build.h"

#include "exec/named_lock_set.h"
#include "model/internal/model_pool.h"
#include "model/model.h"
#include "platform/event.h"

namespace kestrova {

void BuildIndexesAndWait(IModel& model, IExecControl& control) {
    ModelInfo info;
    model.GetModelInfo(info);
    // Nothing stops the wait for the searches of other processes: they end by themselves.
    const platform::ManualResetEvent neverStops;
    NamedLockSet locks(kSearchLockSet, StringView(info.htmlFolder), kLockSetSize, neverStops);
    const AllLocksHeld held(locks);
    model.BuildIndex(control);
}

}  // namespace kestrova
