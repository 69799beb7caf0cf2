// The Russian lemmatizer: finds the analyses and the normal form of a word form (bytes of
// code page 1251) in its dictionary, and predicts analyses for words the dictionary lacks.
// Loading is not thread safe; once loaded, Analyse and NormalForm may be called from
// several threads at once.
#pragma once

#include "search/morphology/automaton.h"
#include "search/morphology/bases.h"
#include "search/morphology/gramtab.h"
#include "search/morphology/mem_file.h"
#include "search/morphology/morph_annot.h"
#include "search/morphology/statistics.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// One reading of a word form.
struct Analysis {
    std::uint32_t model = 0;      // flexia model
    std::uint32_t item = 0;       // item of the model the form is
    std::uint32_t prefixSet = 0;  // prefix set the form starts with
    std::string base;             // the form without prefix set, item prefix and ending
    bool found = false;           // true: in the dictionary; false: predicted
    // For a predicted analysis, the beginning of the word left out of the analysed part
    // (it stays in front of the normal form); empty for a found one.
    std::string head;
};

class Lemmatizer {
public:
    // Opens a dictionary file by name in a mode ("rb", "r"); returns null when it cannot.
    using FileOpener =
        std::function<std::unique_ptr<MemFile>(const std::string& name, const char* mode)>;
    // Answers a configuration path by key; throws for an unknown key.
    using PathProvider = std::function<std::string(std::string_view key)>;

    // The keys the lemmatizer asks for.
    static constexpr std::string_view kDictFolderKey = "Lemmatizer/Russian/DictFolder";
    static constexpr std::string_view kGramtabKey = "Lemmatizer/Russian/Gramtab";

    Lemmatizer(FileOpener open, PathProvider paths);

    // Loads the dictionary ("morph.bin" of the dictionary folder: its forms_autom, annot and
    // bases), the prediction base and the options. On failure returns false and sets
    // `message` (completed with the RML environment variable).
    bool LoadDictionary(std::string& message);
    // Loads the statistics of one subject letter (after the dictionary, whose lemma records
    // they name); false on failure.
    bool LoadStatistics(char subject);
    // Loads the grammatical code table; false on failure.
    bool LoadGramtab();

    // Upper-cases ASCII and Cyrillic letters, folds Ё to Е (unless the options allow Ё) and
    // turns apostrophes into Ъ.
    std::string PrepareWord(std::string_view word) const;
    // Replaces `out` with the analyses of a word (prepared here first).
    void Analyse(std::string_view word, bool isNormalForm, bool capital, bool predict,
                 std::vector<Analysis>& out) const;
    // The normal form of an analysis (upper case).
    std::string NormalForm(const Analysis& a) const;
    // The weight of an analysis from the loaded statistics (0 without them).
    std::int32_t Weight(const Analysis& a) const {
        return statistics_.Weight(a.model, a.item, a.base);
    }

    const Statistics& Stats() const { return statistics_; }
    const MorphAnnot& Annot() const { return annot_; }
    const Automaton& Forms() const { return forms_; }
    const Automaton& PredictionBase() const { return predict_; }
    const Bases& BaseList() const { return bases_; }
    const Gramtab& GramTable() const { return gramtab_; }
    bool AllowsRussianJo() const { return allowJo_; }

private:
    std::unique_ptr<MemFile> Open(const std::string& name, const char* mode) const;
    void LoadMorph(const std::string& path);
    void LoadOptions(const std::string& path);
    void LookupForm(std::string_view word, std::vector<Analysis>& out) const;
    void AnalysePrepared(std::string_view word, bool predict, std::vector<Analysis>& out) const;
    bool PredictBySuffix(std::string_view word, std::vector<Analysis>& out) const;
    bool PredictByBase(std::string_view word, std::vector<Analysis>& out) const;
    bool AnalyseByParts(std::string_view word, std::vector<Analysis>& out) const;

    FileOpener open_;
    PathProvider paths_;
    Automaton forms_;
    Automaton predict_;
    MorphAnnot annot_;
    Bases bases_;
    Statistics statistics_;
    Gramtab gramtab_;
    bool allowJo_ = false;
};

// The value of the RML environment variable of the process ("" when it is not set).
std::string RmlEnvironment();

}  // namespace kestrova
