#include "search/morphology/mem_file_registry.h"

#include <algorithm>
#include <stdexcept>

namespace kestrova {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool MemFileRegistry::NoCaseLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(AsciiLower(x)) <
               static_cast<unsigned char>(AsciiLower(y));
    });
}

MemFileRegistry& MemFileRegistry::Instance() {
    static MemFileRegistry registry;
    return registry;
}

void MemFileRegistry::Register(std::string name, const std::uint8_t* data, std::size_t size) {
    if (files_.find(name) != files_.end()) {
        throw std::runtime_error("duplicate file in MemFileRegistry");
    }
    files_.emplace(std::move(name), Entry{data, size});
}

bool MemFileRegistry::Contains(std::string_view name) const {
    return files_.find(name) != files_.end();
}

std::unique_ptr<MemFile> MemFileRegistry::Open(std::string_view name, std::string_view mode) const {
    auto it = files_.find(name);
    if (it == files_.end()) throw std::runtime_error("file not found in MemFileRegistry");
    bool binary = mode.find('b') != std::string_view::npos;
    return std::make_unique<MemFile>(std::string(name), it->second.data, it->second.size, binary);
}

}  // namespace kestrova
