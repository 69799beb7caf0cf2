// Small dictionaries written byte by byte in the lemmatizer's formats, for the tests.
#pragma once

#include "search/morphology/mem_file_registry.h"
#include "search/morphology/module_resources.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::testing {

// Compresses to the LZMA "alone" format (lc=3, lp=0, pb=2, 8 MiB dictionary) with the plain
// size in the header and no end marker.
std::string CompressAlone(std::string_view plain);
// The same with an unknown size in the header and an end marker, as liblzma's own encoder.
std::string CompressAloneWithEndMarker(std::string_view plain);

// Writes a (trie-shaped) automaton file over the strings; relations in ascending byte order.
std::string WriteAutomaton(const std::set<std::string>& strings);

// Converts UTF-8 text to code page 1251 bytes.
std::string Cp1251(std::string_view utf8);

struct FixtureItem {
    std::string ending;  // code page 1251 (all fields)
    std::string codes;
    std::string prefix;
};

struct FixtureLexeme {
    std::uint32_t model;
    std::string base;
    std::uint32_t prefixSet = 0;
};

// A dictionary: flexia models, prefix sets, lexemes; its files are made from them.
struct DictFixture {
    std::vector<std::vector<FixtureItem>> models;
    std::vector<std::uint8_t> flags;      // per model; 0 when missing
    std::vector<std::string> prefixSets;  // stored sets 1..n
    std::vector<FixtureLexeme> lexemes;
    std::set<std::string> predictStrings;  // raw strings of the prediction automaton
    std::string options;
    std::string gramtab;
    // Statistics records: (lemma record, item, weight) and (lemma record, weight); lemma
    // record i is lexeme i.
    std::vector<std::array<std::int32_t, 3>> analysisWeights = {{0, 0, 7}};
    std::vector<std::array<std::int32_t, 2>> lemmaWeights = {{0, 3}};

    // The plain files by registered name ("rus/morph.annot", ..., "rgramtab.tab").
    std::map<std::string, std::string> PlainFiles() const;
    std::string Annot() const;
    std::string Bases() const;
    std::string Forms() const;
};

// Compressed files kept alive for a registry or a resource finder.
class FixtureResources {
public:
    explicit FixtureResources(const std::map<std::string, std::string>& plainByName);
    // Registers every file into the registry.
    void RegisterAll(MemFileRegistry& registry) const;
    // Finds a resource by the ids of the dictionary table; ids can be removed or emptied.
    std::optional<ModuleResource> Find(int id, std::string_view type) const;
    void Remove(int id) { byId_.erase(id); }
    void Replace(const std::string& name, std::string compressed);

private:
    std::map<std::string, std::string> compressed_;
    std::map<int, std::string> byId_;
};

}  // namespace kestrova::testing
