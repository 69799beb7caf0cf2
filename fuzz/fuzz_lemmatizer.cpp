// Loads a lemmatizer from hostile dictionary files and analyses hostile words.
// Input: the plain files morph.annot, morph.bases, morph.forms_autom, npredict.bin, a word
// list, chomoweight.bin and cwordweight.bin, separated by the byte 0x01 0x02 0x03 0x04.
#include "search/morphology/lemmatizer.h"
#include "search/morphology/mem_file_registry.h"
#include "search/morphology/morphology_holder.h"

#include <lzma.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Compress(const std::string& plain) {
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 0);
    options.ext_flags = 0;
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    lzma_stream s = LZMA_STREAM_INIT;
    if (lzma_raw_encoder(&s, filters) != LZMA_OK) return {};
    std::string out(plain.size() + plain.size() / 2 + 1024, '\0');
    s.next_in = reinterpret_cast<const std::uint8_t*>(plain.data());
    s.avail_in = plain.size();
    s.next_out = reinterpret_cast<std::uint8_t*>(out.data());
    s.avail_out = out.size();
    if (lzma_code(&s, LZMA_FINISH) != LZMA_STREAM_END) s.avail_out = out.size();
    out.resize(out.size() - s.avail_out);
    lzma_end(&s);
    std::string header(13, '\0');
    header[0] = 0x5D;
    header[3] = 0x80;  // 8 MiB
    for (int i = 0; i < 8; ++i)
        header[5 + i] = static_cast<char>((std::uint64_t(plain.size()) >> (8 * i)) & 0xFF);
    return header + out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string separator("\x01\x02\x03\x04", 4);
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        std::size_t next = input.find(separator, start);
        parts.push_back(input.substr(start, next - start));
        if (next == std::string::npos) break;
        start = next + separator.size();
    }
    parts.resize(7);
    const char* names[] = {"rus/morph.annot",    "rus/morph.bases", "rus/morph.forms_autom",
                           "rus/npredict.bin",   nullptr,           "rus/chomoweight.bin",
                           "rus/cwordweight.bin"};
    std::map<std::string, std::string> files;
    for (int i = 0; i < 7; ++i) {
        if (names[i]) files[names[i]] = Compress(parts[i]);
    }
    files["rus/morph.options"] = Compress("");
    kestrova::MemFileRegistry registry;
    for (const auto& [name, packed] : files) {
        registry.Register(name, reinterpret_cast<const std::uint8_t*>(packed.data()),
                          packed.size());
    }
    kestrova::Lemmatizer lemmatizer(
        [&](const std::string& name, const char* mode) -> std::unique_ptr<kestrova::MemFile> {
            return registry.Contains(name) ? registry.Open(name, mode) : nullptr;
        },
        [](std::string_view) -> std::string { return "Rus/"; });
    std::string message;
    if (!lemmatizer.LoadDictionary(message)) return 0;
    lemmatizer.LoadStatistics('c');
    std::vector<kestrova::Analysis> analyses;
    std::string& words = parts[4];
    for (std::size_t start = 0; start < words.size();) {
        std::size_t end = words.find('\n', start);
        if (end == std::string::npos) end = words.size();
        lemmatizer.Analyse(std::string_view(words).substr(start, end - start), false, false, true,
                           analyses);
        for (const kestrova::Analysis& a : analyses) lemmatizer.NormalForm(a);
        if (!analyses.empty()) kestrova::ChosenAnalysis(lemmatizer, analyses);
        start = end + 1;
    }
    return 0;
}
