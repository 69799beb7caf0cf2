#include "tools/dictc/automaton_builder.h"

#include <algorithm>
#include <stdexcept>

namespace kestrova::dictc {
namespace {

constexpr uint32_t kMaxTarget = (1u << 24) - 1;

void AppendWord(std::string& out, uint32_t word) {
    for (int i = 0; i < 4; ++i) out.push_back(char((word >> (8 * i)) & 0xFF));
}

}  // namespace

AutomatonBuilder::AutomatonBuilder() : path_(1), first_{0} {}

void AutomatonBuilder::Add(std::string_view s) {
    auto less = [](unsigned char a, unsigned char b) { return a < b; };
    if (any_ && !std::lexicographical_compare(previous_.begin(), previous_.end(), s.begin(),
                                              s.end(), less)) {
        throw std::runtime_error("automaton strings are not in ascending order at '" +
                                 std::string(s) + "'");
    }
    size_t common = 0;
    while (common < previous_.size() && common < s.size() && previous_[common] == s[common])
        ++common;
    Minimize(common);
    for (size_t i = common; i < s.size(); ++i) {
        path_.back().arcs.push_back(Arc{static_cast<unsigned char>(s[i]), 0});
        path_.emplace_back();
    }
    path_.back().final = true;
    previous_.assign(s);
    any_ = true;
}

// Registers every pending node deeper than `keep` and links it into its parent.
void AutomatonBuilder::Minimize(size_t keep) {
    while (path_.size() > keep + 1) {
        uint32_t id = Register(path_.back());
        path_.pop_back();
        path_.back().arcs.back().target = id;
    }
}

static uint64_t HashNode(bool final, const auto& arcs) {
    uint64_t h = final ? 0x9E3779B97F4A7C15ull : 0x12345678ull;
    for (const auto& arc : arcs) {
        h ^= (uint64_t(arc.label) << 32 | arc.target) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    }
    return h;
}

bool AutomatonBuilder::SameAs(uint32_t id, const Pending& node) const {
    if (bool(final_[id]) != node.final || first_[id + 1] - first_[id] != node.arcs.size())
        return false;
    for (size_t i = 0; i < node.arcs.size(); ++i) {
        const Arc& arc = pool_[first_[id] + i];
        if (arc.label != node.arcs[i].label || arc.target != node.arcs[i].target) return false;
    }
    return true;
}

uint32_t AutomatonBuilder::Register(const Pending& node) {
    uint64_t hash = HashNode(node.final, node.arcs);
    auto [begin, end] = register_.equal_range(hash);
    for (auto it = begin; it != end; ++it) {
        if (SameAs(it->second, node)) return it->second;
    }
    uint32_t id = uint32_t(final_.size());
    pool_.insert(pool_.end(), node.arcs.begin(), node.arcs.end());
    first_.push_back(uint32_t(pool_.size()));
    final_.push_back(node.final);
    register_.emplace(hash, id);
    return id;
}

Automaton AutomatonBuilder::Finish() {
    Minimize(0);
    uint32_t root = Register(path_[0]);
    register_.clear();
    std::vector<uint32_t> number(final_.size(), UINT32_MAX);
    std::vector<uint32_t> order{root};
    number[root] = 0;
    Automaton result;
    for (size_t k = 0; k < order.size(); ++k) {
        uint32_t id = order[k];
        result.nodes.push_back(uint32_t(result.relations.size()) | (final_[id] ? 0x80000000u : 0));
        result.finalCount += final_[id];
        for (uint32_t a = first_[id]; a < first_[id + 1]; ++a) {
            const Arc& arc = pool_[a];
            if (number[arc.target] == UINT32_MAX) {
                number[arc.target] = uint32_t(order.size());
                order.push_back(arc.target);
            }
            if (number[arc.target] > kMaxTarget)
                throw std::runtime_error("automaton has too many nodes");
            result.relations.push_back(uint32_t(arc.label) << 24 | number[arc.target]);
        }
    }
    if (result.relations.size() >= 0x80000000u)
        throw std::runtime_error("automaton has too many relations");
    return result;
}

Automaton BuildAutomaton(std::vector<std::string> strings) {
    auto less = [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](unsigned char x, unsigned char y) { return x < y; });
    };
    std::sort(strings.begin(), strings.end(), less);
    strings.erase(std::unique(strings.begin(), strings.end()), strings.end());
    AutomatonBuilder builder;
    for (const std::string& s : strings) builder.Add(s);
    return builder.Finish();
}

void AppendAutomatonFile(const Automaton& automaton, const std::array<int32_t, 256>& alphabet,
                         std::string& out) {
    out += std::to_string(automaton.nodes.size()) + "\n";
    for (uint32_t word : automaton.nodes) AppendWord(out, word);
    out += std::to_string(automaton.relations.size()) + "\n";
    for (uint32_t word : automaton.relations) AppendWord(out, word);
    for (int32_t entry : alphabet) AppendWord(out, uint32_t(entry));
}

}  // namespace kestrova::dictc
