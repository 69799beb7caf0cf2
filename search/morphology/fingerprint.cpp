#include "search/morphology/fingerprint.h"

#include <cstdio>

namespace kestrova {

void Fingerprint::Add(std::string_view bytes) {
    for (unsigned char c : bytes) {
        hash_ ^= c;
        hash_ *= 0x100000001b3ull;
    }
}

void Fingerprint::Add(std::uint64_t value) {
    char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    Add(std::string_view(bytes, sizeof bytes));
}

std::string Fingerprint::Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
}

std::string MorphologyFingerprint(const ResourceFinder& finder) {
    Fingerprint dictionaries;
    for (const DictResource& r : kDictResources) {
        std::optional<ModuleResource> found = finder(r.id, kDictResourceType);
        dictionaries.Add(static_cast<std::uint64_t>(r.id));
        dictionaries.Add(static_cast<std::uint64_t>(found ? found->size : 0));
        if (found)
            dictionaries.Add(
                std::string_view(reinterpret_cast<const char*>(found->data), found->size));
    }
    return "dictionaries " + dictionaries.Hex() + "; choice " + std::string(kDictionaryFormRule);
}

const std::string& MorphologyFingerprint() {
    static const std::string fingerprint = MorphologyFingerprint(FindModuleResource);
    return fingerprint;
}

}  // namespace kestrova
