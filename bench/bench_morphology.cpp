// Start-up time, resident memory and throughput of the process-wide lemmatizer.
//
//   bench_morphology [TEXT.utf8]
//
// Tokens are the letter runs of the text (a built-in Russian passage without an argument);
// they go through the dictionary form of a wide word (lock and conversions included), one
// thread, for about two seconds. The baseline, run in alternate rounds, takes the normal form
// of the first analysis instead of choosing one by the statistics.
#include "platform/codepage.h"
#include "search/morphology/dict_resources.h"
#include "search/morphology/morphology_holder.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* const kPassage =
    "Настоящий закон устанавливает правовые основы налогового регулирования в Российской "
    "Федерации и определяет порядок исчисления и уплаты налогов и сборов. Налоговые органы "
    "осуществляют контроль за соблюдением законодательства о налогах, за правильностью их "
    "исчисления, полнотой и своевременностью уплаты. Налогоплательщики обязаны уплачивать "
    "законно установленные налоги, вести в установленном порядке учёт своих доходов, расходов "
    "и объектов налогообложения, представлять в налоговый орган по месту учёта налоговые "
    "декларации. Ёлки стояли вдоль дороги, и дети, возвращаясь из школы, считали их вслух. "
    "Организация вправе обжаловать решение налогового органа в вышестоящий налоговый орган или "
    "в суд. Статья вступает в силу по истечении одного месяца со дня её официального "
    "опубликования. Работники, заключившие трудовые договоры, имеют право на ежегодный "
    "оплачиваемый отпуск продолжительностью двадцать восемь календарных дней. Сделал дело — "
    "гуляй смело. Документы, подтверждающие расходы, хранятся в течение четырёх лет. Кто-то "
    "позвонил в дверь, и собака громко залаяла. Северо-западный ветер принёс холодный дождь.";

std::string ReadAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::u16string> Tokens(const std::u16string& text) {
    std::vector<std::u16string> tokens;
    std::u16string word;
    auto letter = [](char16_t c) {
        return (c >= u'А' && c <= u'я') || c == u'ё' || c == u'Ё' || (c >= u'A' && c <= u'Z') ||
               (c >= u'a' && c <= u'z') || c == u'-';
    };
    for (char16_t c : text + u" ") {
        if (letter(c)) {
            word += c;
        } else if (!word.empty()) {
            if (word != u"-") tokens.push_back(word);
            word.clear();
        }
    }
    return tokens;
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

void PrintFiles() {
    std::printf("%-24s %12s %12s\n", "file", "compressed", "plain");
    for (const kestrova::DictResource& r : kestrova::kDictResources) {
        auto found = kestrova::FindModuleResource(r.id, kestrova::kDictResourceType);
        if (!found) continue;
        kestrova::MemFile f(r.name, found->data, found->size, true);
        std::printf("%-24s %12zu %12llu\n", r.name, found->size,
                    static_cast<unsigned long long>(f.PlainSize()));
    }
}

// The dictionary form by the first analysis, through the same lock and conversions.
std::u16string FirstAnalysisForm(std::u16string_view word,
                                 std::vector<kestrova::Analysis>& scratch) {
    using namespace kestrova;
    std::string bytes = platform::EncodeText(platform::kCodePage1251, word);
    std::string form;
    MorphologyHolder::Instance().Use([&](const Lemmatizer* l) {
        l->Analyse(bytes, false, false, true, scratch);
        form = scratch.empty() ? l->PrepareWord(bytes) : l->NormalForm(scratch.front());
    });
    return platform::DecodeBytes(platform::kCodePage1251, form);
}

// Processor time of this thread: other processes on the machine do not stretch it.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Words per processor second of `form` over the tokens, and a checksum, for rounds of about
// 0.2 s that alternate with those of `baseline`.
struct Rates {
    double words = 0, seconds = 0, baselineWords = 0, baselineSeconds = 0;
    std::size_t checksum = 0;
};

template <class Form, class Baseline>
Rates MeasureRates(const std::vector<std::u16string>& tokens, Form form, Baseline baseline) {
    Rates r;
    auto round = [&](auto&& f, double& words, double& seconds) {
        const double start = ThreadSeconds();
        double elapsed = 0;
        while (elapsed < 0.2) {
            for (const std::u16string& t : tokens) r.checksum += f(t).size();
            words += static_cast<double>(tokens.size());
            elapsed = ThreadSeconds() - start;
        }
        seconds += elapsed;
    };
    for (int i = 0; i < 10; ++i) {
        round(form, r.words, r.seconds);
        round(baseline, r.baselineWords, r.baselineSeconds);
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kestrova;
    std::u16string text =
        platform::Utf8ToUtf16(argc > 1 ? ReadAll(argv[1]) : std::string(kPassage));
    std::vector<std::u16string> tokens = Tokens(text);
    if (tokens.empty()) {
        std::cerr << "bench_morphology: no words in the text\n";
        return 2;
    }
    long before = ResidentKb();
    Clock::time_point t0 = Clock::now();
    const double cpu0 = ThreadSeconds();
    bool ready = MorphologyHolder::Instance().Start();
    double startMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    double startCpuMs = (ThreadSeconds() - cpu0) * 1000.0;
    long after = ResidentKb();
    if (!ready) {
        std::cerr << "bench_morphology: " << MorphologyHolder::Instance().FailureMessage() << "\n";
        return 1;
    }
    PrintFiles();
    MorphologyHolder::Instance().Use([](const Lemmatizer* l) {
        std::printf("forms automaton: %zu nodes, %zu relations\n", l->Forms().NodeCount(),
                    l->Forms().RelationCount());
        std::printf("prediction automaton: %zu nodes, %zu relations\n",
                    l->PredictionBase().NodeCount(), l->PredictionBase().RelationCount());
    });
    std::printf("start-up (decompression and load): %.1f ms (%.1f ms of processor time)\n", startMs,
                startCpuMs);
    std::printf("resident memory: %.1f MB loaded lemmatizer (%.1f MB before, %.1f MB after)\n",
                (after - before) / 1024.0, before / 1024.0, after / 1024.0);

    std::vector<Analysis> scratch;
    Rates r = MeasureRates(
        tokens, [](const std::u16string& t) { return GetDictionaryForm(std::u16string_view(t)); },
        [&](const std::u16string& t) { return FirstAnalysisForm(t, scratch); });
    std::printf(
        "throughput: %.0f words per processor second (%zu tokens in the text, %.0f lookups, "
        "checksum %zu)\n",
        r.words / r.seconds, tokens.size(), r.words, r.checksum);
    std::printf("baseline, the first analysis: %.0f words/s (the chosen analysis costs %.1f%%)\n",
                r.baselineWords / r.baselineSeconds,
                100.0 * (1.0 - (r.words / r.seconds) / (r.baselineWords / r.baselineSeconds)));
    return 0;
}
