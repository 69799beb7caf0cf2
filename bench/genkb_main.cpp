// kestrova-genkb N DIR [--page-kb K] [--seed S]: writes a generated knowledge base of N pages
// into DIR (see bench/kb_generator.h) and prints how many pages and bytes it wrote.
// kestrova-genkb --words: prints every word form of the generated texts, one per line (UTF-8).
#include "bench/bench_support.h"
#include "bench/kb_generator.h"
#include "bench/kb_vocabulary.h"
#include "platform/codepage.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrova-genkb N DIR [--page-kb K] [--seed S] | kestrova-genkb --words\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--words") {
        for (const std::u16string& w : kestrova::bench::AllWordForms()) {
            std::printf("%s\n", kestrova::platform::Utf16ToUtf8(w).c_str());
        }
        return 0;
    }
    if (argc < 3) return Usage();
    kestrova::bench::KbOptions options;
    long long value = 0;
    if (!kestrova::bench::ParseNumber(argv[1], 0, kestrova::bench::kMostPages, value)) {
        std::fprintf(stderr, "kestrova-genkb: bad page count: %s\n", argv[1]);
        return 2;
    }
    options.pages = static_cast<int32_t>(value);
    for (int i = 3; i < argc; i += 2) {
        const std::string flag = argv[i];
        if (i + 1 >= argc || (flag != "--page-kb" && flag != "--seed")) return Usage();
        const bool seed = flag == "--seed";
        if (!kestrova::bench::ParseNumber(argv[i + 1], seed ? 0 : 1,
                                          seed ? LLONG_MAX : kestrova::bench::kLargestPageKb,
                                          value)) {
            std::fprintf(stderr, "kestrova-genkb: bad value for %s: %s\n", flag.c_str(),
                         argv[i + 1]);
            return 2;
        }
        if (!seed)
            options.pageKb = static_cast<int32_t>(value);
        else
            options.seed = static_cast<uint64_t>(value);
    }
    try {
        const kestrova::bench::KbSummary s =
            kestrova::bench::GenerateKnowledgeBase(argv[2], options);
        std::printf("%d pages, %.1f MB in %s\n", s.pages, static_cast<double>(s.bytes) / 1e6,
                    argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrova-genkb: %s\n", e.what());
        return 1;
    }
}
