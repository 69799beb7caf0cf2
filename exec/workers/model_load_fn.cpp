#include "exec/workers/model_load_fn.h"

#include "model/model_loader.h"

namespace kestrova {

ModelLoadOutcome LoadModelFromDisk(const std::u16string& pageFolder, IExecControl& control,
                                   NamedLockSet& locks, bool forceRebuild) {
    LoadResult result = LoadModel(pageFolder, control, locks, forceRebuild);
    return ModelLoadOutcome{result.model, result.rebuilt};
}

}  // namespace kestrova
