// kestrova-dictcheck: checks compiled dictionaries against the lexicon they come from.
//
//   kestrova-dictcheck LEXICON DICT_DIR [--hold-out PERCENT] [--seed N]
//
// DICT_DIR holds the twelve NAME.lzma files; --hold-out and --seed must be those the folder was
// compiled with.  Prints the named-word checks, the exhaustive check of every form, then, with
// a hold-out, how well the held-out forms are predicted, or without one, how often an ambiguous
// form gets its most probable lemma.  Exit status 1 when a check fails.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "tools/dictc/check.h"

namespace {

double Percent(size_t part, size_t whole) {
    return whole ? 100.0 * double(part) / double(whole) : 0.0;
}

bool Report(const kestrova::dictc::LexiconCheck& c, bool holdOut) {
    std::printf("forms checked %zu: not found %zu, chosen lemma not of the form's lexemes %zu\n",
                c.forms, c.notFound, c.wrongLemma);
    if (holdOut) {
        std::printf("held-out forms %zu: own lemma %zu (%.2f%%)\n", c.heldOutForms,
                    c.heldOutFoundOwn + c.heldOutPredictedOwn,
                    Percent(c.heldOutFoundOwn + c.heldOutPredictedOwn, c.heldOutForms));
        std::printf("  by the first analysis instead of the chosen one %zu (%.2f%%)\n",
                    c.heldOutFirstOwn, Percent(c.heldOutFirstOwn, c.heldOutForms));
        std::printf("  found through another lexeme %zu, with the own lemma %zu\n", c.heldOutFound,
                    c.heldOutFoundOwn);
        std::printf("  predicted %zu, with the own lemma %zu (%.2f%%)\n", c.heldOutPredicted,
                    c.heldOutPredictedOwn, Percent(c.heldOutPredictedOwn, c.heldOutPredicted));
    }
    for (const std::string& example : c.examples) std::printf("  %s\n", example.c_str());
    return c.notFound == 0 && c.wrongLemma == 0;
}

// The choice among the lemmas of ambiguous forms; fails below kChoiceAim.
bool Report(const kestrova::dictc::ChoiceCheck& c) {
    constexpr double kChoiceAim = 99.0;
    std::printf("forms with analyses of two or more lemmas and a corpus estimate %zu:\n", c.forms);
    std::printf("  the dictionary form is the most probable lemma for %zu (%.2f%%, aim %.0f%%)\n",
                c.chosenMostProbable, Percent(c.chosenMostProbable, c.forms), kChoiceAim);
    std::printf("  the first analysis gives it for %zu (%.2f%%)\n", c.firstMostProbable,
                Percent(c.firstMostProbable, c.forms));
    for (const std::string& example : c.examples) std::printf("  %s\n", example.c_str());
    return c.forms == 0 || Percent(c.chosenMostProbable, c.forms) >= kChoiceAim;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(
            stderr, "usage: kestrova-dictcheck LEXICON DICT_DIR [--hold-out PERCENT] [--seed N]\n");
        return 2;
    }
    kestrova::dictc::Options options;
    for (int i = 3; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--hold-out")
            options.holdOutPercent = std::atof(argv[i + 1]);
        else if (arg == "--seed")
            options.holdOutSeed = std::strtoull(argv[i + 1], nullptr, 10);
    }
    try {
        kestrova::dictc::Lexicon lexicon = kestrova::dictc::ReadLexicon(argv[1]);
        kestrova::dictc::FolderDictionary dictionary(argv[2]);
        bool ok = true;
        dictionary.Holder().Use([&](const kestrova::Lemmatizer* lemmatizer) {
            if (!lemmatizer)
                throw std::runtime_error(std::string(argv[2]) + ": the lemmatizer did not start");
            for (const auto& check : kestrova::dictc::CheckNamedWords(*lemmatizer)) {
                std::printf("%s %s: %s\n", check.passed ? "ok  " : "FAIL", check.what.c_str(),
                            check.detail.c_str());
                ok &= check.passed || options.holdOutPercent > 0;
            }
            ok &= Report(kestrova::dictc::CheckLexicon(lexicon, options, *lemmatizer),
                         options.holdOutPercent > 0);
            if (options.holdOutPercent <= 0)
                ok &= Report(kestrova::dictc::CheckChoice(lexicon, options, *lemmatizer));
        });
        if (!ok) std::printf("some checks failed\n");
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrova-dictcheck: %s\n", e.what());
        return 1;
    }
}
