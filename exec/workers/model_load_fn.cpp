#include "exec/workers/model_load_fn.h"

#include "exec/exceptions.h"
#include "exec/worker_failure.h"
#include "model/model_loader.h"
#include "platform/path.h"

namespace kestrova {

ModelLoadOutcome LoadModelFromDisk(const std::u16string& pageFolder, IExecControl& control,
                                   NamedLockSet& locks, bool forceRebuild) {
    std::string failure;
    LoadResult result;
    try {
        result = LoadModelReporting(pageFolder, control, locks, forceRebuild, failure);
    } catch (const LockError& e) {
        // The loader drops what it is thrown; a lock that cannot be had is told, as no model.
        failure = e.what();
    }
    // Without a data folder there is no model.log to tell why.
    if (!result.model) {
        ReportWorkerFailure(platform::NativePath(pageFolder) + ": no model (" + failure + ")");
    }
    return ModelLoadOutcome{result.model, result.rebuilt};
}

}  // namespace kestrova
