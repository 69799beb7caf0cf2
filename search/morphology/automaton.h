// A minimal acyclic automaton in the automaton file format: the word-form automaton
// ("morph.forms_autom") and the prediction automaton ("npredict.bin"). Immutable once loaded;
// safe to read from several threads.
//
// File layout (integers 32-bit little-endian): a line with the node count N; N node words
// (bit 31 final, bits 0-30 first outgoing relation); a line with the relation count M; M
// relation words (bits 24-31 the byte, bits 0-23 the target node), grouped by source node in
// ascending byte order; the 256-entry word-alphabet table (-1 for bytes outside it).
#pragma once

#include "search/morphology/alphabet.h"
#include "search/morphology/annotation.h"
#include "search/morphology/mem_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class Automaton {
public:
    // Nodes served by the direct transition table.
    static constexpr int kDirectNodes = 1000;

    // Reads the automaton; throws CExpc naming `name` for a short, damaged file or a stored
    // alphabet table that differs from `alphabet`.
    void Load(MemFile& file, const std::string& name, const Alphabet& alphabet);

    // The target of node's transition on byte c, or -1.
    int Next(int node, unsigned char c) const {
        if (node < kDirectNodes) {
            int index = alphabet_->Index(c);
            return index < 0 ? -1
                             : direct_[static_cast<std::size_t>(node) * kMaxAlphabetSize + index];
        }
        return Scan(node, c);
    }
    // The node reached from `node` over the bytes of s, or -1.
    int Walk(std::string_view s, int node = 0) const {
        for (char c : s) {
            if (node < 0) return -1;
            node = Next(node, static_cast<unsigned char>(c));
        }
        return node;
    }
    bool IsFinal(int node) const { return (nodes_[node] & 0x80000000u) != 0; }

    // Calls visit(value) for every number spelled in annotation digits (least significant
    // first) on a path from `node` to a final node, depth first in stored relation order (a
    // final node with relations yields and goes on). Bytes that are not digits end a path;
    // paths longer than kMaxPathDigits are not followed, so damaged data cannot loop.
    static constexpr int kMaxPathDigits = kMaxAnnotationDigits + 1;
    // Relations followed at most in one enumeration: far more than any word form has
    // analyses, few enough that a damaged automaton with shared branches ends quickly.
    static constexpr int kMaxPathSteps = 1 << 16;
    template <class Visit>
    void ForEachAnnotation(int node, Visit&& visit) const;

    std::size_t NodeCount() const { return nodes_.size(); }
    std::size_t RelationCount() const { return relations_.size(); }
    bool Empty() const { return nodes_.empty(); }

private:
    int Scan(int node, unsigned char c) const;
    std::uint32_t FirstRelation(int node) const { return nodes_[node] & 0x7FFFFFFFu; }
    std::uint32_t EndRelation(int node) const {
        return static_cast<std::size_t>(node) + 1 < nodes_.size()
                   ? FirstRelation(node + 1)
                   : static_cast<std::uint32_t>(relations_.size());
    }
    template <class Visit>
    void Descend(int node, int depth, std::uint64_t value, std::uint64_t power, int& budget,
                 Visit& visit) const;

    const Alphabet* alphabet_ = nullptr;
    std::vector<std::uint32_t> nodes_;
    std::vector<std::uint32_t> relations_;
    std::vector<std::int32_t> direct_;  // kDirectNodes x kMaxAlphabetSize targets
};

template <class Visit>
void Automaton::ForEachAnnotation(int node, Visit&& visit) const {
    if (node < 0) return;
    int budget = kMaxPathSteps;
    Descend(node, 0, 0, 1, budget, visit);
}

template <class Visit>
void Automaton::Descend(int node, int depth, std::uint64_t value, std::uint64_t power, int& budget,
                        Visit& visit) const {
    if (depth > 0 && IsFinal(node)) visit(value);
    if (depth == kMaxPathDigits) return;
    const Alphabet& digits = Alphabet::Annotation();
    for (std::uint32_t r = FirstRelation(node), end = EndRelation(node); r < end; ++r) {
        if (--budget < 0) return;
        int index = digits.Index(static_cast<unsigned char>(relations_[r] >> 24));
        if (index < 0) continue;
        Descend(static_cast<int>(relations_[r] & 0xFFFFFF), depth + 1,
                value + static_cast<std::uint64_t>(index) * power, power * 35, budget, visit);
    }
}

}  // namespace kestrova
