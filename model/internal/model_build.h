// The steps of a build from the pages, for the loader and its tests.
#pragma once

#include "model/internal/page_record.h"

#include <span>
#include <vector>

namespace kestrova {

class ILog;
class IExecControl;
class Model_original_impl_;

// Fills the empty model from its page folder, writing a new model.log, then saves the cache.
void BuildFromPages(Model_original_impl_& model, IExecControl& control);

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
