// One HTML file while a model is built from the pages: the file and what its head declares.
// A page's index is the position of its record in the list handed to the builders.
//
// The build of a model from its page records, in this order (each step reads what the
// earlier ones left in the model):
//   1. the domains (model.domains) and the pages (model.pages: file and title, one per
//      record, same order);
//   2. TopicRegistry registry(model);
//      RegisterKeywords(model, records, registry, log);   keyword_build.h
//      RegisterContextIds(model, records, registry, log); context_id_build.h
//   3. BuildContent(model, records, registry, log);        content_build.h
//      AssignPageLocations(model);
//   4. ComputeKeywordDomains(model); SortKeywords(model);  keyword_build.h
// Topic indices follow that order: keyword declarations, then context ids, then contents.
#pragma once

#include "model/internal/records.h"
#include "model/page/page_meta.h"

namespace kestrova {

struct PageRecord {
    FileInfo file;  // path in the model's pool
    PageMeta meta;
};

}  // namespace kestrova
