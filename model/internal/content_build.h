// Building the table of contents of a model from its pages' chapter, contents and domain
// declarations, and deriving each page's location and domains from it.
#pragma once

#include "model/internal/page_record.h"

#include <cstddef>
#include <span>

namespace kestrova {

class ILog;
class Model_original_impl_;
class TopicRegistry;

// The deepest chapter path kept: deeper paths are cut to this many levels, with a line
// "Chapter path of N levels cut to 255 at PATH" in the log.
inline constexpr size_t kMaxChapterDepth = 255;

// Builds the model's content (creating it): places every page for its default profile and
// for each other profile with chapter steps, pages without chapters by their folder; merges
// chapter nodes; orders siblings by weight, then text. Problems of the page data become lines
// of the log. REQUIRES: the model's domains are built; keywords and context ids registered.
void BuildContent(Model_original_impl_& model, std::span<const PageRecord> pages,
                  TopicRegistry& registry, ILog& log);

// Gives every page the location text and the domains of its first primary-profile content
// node with a non-empty location. REQUIRES: BuildContent has run.
void AssignPageLocations(Model_original_impl_& model);

}  // namespace kestrova
