// Incremental construction of a minimal acyclic automaton from strings in ascending byte order,
// and its file encoding.
//
// File layout (integers 32-bit little-endian): the decimal node count and a line feed; one word
// per node (bit 31: final; bits 0-30: index of its first relation); the decimal relation count
// and a line feed; one word per relation (bits 24-31: byte; bits 0-23: target node); the 256
// entries of the word-alphabet table.  Node 0 is the start; nodes are numbered breadth first,
// relations of a node are contiguous and in ascending byte order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova::dictc {

struct Automaton {
    std::vector<uint32_t> nodes;      // file encoding, breadth-first numbering
    std::vector<uint32_t> relations;  // file encoding
    size_t finalCount = 0;
};

class AutomatonBuilder {
public:
    AutomatonBuilder();
    // REQUIRES: s is greater (unsigned byte order) than every string added before; throws
    // otherwise.
    void Add(std::string_view s);
    // Minimises what is left and returns the automaton; the builder is spent afterwards.
    Automaton Finish();

private:
    struct Arc {
        unsigned char label;
        uint32_t target;
    };
    struct Pending {
        std::vector<Arc> arcs;
        bool final = false;
    };

    void Minimize(size_t keep);
    uint32_t Register(const Pending& node);
    bool SameAs(uint32_t id, const Pending& node) const;

    std::vector<Pending> path_;  // path_[0] is the start node
    std::string previous_;
    bool any_ = false;
    // Registered nodes: arcs first_[id] .. first_[id + 1] of pool_.
    std::vector<uint32_t> first_;
    std::vector<uint8_t> final_;
    std::vector<Arc> pool_;
    std::unordered_multimap<uint64_t, uint32_t> register_;
};

// Builds the automaton of the given strings (sorted and made unique here).
Automaton BuildAutomaton(std::vector<std::string> strings);

// Appends the file encoding of the automaton followed by the alphabet table.
void AppendAutomatonFile(const Automaton& automaton, const std::array<int32_t, 256>& alphabet,
                         std::string& out);

}  // namespace kestrova::dictc
