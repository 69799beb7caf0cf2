// Generated knowledge bases for the benchmarks: N pages carrying the whole navigation vocabulary
// (domains with display names, orders and domain chapters; chapters three to five levels deep
// with orders, hidden steps and a second profile; contents entries with _Index and _Default;
// keywords in both forms; help ids with anchors), pages in windows-1251 and in UTF-8 (declared,
// or by byte order mark only), and a body of Russian text made of inflected forms of a built-in
// word list, so that the lemmatizer and related-words search have real work. The same options
// and seed always give the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrova::bench {

struct KbOptions {
    int32_t pages = 1000;  // number of pages written
    int32_t pageKb =
        20;             // size of each page file in KB (1024 bytes), reached to within a paragraph
    uint64_t seed = 1;  // everything random (text, chapter depths, keywords) follows from it
};

struct KbSummary {
    int32_t pages = 0;
    int64_t bytes = 0;  // total size of the page files
};

// Writes the knowledge base into `dir`, which must be missing, empty, or a folder written by an
// earlier generation (its marker file ".kestrova-genkb" is there; it is then cleared first).
// Throws std::runtime_error naming the folder when it holds anything else or cannot be written.
KbSummary GenerateKnowledgeBase(const std::filesystem::path& dir, const KbOptions& options);

// Two-word phrases (an adjective agreeing with a noun, in some case) as the texts use them.
std::vector<std::u16string> GeneratedPhrases(uint64_t seed, size_t count);

// A small deterministic random source (SplitMix64): the standard distributions are not the same
// on every library, so the generator draws its numbers from this.
class KbRandom {
public:
    explicit KbRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // A number in [0, bound); bound > 0.
    uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(Next() % bound); }

private:
    uint64_t state_;
};

}  // namespace kestrova::bench
