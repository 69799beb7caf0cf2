// Building the context-help id table of a model from its pages' help-id declarations.
#pragma once

#include "model/internal/page_record.h"

#include <span>

namespace kestrova {

class ILog;
class Model_original_impl_;
class TopicRegistry;

// Fills the model's context ids, sorted by id ignoring case, one entry per id. The first
// declaration of an id (in any letter case) wins; a later one writes
// "Duplicate context id \"%S\" at %S" and gets no topic. An empty id writes
// "Empty context id at %S".
void RegisterContextIds(Model_original_impl_& model, std::span<const PageRecord> pages,
                        TopicRegistry& registry, ILog& log);

}  // namespace kestrova
