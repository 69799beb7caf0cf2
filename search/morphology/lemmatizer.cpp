#include "search/morphology/lemmatizer.h"

#include "search/morphology/cexpc.h"

#include <cstdlib>

namespace kestrova {
namespace {

constexpr unsigned char kYoUpper = 0xA8;        // Ё
constexpr unsigned char kYoLower = 0xB8;        // ё
constexpr unsigned char kYeUpper = 0xC5;        // Е
constexpr unsigned char kHardSignUpper = 0xDA;  // Ъ

// "Rus/morph.bin" with its extension replaced.
std::string SiblingFile(const std::string& path, std::string_view extension) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.find_last_of("/\\");
    std::string stem = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                           ? path
                           : path.substr(0, dot);
    return stem + "." + std::string(extension);
}

}  // namespace

std::string RmlEnvironment() {
    const char* value = std::getenv("RML");
    return value ? value : "";
}

Lemmatizer::Lemmatizer(FileOpener open, PathProvider paths)
    : open_(std::move(open)), paths_(std::move(paths)) {}

std::unique_ptr<MemFile> Lemmatizer::Open(const std::string& name, const char* mode) const {
    std::unique_ptr<MemFile> file = open_(name, mode);
    if (!file) throw CExpc("Cannot open " + name);
    return file;
}

bool Lemmatizer::LoadDictionary(std::string& message) {
    std::string folder;
    try {
        folder = paths_(kDictFolderKey);
    } catch (...) {
        message = "Cannot read $RML/Bin/rml.ini; $RML=" + RmlEnvironment();
        return false;
    }
    try {
        LoadMorph(folder + "morph.bin");
        std::string predictName = folder + "npredict.bin";
        predict_.Load(*Open(predictName, "rb"), predictName, Alphabet::Word());
        LoadOptions(folder + "morph.options");
        return true;
    } catch (const CExpc& e) {
        message = e.Message() + "; RML=" + RmlEnvironment();
    } catch (...) {
        message = "General exception; RML=" + RmlEnvironment();
    }
    return false;
}

void Lemmatizer::LoadMorph(const std::string& path) {
    std::string formsName = SiblingFile(path, "forms_autom");
    std::unique_ptr<MemFile> forms = Open(formsName, "rb");
    try {
        forms_.Load(*forms, formsName, Alphabet::Word());
    } catch (const CExpc&) {
        throw CExpc("Cannot load " + path);
    }
    std::string annotName = SiblingFile(path, "annot");
    LoadMorphAnnot(*Open(annotName, "rb"), annot_);
    std::string basesName = SiblingFile(path, "bases");
    std::unique_ptr<MemFile> bases = Open(basesName, "rb");
    try {
        bases_.Load(*bases, basesName);
    } catch (const CExpc&) {
        throw CExpc("Cannot load " + path);
    }
}

void Lemmatizer::LoadOptions(const std::string& path) {
    std::unique_ptr<MemFile> file = Open(path, "r");
    char line[256];
    allowJo_ = false;
    while (file->ReadLine(line, sizeof line)) {
        std::string_view text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
            text.remove_suffix(1);
        if (text == "AllowRussianJo") allowJo_ = true;
    }
}

bool Lemmatizer::LoadStatistics(char subject) {
    try {
        std::string folder = paths_(kDictFolderKey);
        std::unique_ptr<MemFile> homo = open_(folder + subject + "homoweight.bin", "rb");
        std::unique_ptr<MemFile> word = open_(folder + subject + "wordweight.bin", "rb");
        return homo && word && statistics_.Load(*homo, *word, annot_, bases_);
    } catch (...) {
        return false;
    }
}

bool Lemmatizer::LoadGramtab() {
    try {
        std::unique_ptr<MemFile> file = open_(paths_(kGramtabKey), "r");
        return file && gramtab_.Load(*file);
    } catch (...) {
        return false;
    }
}

std::string Lemmatizer::PrepareWord(std::string_view word) const {
    std::string w(word);
    for (char& ch : w) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z') {
            c = static_cast<unsigned char>(c - 'a' + 'A');
        } else if (c >= 0xE0) {
            c = static_cast<unsigned char>(c - 0x20);
        } else if (c == kYoLower) {
            c = kYoUpper;
        } else if (c == '\'') {
            c = kHardSignUpper;
        }
        if (c == kYoUpper && !allowJo_) c = kYeUpper;
        ch = static_cast<char>(c);
    }
    return w;
}

void Lemmatizer::Analyse(std::string_view word, bool isNormalForm, bool /*capital*/, bool predict,
                         std::vector<Analysis>& out) const {
    out.clear();
    AnalysePrepared(PrepareWord(word), predict, out);
    if (isNormalForm) {
        std::vector<Analysis> normal;
        for (Analysis& a : out) {
            if (a.item == 0) normal.push_back(std::move(a));
        }
        if (!normal.empty()) out = std::move(normal);
    }
}

void Lemmatizer::AnalysePrepared(std::string_view word, bool predict,
                                 std::vector<Analysis>& out) const {
    LookupForm(word, out);
    if (!out.empty() || !predict || word.empty()) return;
    if (AnalyseByParts(word, out)) return;
    if (PredictBySuffix(word, out)) return;
    PredictByBase(word, out);
}

void Lemmatizer::LookupForm(std::string_view word, std::vector<Analysis>& out) const {
    if (forms_.Empty()) return;
    int node = forms_.Walk(word);
    if (node < 0) return;
    node = forms_.Next(node, kAnnotChar);
    forms_.ForEachAnnotation(node, [&](std::uint64_t value) {
        if (value > UINT32_MAX) return;
        Annotation a = UnpackAnnotation(static_cast<std::uint32_t>(value));
        if (a.model >= annot_.models.size() || a.prefixSet >= annot_.prefixSets.size()) return;
        const FlexiaModel& model = annot_.models[a.model];
        if (a.item >= model.items.size()) return;
        const FlexiaItem& item = model.items[a.item];
        std::size_t head = annot_.prefixSets[a.prefixSet].size() + item.prefix.size();
        if (head + item.ending.size() > word.size()) return;
        Analysis& analysis = out.emplace_back();
        analysis.model = a.model;
        analysis.item = a.item;
        analysis.prefixSet = a.prefixSet;
        analysis.base = word.substr(head, word.size() - head - item.ending.size());
        analysis.found = true;
    });
}

std::string Lemmatizer::NormalForm(const Analysis& a) const {
    if (a.model >= annot_.models.size() || a.prefixSet >= annot_.prefixSets.size())
        return a.head + a.base;
    const FlexiaItem& first = annot_.models[a.model].items[0];
    std::string form;
    const std::string& prefixSet = annot_.prefixSets[a.prefixSet];
    form.reserve(a.head.size() + prefixSet.size() + first.prefix.size() + a.base.size() +
                 first.ending.size());
    form += a.head;
    form += prefixSet;
    form += first.prefix;
    form += a.base;
    form += first.ending;
    return form;
}

}  // namespace kestrova
