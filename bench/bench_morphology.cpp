// Start-up time, resident memory and throughput of the process-wide lemmatizer.
//
//   bench_morphology [TEXT.utf8]
//
// Tokens are the letter runs of the text (a built-in Russian passage without an argument);
// they go through the dictionary form of a wide word (lock and conversions included), one
// thread, for about two seconds.
#include "platform/codepage.h"
#include "search/morphology/dict_resources.h"
#include "search/morphology/morphology_holder.h"

#include <chrono>
#include <cstdio>
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
    bool ready = MorphologyHolder::Instance().Start();
    double startMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
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
    std::printf("start-up (decompression and load): %.1f ms\n", startMs);
    std::printf("resident memory: %.1f MB loaded lemmatizer (%.1f MB before, %.1f MB after)\n",
                (after - before) / 1024.0, before / 1024.0, after / 1024.0);

    std::size_t words = 0;
    std::size_t checksum = 0;
    Clock::time_point start = Clock::now();
    double seconds = 0;
    while (seconds < 2.0) {
        for (const std::u16string& t : tokens)
            checksum += GetDictionaryForm(std::u16string_view(t)).size();
        words += tokens.size();
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    std::printf("throughput: %.0f words/s (%zu tokens in the text, %zu lookups, checksum %zu)\n",
                words / seconds, tokens.size(), words, checksum);
    return 0;
}
