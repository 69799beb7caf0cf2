// Building the keyword index of a model from its pages' keyword declarations.
#pragma once

#include "model/internal/page_record.h"

#include <span>

namespace kestrova {

class ILog;
class Model_original_impl_;
class TopicRegistry;

// Fills the model's keyword list (creating it) in keyword order: one keyword per distinct
// text, its topics in the order of the declarations, domains left empty. An empty keyword
// writes "Empty keyword at %S" with the page's path and is dropped.
void RegisterKeywords(Model_original_impl_& model, std::span<const PageRecord> pages,
                      TopicRegistry& registry, ILog& log);

// Gives every keyword the domains of the pages of its topics, in order of first appearance.
// REQUIRES: the pages' domains are set (AssignPageLocations has run).
void ComputeKeywordDomains(Model_original_impl_& model);

// Puts the keyword list in keyword order (case-insensitive, ties broken case-sensitively);
// the order RegisterKeywords leaves is kept as it is.
void SortKeywords(Model_original_impl_& model);

// Keyword order of two texts: negative, 0 or positive.
int CompareKeywords(std::u16string_view a, std::u16string_view b);

// A byte string whose plain order is keyword order (equal exactly when the texts are one
// keyword).
std::string KeywordSortKey(std::u16string_view text);

}  // namespace kestrova
