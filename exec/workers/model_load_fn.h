#pragma once
// How an environment's loader thread loads a model: the real loader reads the cache or
// builds the model from the pages; tests hand in their own.

#include "exec/exec_control.h"
#include "exec/named_lock_set.h"
#include "model/counted.h"
#include "model/model.h"

#include <functional>
#include <string>

namespace kestrova {

struct ModelLoadOutcome {
    CountedPtr<IModel> model;  // null when the folder holds no knowledge base
    bool rebuilt = false;      // built from the pages rather than taken from the cache
};

// Loads the model of `pageFolder` under the load lock set `locks` (kLoadLockSet), rebuilding it
// from the pages when `forceRebuild` is set. Throws BreakExec or shutdown_exception when stopped.
using ModelLoadFn =
    std::function<ModelLoadOutcome(const std::u16string& pageFolder, IExecControl& control,
                                   NamedLockSet& locks, bool forceRebuild)>;

// The real loader: the model of the folder from its cache, or built from its pages (LoadModel).
// A failure of the load is written to the folder's model.log, and rethrown; a folder without
// a data folder gives no model and the line "kestrova: FOLDER: no model (REASON)" on standard
// error.
ModelLoadOutcome LoadModelFromDisk(const std::u16string& pageFolder, IExecControl& control,
                                   NamedLockSet& locks, bool forceRebuild);

}  // namespace kestrova
