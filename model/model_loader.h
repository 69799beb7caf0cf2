// Model loading: a page folder becomes a model, restored from its cache preserved.bin or built
// from its HTML files (with model.log telling what was wrong with the pages, and the cache
// saved afterwards). Runs on the loader thread of the page folder.
#pragma once

#include "model/counted.h"
#include "model/model.h"
#include "model/page_record.h"

#include <span>
#include <string>
#include <vector>

namespace kestrova {

class ILog;
class IExecControl;
class Model_original_impl_;
class NamedLockSet;

struct LoadResult {
    CountedPtr<IModel> model;  // null when the page folder has no data folder
    bool rebuilt = false;      // built from the pages rather than restored from the cache
};

// Loads the model of `pageFolder` under its "ksv:load" lock set: one mutex while the cache is
// read, all of them while the model is built (the cache is then written again). Without
// `forceRebuild` a usable cache is taken as it is; a cache that another process wrote while
// this one waited for the whole set is taken too, so two processes that load a new folder at
// once build it only once. Throws BreakExec when the control asks to stop (no model, no cache
// saved) and shutdown_exception when the set's stop event ends a wait.
LoadResult LoadModel(const std::u16string& pageFolder, IExecControl& control,
                     NamedLockSet& loadLocks, bool forceRebuild);

// LoadModel that also says why no model came: `error` receives the message.
LoadResult LoadModelReporting(const std::u16string& pageFolder, IExecControl& control,
                              NamedLockSet& loadLocks, bool forceRebuild, std::string& error);

// LoadModel for a program or test that loads a folder on its own, outside any loader thread:
// with a lock set of its own and without cancellation.
LoadResult LoadModelOnce(const std::u16string& pageFolder, bool forceRebuild);

// Fills the empty model from its page folder, writing a new model.log, then saves the cache.
void BuildFromPages(Model_original_impl_& model, IExecControl& control);

// Builds the lookups that searches of the model make once per model (the pages by path, the
// words of the titles), so that the first search does not pay for them. Does nothing for a
// model that is not built from pages (a null model, a view). Thread-safe.
void PrepareForSearch(IModel* model);

// Reads the navigation record of every file in `files` (paths relative to the model's page
// folder): pages that can be read and are not ignored become records, the others go to the
// model's skipped files; ends with "%d pages skipped" when any were. Reports progress per
// file (stage 2). Pages are read on several threads when the folder is large; records, skipped
// files and log lines come out in the order of `files` all the same.
std::vector<PageRecord> ReadPages(Model_original_impl_& model, const std::vector<FileInfo>& files,
                                  ILog& log, IExecControl& control);

// Fills the model's domain list from the pages' domain declarations, merging them by tag and
// putting them in weight order, then display-name order.
void BuildDomains(Model_original_impl_& model, std::span<const PageRecord> pages, ILog& log);

}  // namespace kestrova
