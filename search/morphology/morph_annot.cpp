#include "search/morphology/morph_annot.h"

#include "search/morphology/cexpc.h"
#include "search/morphology/vector_reader.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace kestrova {
namespace {

constexpr int kLongLine = 10240;
constexpr int kShortLine = 256;

std::string_view TrimLineEnd(std::string_view s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string_view TrimBlanks(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// Reads a count line; false when the data end or the line is not a number.
bool ReadCount(MemFile& file, std::size_t& count) {
    char line[kShortLine];
    if (!file.ReadLine(line, kShortLine)) return false;
    std::string_view text = TrimBlanks(line);
    if (text.empty()) return false;
    std::size_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 100000000) return false;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    count = value;
    return true;
}

bool ParseItem(std::string_view text, FlexiaItem& item) {
    std::size_t star = text.find('*');
    if (star == std::string_view::npos) return false;
    item.ending = text.substr(0, star);
    std::string_view rest = text.substr(star + 1);
    std::size_t star2 = rest.find('*');
    item.gramCodes = rest.substr(0, star2);
    item.prefix =
        star2 == std::string_view::npos ? std::string() : std::string(rest.substr(star2 + 1));
    if (item.prefix.find('*') != std::string::npos) return false;
    return !item.gramCodes.empty() && item.gramCodes.size() % 2 == 0;
}

void LoadFlexiaModels(MemFile& file, MorphAnnot& annot) {
    std::size_t count = 0;
    if (!ReadCount(file, count)) throw CExpc("Cannot parse mrd file");
    auto line = std::make_unique<char[]>(kLongLine);
    annot.models.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (!file.ReadLine(line.get(), kLongLine)) throw CExpc("Too few lines in mrd file");
        if (!ParseFlexiaModel(TrimLineEnd(line.get()), annot.models.emplace_back())) {
            char message[64];
            std::snprintf(message, sizeof message, "Cannot parse paradigm No %i",
                          static_cast<int>(i + 1));
            throw CExpc(message);
        }
    }
}

bool ParseAccentModel(std::string_view text, std::vector<std::uint8_t>& accents) {
    accents.clear();
    while (!text.empty()) {
        std::size_t semi = text.find(';');
        if (semi == 0 || semi == std::string_view::npos) return false;
        unsigned value = 0;
        for (char c : text.substr(0, semi)) {
            if (c < '0' || c > '9' || value > 255) return false;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value > 255) return false;
        accents.push_back(static_cast<std::uint8_t>(value));
        text.remove_prefix(semi + 1);
    }
    return true;
}

void LoadAccentModels(MemFile& file, MorphAnnot& annot) {
    std::size_t count = 0;
    if (!ReadCount(file, count)) throw CExpc("Cannot parse mrd file");
    auto line = std::make_unique<char[]>(kLongLine);
    annot.accentModels.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (!file.ReadLine(line.get(), kLongLine)) throw CExpc("Too few lines in mrd file");
        std::string_view text = TrimBlanks(line.get());
        if (!ParseAccentModel(text, annot.accentModels.emplace_back()))
            throw CExpc("Cannot parse line " + std::string(text));
    }
}

void LoadPrefixSets(MemFile& file, MorphAnnot& annot) {
    std::size_t count = 0;
    if (!ReadCount(file, count)) throw CExpc("Cannot parse mrd file");
    char line[kShortLine];
    annot.prefixSets.assign(1, std::string());
    annot.prefixStrings.clear();
    for (std::size_t i = 0; i < count; ++i) {
        if (!file.ReadLine(line, kShortLine)) throw CExpc("Too few lines in mrd file");
        std::string prefix(TrimBlanks(line));
        annot.prefixStrings.insert(prefix);
        annot.prefixSets.push_back(std::move(prefix));
    }
}

}  // namespace

bool ParseFlexiaModel(std::string_view line, FlexiaModel& model) {
    model = FlexiaModel{};
    std::size_t comment = line.find("q//q");
    if (comment != std::string_view::npos) {
        model.comment = line.substr(comment + 4);
        line = line.substr(0, comment);
    }
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '%') return false;
    line.remove_prefix(1);
    while (true) {
        std::size_t next = line.find('%');
        FlexiaItem item;
        if (!ParseItem(line.substr(0, next), item)) return false;
        model.items.push_back(std::move(item));
        if (next == std::string_view::npos) break;
        line.remove_prefix(next + 1);
    }
    return model.items.size() <= 512;
}

void LoadMorphAnnot(MemFile& file, MorphAnnot& annot) {
    LoadFlexiaModels(file, annot);
    LoadAccentModels(file, annot);
    LoadPrefixSets(file, annot);
    std::size_t count = 0;
    if (!ReadCount(file, count)) throw CExpc("Cannot parse mrd file");
    ReadVectorInner(file, annot.lemmas, count);
    if (!ReadCount(file, count)) throw CExpc("Cannot parse mrd file");
    ReadVectorInner(file, annot.flags, count);
}

}  // namespace kestrova
