// Model loading: a page folder becomes a model, restored from its cache preserved.bin or built
// from its HTML files (with model.log telling what was wrong with the pages, and the cache
// saved afterwards). Runs on the loader thread of the page folder.
#pragma once

#include "model/counted.h"
#include "model/model.h"

#include <string>

namespace kestrova {

class IExecControl;
class NamedLockSet;

struct LoadResult {
    CountedPtr<IModel> model;  // null when the page folder has no data folder
    bool rebuilt = false;      // built from the pages rather than restored from the cache
};

// Loads the model of `pageFolder` under its load lock set (kLoadLockSet): one mutex while the cache
// is read, all of them while the model is built (the cache is then written again). Without
// `forceRebuild` a usable cache is taken as it is; a cache that another process wrote while
// this one waited for the whole set is taken too, so two processes that load a new folder at
// once build it only once. Throws BreakExec when the control asks to stop (no model, no cache
// saved) and shutdown_exception when the set's stop event ends a wait. Any other failure of
// the cache read or the build is written to model.log ("loading failed: DETAIL") and thrown.
LoadResult LoadModel(const std::u16string& pageFolder, IExecControl& control,
                     NamedLockSet& loadLocks, bool forceRebuild);

// LoadModel that also says why no model came: `error` receives the message.
LoadResult LoadModelReporting(const std::u16string& pageFolder, IExecControl& control,
                              NamedLockSet& loadLocks, bool forceRebuild, std::string& error);

// LoadModel for a program or test that loads a folder on its own, outside any loader thread:
// with a lock set of its own and without cancellation.
LoadResult LoadModelOnce(const std::u16string& pageFolder, bool forceRebuild);

// Builds the lookups that searches of the model make once per model (the pages by path, the
// words of the titles), so that the first search does not pay for them. Does nothing for a
// model that is not built from pages (a null model, a view). Thread-safe.
void PrepareForSearch(IModel* model);

}  // namespace kestrova
