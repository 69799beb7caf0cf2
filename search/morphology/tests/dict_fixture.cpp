#include "search/morphology/tests/dict_fixture.h"

#include "platform/codepage.h"
#include "search/morphology/alphabet.h"
#include "search/morphology/annotation.h"
#include "search/morphology/dict_resources.h"

#include <lzma.h>

#include <cstring>
#include <stdexcept>

namespace kestrova::testing {
namespace {

void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string RawEncode(std::string_view plain, bool endMarker) {
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 6);
    options.dict_size = 8u << 20;
    options.lc = 3;
    options.lp = 0;
    options.pb = 2;
    options.ext_flags = endMarker ? LZMA_LZMA1EXT_ALLOW_EOPM : 0;
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    lzma_stream s = LZMA_STREAM_INIT;
    if (lzma_raw_encoder(&s, filters) != LZMA_OK) throw std::runtime_error("lzma encoder");
    std::string out(plain.size() + plain.size() / 2 + 1024, '\0');
    s.next_in = reinterpret_cast<const std::uint8_t*>(plain.data());
    s.avail_in = plain.size();
    s.next_out = reinterpret_cast<std::uint8_t*>(out.data());
    s.avail_out = out.size();
    lzma_ret ret = lzma_code(&s, LZMA_FINISH);
    if (ret != LZMA_STREAM_END) throw std::runtime_error("lzma encode");
    out.resize(out.size() - s.avail_out);
    lzma_end(&s);
    return out;
}

std::string Header(std::uint64_t plainSize) {
    std::string h;
    h += static_cast<char>(0x5D);
    PutLe(h, 8u << 20, 4);
    PutLe(h, plainSize, 8);
    return h;
}

}  // namespace

std::string CompressAlone(std::string_view plain) {
    return Header(plain.size()) + RawEncode(plain, false);
}

std::string CompressAloneWithEndMarker(std::string_view plain) {
    return Header(UINT64_MAX) + RawEncode(plain, true);
}

std::string Cp1251(std::string_view utf8) {
    return platform::EncodeText(platform::kCodePage1251, platform::Utf8ToUtf16(utf8));
}

std::string WriteAutomaton(const std::set<std::string>& strings) {
    struct Node {
        std::map<unsigned char, int> next;
        bool final = false;
    };
    std::vector<Node> nodes(1);
    for (const std::string& s : strings) {
        int n = 0;
        for (char ch : s) {
            auto c = static_cast<unsigned char>(ch);
            auto it = nodes[n].next.find(c);
            if (it == nodes[n].next.end()) {
                nodes.emplace_back();
                it = nodes[n].next.emplace(c, static_cast<int>(nodes.size() - 1)).first;
            }
            n = it->second;
        }
        nodes[n].final = true;
    }
    std::string out = std::to_string(nodes.size()) + "\n";
    std::string relations;
    std::uint32_t count = 0;
    for (const Node& node : nodes) {
        PutLe(out, count | (node.final ? 0x80000000u : 0), 4);
        for (auto [c, target] : node.next) {
            PutLe(relations,
                  (static_cast<std::uint32_t>(c) << 24) | static_cast<std::uint32_t>(target), 4);
            ++count;
        }
    }
    out += std::to_string(count) + "\n" + relations;
    for (std::int32_t v : Alphabet::Word().Table()) PutLe(out, static_cast<std::uint32_t>(v), 4);
    return out;
}

std::string DictFixture::Annot() const {
    std::string out = std::to_string(models.size()) + "\n";
    for (const auto& model : models) {
        for (const FixtureItem& item : model) {
            out += "%" + item.ending + "*" + item.codes;
            if (!item.prefix.empty()) out += "*" + item.prefix;
        }
        out += "\n";
    }
    out += "1\n255;255;\n";
    out += std::to_string(prefixSets.size()) + "\n";
    for (const std::string& p : prefixSets) out += p + "\n";
    out += std::to_string(lexemes.size()) + "\n";
    for (std::size_t i = 0; i < lexemes.size(); ++i) {
        PutLe(out, lexemes[i].model, 2);
        PutLe(out, 0, 2);
        out += "aa";
        PutLe(out, 0, 2);
        PutLe(out, i + 1, 4);
    }
    out += std::to_string(models.size()) + "\n";
    for (std::size_t i = 0; i < models.size(); ++i)
        out += static_cast<char>(i < flags.size() ? flags[i] : 0);
    return out;
}

std::string DictFixture::Bases() const {
    std::string out;
    PutLe(out, lexemes.size() + 1, 4);
    out += std::string(2, '\0');
    for (const FixtureLexeme& l : lexemes) {
        out += static_cast<char>(l.base.size());
        out += l.base;
        out += '\0';
    }
    return out;
}

std::string DictFixture::Forms() const {
    std::set<std::string> strings;
    for (const FixtureLexeme& l : lexemes) {
        const auto& model = models.at(l.model);
        std::string prefixSet = l.prefixSet == 0 ? std::string() : prefixSets.at(l.prefixSet - 1);
        for (std::size_t i = 0; i < model.size(); ++i) {
            std::string digits = EncodeAnnotationDigits(
                PackAnnotation({l.model, static_cast<std::uint32_t>(i), l.prefixSet}));
            strings.insert(prefixSet + model[i].prefix + l.base + model[i].ending + "+" + digits);
        }
    }
    return WriteAutomaton(strings);
}

std::map<std::string, std::string> DictFixture::PlainFiles() const {
    std::map<std::string, std::string> files;
    std::string homo, word;
    for (const auto& record : analysisWeights) {
        for (std::int32_t value : record) PutLe(homo, static_cast<std::uint32_t>(value), 4);
    }
    for (const auto& record : lemmaWeights) {
        for (std::int32_t value : record) PutLe(word, static_cast<std::uint32_t>(value), 4);
    }
    for (const char* s : {"c", "f", "l"}) {
        files[std::string("rus/") + s + "homoweight.bin"] = homo;
        files[std::string("rus/") + s + "wordweight.bin"] = word;
    }
    files["rus/morph.annot"] = Annot();
    files["rus/morph.bases"] = Bases();
    files["rus/morph.forms_autom"] = Forms();
    files["rus/morph.options"] = options;
    files["rus/npredict.bin"] = WriteAutomaton(predictStrings);
    files["rgramtab.tab"] = gramtab;
    return files;
}

FixtureResources::FixtureResources(const std::map<std::string, std::string>& plainByName) {
    for (const auto& [name, plain] : plainByName) compressed_[name] = CompressAlone(plain);
    for (const DictResource& r : kDictResources) {
        auto it = compressed_.find(r.name);
        if (it != compressed_.end()) byId_[r.id] = it->second;
    }
}

void FixtureResources::RegisterAll(MemFileRegistry& registry) const {
    for (const auto& [name, data] : compressed_) {
        registry.Register(name, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    }
}

std::optional<ModuleResource> FixtureResources::Find(int id, std::string_view type) const {
    auto it = byId_.find(id);
    if (type != "DICT" || it == byId_.end()) return std::nullopt;
    return ModuleResource{reinterpret_cast<const std::uint8_t*>(it->second.data()),
                          it->second.size()};
}

void FixtureResources::Replace(const std::string& name, std::string compressed) {
    compressed_[name] = compressed;
    for (const DictResource& r : kDictResources) {
        if (name == r.name) byId_[r.id] = std::move(compressed);
    }
}

}  // namespace kestrova::testing
