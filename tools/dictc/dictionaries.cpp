#include "tools/dictc/dictionaries.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

#include "tools/dictc/alphabet.h"
#include "tools/dictc/automaton_builder.h"
#include "tools/dictc/gramtab.h"
#include "tools/dictc/lzma_alone.h"
#include "tools/dictc/paradigm.h"
#include "tools/dictc/prediction.h"
#include "tools/dictc/weights.h"

namespace kestrova::dictc {
namespace {

constexpr size_t kMaxModelLine = 10238;  // lines are read with a 10240-byte limit
constexpr uint8_t kNoSuffixPrediction = 255;
constexpr size_t kPredictionCandidates = 3;
constexpr size_t kPredictionMinCount = 2;

struct Item {
    std::string ending;
    std::string prefix;
    uint32_t tag = 0;
};

struct Model {
    std::vector<Item> items;
    std::string line;
    std::string partOfSpeech;
    size_t lexemes = 0;
};

struct LemmaRecord {
    uint32_t model = 0;
    std::string stem;
    uint32_t tag = 0;
};

std::string PartOfSpeech(const std::string& tag) { return tag.substr(0, tag.find_first_of(", ")); }

// Closed word classes: an unknown word is never predicted to be one of them.
bool IsClosedClass(const std::string& pos) {
    static const std::set<std::string> closed = {"NPRO", "PREP", "CONJ", "PRCL", "INTJ", "PRED"};
    return closed.count(pos) != 0;
}

// Flag byte of a model: 255 for closed classes (never used for suffix prediction); otherwise
// how productive the model is: 0 for 20 lexemes or more, 1 for 5 to 19, 2 for 2 to 4, 3 for one.
uint8_t ModelFlag(const Model& model) {
    if (IsClosedClass(model.partOfSpeech)) return kNoSuffixPrediction;
    if (model.lexemes >= 20) return 0;
    if (model.lexemes >= 5) return 1;
    return model.lexemes >= 2 ? 2 : 3;
}

std::string ModelLine(const std::vector<Item>& items) {
    std::string line;
    for (const Item& item : items) {
        line += "%" + item.ending + "*" + GramCode(item.tag);
        if (!item.prefix.empty()) line += "*" + item.prefix;
    }
    return line;
}

void AppendLittleEndian(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

uint64_t SplitMix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

class Compiler {
public:
    Compiler(const Lexicon& lexicon, const Options& options)
        : lexicon_(lexicon),
          options_(options),
          prediction_(options.predictionSuffixLength),
          weights_(lexicon.weights) {}

    void Run(Report& report) {
        for (size_t i = 0; i < lexicon_.lexemes.size(); ++i) {
            if (IsHeldOut(i, options_)) {
                ++report.heldOutLexemes;
                continue;
            }
            AddLexeme(lexicon_.lexemes[i], report);
        }
        report.models = models_.size();
    }

    std::string Annot() const {
        std::string out = std::to_string(models_.size()) + "\n";
        for (const Model& model : models_) out += model.line + "\n";
        out += std::to_string(models_.size()) + "\n";
        for (const Model& model : models_) {
            for (size_t i = 0; i < model.items.size(); ++i) out += "255;";
            out += "\n";
        }
        const std::vector<std::string> prefixes = Prefixes();
        out += std::to_string(prefixes.size()) + "\n";
        for (const std::string& prefix : prefixes) out += prefix + "\n";
        out += std::to_string(lemmas_.size()) + "\n";
        const std::vector<std::string> bases = Bases();
        for (const LemmaRecord& lemma : lemmas_) {
            AppendLittleEndian(out, lemma.model, 2);
            AppendLittleEndian(out, lemma.model, 2);  // accent model of the same number, all 255
            out += GramCode(lemma.tag);
            AppendLittleEndian(out, 0, 2);
            auto base = std::lower_bound(bases.begin() + 1, bases.end(), lemma.stem);
            AppendLittleEndian(out, lemma.stem.empty() ? 0 : uint64_t(base - bases.begin()), 4);
        }
        out += std::to_string(models_.size()) + "\n";
        for (const Model& model : models_) out.push_back(char(ModelFlag(model)));
        return out;
    }

    WeightFiles Weights(Report& report) const {
        WeightFiles files = weights_.Write();
        report.ambiguousForms = files.ambiguousForms;
        report.analysisWeights = files.homoweight.size() / 12;
        report.lemmaWeights = files.wordweight.size() / 8;
        return files;
    }

    // Entry 0 is the empty base, then every non-empty stem once, in byte order.
    std::vector<std::string> Bases() const {
        std::vector<std::string> bases{""};
        for (const LemmaRecord& lemma : lemmas_) {
            if (!lemma.stem.empty()) bases.push_back(lemma.stem);
        }
        std::sort(bases.begin() + 1, bases.end());
        bases.erase(std::unique(bases.begin() + 1, bases.end()), bases.end());
        return bases;
    }

    std::string BasesFile(Report& report) const {
        const std::vector<std::string> bases = Bases();
        report.bases = bases.size();
        std::string out;
        AppendLittleEndian(out, bases.size(), 4);
        for (const std::string& base : bases) {
            if (base.size() > 255) throw std::runtime_error("base longer than 255 bytes: " + base);
            out.push_back(char(base.size()));
            out += base;
            out.push_back('\0');
        }
        return out;
    }

    std::string FormsAutomaton(Report& report) {
        report.forms = formStrings_.size();
        Automaton automaton = BuildAutomaton(std::move(formStrings_));
        report.formNodes = automaton.nodes.size();
        report.formRelations = automaton.relations.size();
        report.formFinals = automaton.finalCount;
        std::string out;
        AppendAutomatonFile(automaton, WordAlphabet(), out);
        return out;
    }

    std::string PredictionAutomaton(Report& report) {
        std::map<std::pair<std::string, std::string>, uint32_t> ruleIds;
        auto ruleOf = [&](uint32_t model, uint32_t item) {
            const Model& m = models_[model];
            auto key = std::make_pair(m.items[item].ending, m.items[0].ending);
            return ruleIds.emplace(key, uint32_t(ruleIds.size())).first->second;
        };
        std::vector<std::string> strings = prediction_.Strings(
            ruleOf, kPredictionCandidates, kPredictionMinCount, &report.predictKeys);
        Automaton automaton = BuildAutomaton(std::move(strings));
        report.predictNodes = automaton.nodes.size();
        report.predictRelations = automaton.relations.size();
        std::string out;
        AppendAutomatonFile(automaton, WordAlphabet(), out);
        return out;
    }

private:
    std::vector<std::string> Prefixes() const {
        return options_.prefixes.empty() ? DefaultPrefixes() : options_.prefixes;
    }

    void AddLexeme(const Lexeme& lexeme, Report& report) {
        std::vector<std::string> words;
        std::vector<uint32_t> tags;
        std::set<std::pair<std::string, uint32_t>> seen;
        for (size_t f = 0; f < lexeme.forms.size(); ++f) {
            std::optional<std::string> folded = FoldWord(lexeme.forms[f].word);
            if (!folded || folded->empty()) {
                ++report.skippedForms;
                if (f == 0) {
                    report.skippedForms += lexeme.forms.size() - 1;
                    ++report.skippedLexemes;
                    return;
                }
                continue;
            }
            if (!seen.insert({*folded, lexeme.forms[f].tag}).second) continue;
            words.push_back(std::move(*folded));
            tags.push_back(lexeme.forms[f].tag);
        }
        if (words.size() > 511)
            throw std::runtime_error("lexeme " + words[0] + " has more than 511 forms");
        SplitLexeme split = Split(words, options_.itemPrefixes);
        std::vector<Item> items;
        for (size_t i = 0; i < words.size(); ++i) {
            items.push_back(Item{split.forms[i].ending, split.forms[i].prefix, tags[i]});
        }
        const uint32_t model = ModelNumber(items);
        ++models_[model].lexemes;
        auto [lemma, added] = lemmaIds_.emplace(std::make_pair(model, split.stem), lemmas_.size());
        if (added) {
            lemmas_.push_back(LemmaRecord{model, split.stem, tags[0]});
            weights_.AddLemma(words[0]);
        }
        report.lemmas = lemmas_.size();
        ++report.lexemes;
        const bool predictable =
            !IsClosedClass(models_[model].partOfSpeech) && items[0].prefix.empty();
        for (size_t i = 0; i < words.size(); ++i) {
            std::string s = words[i];
            s.push_back(kAnnotationChar);
            AppendAnnotation(s, PackAnnotation(model, uint32_t(i), 0));
            formStrings_.push_back(std::move(s));
            weights_.AddForm(words[i], uint32_t(lemma->second), uint32_t(i), tags[i]);
            if (predictable && items[i].prefix.empty()) {
                prediction_.Add(words[i], model, uint32_t(i), items[i].ending.size());
            }
        }
    }

    uint32_t ModelNumber(const std::vector<Item>& items) {
        std::string line = ModelLine(items);
        if (line.size() > kMaxModelLine)
            throw std::runtime_error("flexia model line too long: " + line.substr(0, 80));
        auto [it, added] = modelIds_.emplace(line, uint32_t(models_.size()));
        if (added) {
            models_.push_back(Model{items, line, PartOfSpeech(lexicon_.tags.at(items[0].tag)), 0});
            PackAnnotation(it->second, 0, 0);  // throws when the model number no longer fits
        }
        return it->second;
    }

    const Lexicon& lexicon_;
    const Options& options_;
    std::vector<Model> models_;
    std::map<std::string, uint32_t> modelIds_;
    std::vector<LemmaRecord> lemmas_;
    std::map<std::pair<uint32_t, std::string>, size_t> lemmaIds_;
    std::vector<std::string> formStrings_;
    PredictionCollector prediction_;
    WeightCollector weights_;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(path.string() + ": cannot write the file");
}

}  // namespace

std::vector<std::string> DefaultPrefixes() {
    // Upper-case Russian prefixes written in UTF-8 here and converted on first use.
    static const char* const utf8[] = {
        "АНТИ",  "БЕЗ",  "БЕС",  "В",     "ВЗ",   "ВНЕ",   "ВО",  "ВОЗ",    "ВОС", "ВС",
        "ВЫ",    "ДО",   "ЗА",   "ИЗ",    "ИС",   "КОНТР", "МЕЖ", "НА",     "НАД", "НАИ",
        "НЕ",    "НЕДО", "НИЗ",  "НИС",   "О",    "ОБ",    "ОБО", "ОТ",     "ОТО", "ПЕРЕ",
        "ПО",    "ПОД",  "ПОЛУ", "ПРЕ",   "ПРЕД", "ПРИ",   "ПРО", "ПСЕВДО", "РАЗ", "РАС",
        "СВЕРХ", "С",    "СО",   "СУПЕР", "У",    "ЧЕРЕЗ"};
    std::vector<std::string> result;
    for (const char* prefix : utf8) result.push_back(*FoldWord(prefix));
    return result;
}

bool IsHeldOut(size_t index, const Options& options) {
    if (options.holdOutPercent <= 0) return false;
    return double(SplitMix(options.holdOutSeed ^ SplitMix(index)) % 1000000) <
           options.holdOutPercent * 10000;
}

const std::vector<std::string>& DictionaryFileNames() {
    static const std::vector<std::string> names = {
        "chomoweight.bin",   "cwordweight.bin", "fhomoweight.bin", "fwordweight.bin",
        "lhomoweight.bin",   "lwordweight.bin", "morph.annot",     "morph.bases",
        "morph.forms_autom", "morph.options",   "npredict.bin",    "rgramtab.tab"};
    return names;
}

Report WriteDictionaries(const Lexicon& lexicon, const std::filesystem::path& outDir,
                         const Options& options) {
    Report report;
    Compiler compiler(lexicon, options);
    compiler.Run(report);
    std::map<std::string, std::string> plain;
    plain["morph.forms_autom"] = compiler.FormsAutomaton(report);
    plain["npredict.bin"] = compiler.PredictionAutomaton(report);
    plain["morph.annot"] = compiler.Annot();
    plain["morph.bases"] = compiler.BasesFile(report);
    plain["morph.options"] = "";
    plain["rgramtab.tab"] = GramtabText(lexicon);
    const WeightFiles weights = compiler.Weights(report);
    for (const char* subject : {"c", "f", "l"}) {
        plain[std::string(subject) + "homoweight.bin"] = weights.homoweight;
        plain[std::string(subject) + "wordweight.bin"] = weights.wordweight;
    }

    std::filesystem::create_directories(outDir);
    for (const std::string& name : DictionaryFileNames()) {
        const std::string& bytes = plain.at(name);
        std::string packed = CompressAlone(bytes);
        report.files.push_back(FileSize{name, bytes.size(), packed.size()});
        if (options.compress) {
            WriteFile(outDir / (name + ".lzma"), packed);
        } else {
            WriteFile(outDir / name, bytes);
        }
    }
    return report;
}

}  // namespace kestrova::dictc
