// kestrova-dictc: compiles a lexicon dump into the Russian morphological dictionary files.
//
//   kestrova-dictc LEXICON OUTDIR [--plain] [--hold-out PERCENT] [--seed N] [--suffix-length N]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "tools/dictc/dictionaries.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrova-dictc LEXICON OUTDIR [--plain] [--hold-out PERCENT] [--seed N] "
                 "[--suffix-length N]\n");
    return 2;
}

void PrintReport(const kestrova::dictc::Report& r) {
    std::printf("lexemes %zu (held out %zu, left out for their lemma %zu)\n", r.lexemes,
                r.heldOutLexemes, r.skippedLexemes);
    std::printf("word forms stored %zu, left out for characters outside the alphabet %zu\n",
                r.forms, r.skippedForms);
    std::printf("flexia models %zu, lemma records %zu, bases %zu\n", r.models, r.lemmas, r.bases);
    std::printf("morph.forms_autom: %zu nodes, %zu relations, %zu final nodes\n", r.formNodes,
                r.formRelations, r.formFinals);
    std::printf("npredict.bin: %zu endings, %zu nodes, %zu relations\n", r.predictKeys,
                r.predictNodes, r.predictRelations);
    std::printf(
        "statistics: %zu ambiguous forms with corpus estimates, %zu analysis weights, "
        "%zu lemma weights\n",
        r.ambiguousForms, r.analysisWeights, r.lemmaWeights);
    size_t plain = 0, packed = 0;
    for (const auto& file : r.files) {
        std::printf("%-18s plain %9zu  compressed %9zu\n", file.name.c_str(), file.plain,
                    file.packed);
        plain += file.plain;
        packed += file.packed;
    }
    std::printf("%-18s plain %9zu  compressed %9zu\n", "total", plain, packed);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    kestrova::dictc::Options options;
    for (int i = 3; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--plain") {
            options.compress = false;
        } else if (arg == "--hold-out" && i + 1 < argc) {
            options.holdOutPercent = std::atof(argv[++i]);
        } else if (arg == "--suffix-length" && i + 1 < argc) {
            options.predictionSuffixLength = std::atoi(argv[++i]);
        } else if (arg == "--seed" && i + 1 < argc) {
            options.holdOutSeed = std::strtoull(argv[++i], nullptr, 10);
        } else {
            return Usage();
        }
    }
    try {
        kestrova::dictc::Lexicon lexicon = kestrova::dictc::ReadLexicon(argv[1]);
        PrintReport(kestrova::dictc::WriteDictionaries(lexicon, argv[2], options));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrova-dictc: %s\n", e.what());
        return 1;
    }
    return 0;
}
