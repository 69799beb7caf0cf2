// kestrova-cli lemma: dictionary forms of Russian words through the process-wide lemmatizer.
#include "cli/command.h"

#include "platform/codepage.h"
#include "search/morphology/morphology_holder.h"

#include <iostream>
#include <memory>

namespace kestrova::cli {
namespace {

struct LemmaOptions {
    std::vector<std::string> words;
    bool analyses = false;
};

std::string Utf8(std::string_view cp1251) {
    return platform::Utf16ToUtf8(platform::DecodeBytes(platform::kCodePage1251, cp1251));
}

std::string Form(const std::string& utf8) {
    return platform::Utf16ToUtf8(
        GetDictionaryForm(std::u16string_view(platform::Utf8ToUtf16(utf8))));
}

// One line per analysis: where it comes from, its forms, its weight, "chosen" on the one that
// gives the dictionary form, then the features of its codes.
void PrintAnalyses(const std::string& utf8) {
    std::string bytes = platform::EncodeText(platform::kCodePage1251, platform::Utf8ToUtf16(utf8));
    MorphologyHolder::Instance().Use([&](const Lemmatizer* lemmatizer) {
        std::cout << utf8 << "\n";
        if (!lemmatizer) return;
        std::vector<Analysis> analyses;
        lemmatizer->Analyse(bytes, false, false, true, analyses);
        if (analyses.empty()) std::cout << "\t(no analysis)\n";
        const std::size_t chosen = analyses.empty() ? 0 : ChosenAnalysis(*lemmatizer, analyses);
        for (std::size_t i = 0; i < analyses.size(); ++i) {
            const Analysis& a = analyses[i];
            std::cout << "\tmodel " << a.model << "\titem " << a.item << "\tprefix set "
                      << a.prefixSet << "\tbase " << Utf8(a.head + a.base) << "\tnormal "
                      << Utf8(lemmatizer->NormalForm(a)) << "\t"
                      << (a.found ? "found" : "predicted") << "\tweight " << lemmatizer->Weight(a)
                      << (i == chosen ? "\tchosen" : "") << "\n";
            const std::string& codes = lemmatizer->Annot().models[a.model].items[a.item].gramCodes;
            for (std::size_t i = 0; i + 1 < codes.size(); i += 2) {
                std::string code = codes.substr(i, 2);
                const GramCode* g = lemmatizer->GramTable().Find(code);
                std::cout << "\t\t" << Utf8(code) << "\t"
                          << (g ? Utf8(g->partOfSpeech + " " + g->features)
                                : std::string("(not in the gramtab)"))
                          << "\n";
            }
        }
    });
}

int RunLemma(const LemmaOptions& options) {
    std::ios::sync_with_stdio(false);
    auto one = [&](const std::string& word, bool fromInput) {
        if (options.analyses) {
            PrintAnalyses(word);
        } else if (fromInput) {
            std::cout << Form(word) << "\n";
        } else {
            std::cout << word << "\t" << Form(word) << "\n";
        }
    };
    if (options.words.empty()) {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            one(line, true);
        }
    } else {
        for (const std::string& word : options.words) one(word, false);
    }
    std::cout.flush();
    std::string failure = MorphologyHolder::Instance().FailureMessage();
    if (!failure.empty()) {
        std::cerr << "kestrova-cli lemma: morphology is off (" << failure
                  << "); words are left as they are\n";
        return kStatusFailed;
    }
    return kStatusOk;
}

auto options = std::make_shared<LemmaOptions>();

CommandRegistration registration({
    "lemma",
    "dictionary forms of Russian words (UTF-8), from arguments or one per input line",
    [](CLI::App& app) {
        app.add_option(
            "words", options->words,
            "words to reduce; without them, one word per line is read from standard input");
        app.add_flag("--analyses", options->analyses,
                     "print every analysis: flexia model, item, prefix set, base, normal form, "
                     "found or predicted, weight, \"chosen\" on the one that gives the "
                     "dictionary form, and the grammatical codes with their features");
    },
    [] { return RunLemma(*options); },
});

}  // namespace
}  // namespace kestrova::cli
