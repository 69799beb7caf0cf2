// A knowledge base of very long lists, for the viewer's list benchmarks: 10,000 small pages
// that all sit in the one chapter "Большой раздел" and carry 30 keywords each, 300,000
// keywords in all.
#pragma once

#include <filesystem>
#include <string>

namespace kestrova::bench {

inline constexpr int kLargeListPages = 10000;
inline constexpr int kKeywordsPerPage = 30;

// Writes the pages into `dir` (made when missing; earlier pages are overwritten).
void WriteLargeListsKb(const std::filesystem::path& dir);

// The path of some HTML page under `dir` (the first one in name order).
std::string AnyPage(const std::filesystem::path& dir);

}  // namespace kestrova::bench
