#include "search/morphology/automaton.h"

#include "search/morphology/cexpc.h"
#include "search/morphology/vector_reader.h"

#include <cstdlib>
#include <cstring>

namespace kestrova {
namespace {

// Reads a line holding one decimal count.
std::size_t ReadCountLine(MemFile& file, const std::string& name, const char* what) {
    char line[256];
    if (!file.ReadLine(line, sizeof line)) throw CExpc(name + ": missing " + what + " count");
    char* end = nullptr;
    unsigned long long value = std::strtoull(line, &end, 10);
    if (end == line || (*end != '\n' && *end != '\r' && *end != '\0') || value > 0x7FFFFFFFull) {
        throw CExpc(name + ": bad " + what + " count");
    }
    return static_cast<std::size_t>(value);
}

}  // namespace

void Automaton::Load(MemFile& file, const std::string& name, const Alphabet& alphabet) {
    alphabet_ = &alphabet;
    std::size_t nodeCount = ReadCountLine(file, name, "node");
    ReadVectorInner(file, nodes_, nodeCount);
    std::size_t relationCount = ReadCountLine(file, name, "relation");
    ReadVectorInner(file, relations_, relationCount);
    std::vector<std::int32_t> table;
    ReadVectorInner(file, table, 256);
    if (std::memcmp(table.data(), alphabet.Table().data(), 256 * sizeof(std::int32_t)) != 0) {
        throw CExpc(name + ": the alphabet of the automaton differs from the language alphabet");
    }
    // Every node's relations must lie inside the relation list and point at real nodes,
    // so that no damaged file can send a walk out of bounds.
    std::uint32_t previous = 0;
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
        std::uint32_t first = nodes_[n] & 0x7FFFFFFFu;
        if (first < previous || first > relations_.size())
            throw CExpc(name + ": damaged node " + std::to_string(n));
        previous = first;
    }
    for (std::uint32_t r : relations_) {
        if ((r & 0xFFFFFF) >= nodes_.size()) throw CExpc(name + ": damaged relation target");
    }
    if (nodes_.empty()) throw CExpc(name + ": the automaton has no nodes");
    direct_.assign(static_cast<std::size_t>(kDirectNodes) * kMaxAlphabetSize, -1);
    for (int n = 0; n < kDirectNodes && static_cast<std::size_t>(n) < nodes_.size(); ++n) {
        for (std::uint32_t r = FirstRelation(n), end = EndRelation(n); r < end; ++r) {
            int index = alphabet.Index(static_cast<unsigned char>(relations_[r] >> 24));
            if (index >= 0)
                direct_[static_cast<std::size_t>(n) * kMaxAlphabetSize + index] =
                    relations_[r] & 0xFFFFFF;
        }
    }
}

int Automaton::Scan(int node, unsigned char c) const {
    for (std::uint32_t r = FirstRelation(node), end = EndRelation(node); r < end; ++r) {
        unsigned char b = static_cast<unsigned char>(relations_[r] >> 24);
        if (b == c) return static_cast<int>(relations_[r] & 0xFFFFFF);
        if (b > c) break;
    }
    return -1;
}

}  // namespace kestrova
