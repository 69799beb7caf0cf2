#include "platform/settings_format.h"

#include "platform/text.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace kestrova::platform {
namespace {

constexpr std::string_view kHeader = "; Kestrova per-user settings\n";
constexpr std::string_view kDwordPrefix = "dword:";

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ToUpper(a[i]) != ToUpper(b[i])) return false;
    }
    return true;
}

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7f; }

// FNV-1a over UTF-16 code units, for the table of parent keys.
constexpr uint64_t kHashStart = 14695981039346656037ull;
uint64_t HashStep(uint64_t hash, char16_t c) {
    hash = (hash ^ (c & 0xFF)) * 1099511628211ull;
    return (hash ^ (c >> 8)) * 1099511628211ull;
}

void AppendUtf8(std::string& out, char32_t c) {
    char buffer[4];
    int32_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, c);
    out.append(buffer, static_cast<size_t>(length));
}

void AppendUnitEscape(std::string& out, char16_t unit) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xf];
}

// UTF-16 text as UTF-8; lone surrogates cannot be UTF-8, so in quoted text they are escaped.
void AppendText(std::string& out, std::u16string_view text, bool quoted) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (quoted) {
            switch (c) {
                case u'\\':
                    out += "\\\\";
                    continue;
                case u'"':
                    out += "\\\"";
                    continue;
                case u'\n':
                    out += "\\n";
                    continue;
                case u'\r':
                    out += "\\r";
                    continue;
                case u'\t':
                    out += "\\t";
                    continue;
                default:
                    break;
            }
        }
        if (U16_IS_LEAD(c) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
            AppendUtf8(out, U16_GET_SUPPLEMENTARY(c, text[i + 1]));
            ++i;
        } else if (quoted && (IsControl(c) || U16_IS_SURROGATE(c))) {
            AppendUnitEscape(out, c);
        } else {
            AppendUtf8(out, c);
        }
    }
}

void AppendQuoted(std::string& out, std::u16string_view text) {
    out += '"';
    AppendText(out, text, true);
    out += '"';
}

void AppendUnit(std::u16string& out, char32_t c) {
    if (c <= 0xffff) {
        out += static_cast<char16_t>(c);
    } else {
        out += U16_LEAD(c);
        out += U16_TRAIL(c);
    }
}

// Strict UTF-8 to UTF-16; nullopt for any ill-formed sequence.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = static_cast<int32_t>(bytes.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0) return std::nullopt;
        AppendUnit(out, static_cast<char32_t>(c));
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<uint32_t> ParseHex(std::string_view digits) {
    uint32_t value = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

std::optional<char16_t> ParseEscape(std::string_view line, size_t& pos) {
    if (pos >= line.size()) return std::nullopt;
    switch (line[pos++]) {
        case '\\':
            return u'\\';
        case '"':
            return u'"';
        case 'n':
            return u'\n';
        case 'r':
            return u'\r';
        case 't':
            return u'\t';
        case 'u': {
            if (line.size() - pos < 4) return std::nullopt;
            auto unit = ParseHex(line.substr(pos, 4));
            pos += 4;
            if (!unit) return std::nullopt;
            return static_cast<char16_t>(*unit);
        }
        default:
            return std::nullopt;
    }
}

// A quoted text starting at line[pos] == '"'; on success pos is just past the closing quote.
std::optional<std::u16string> ParseQuoted(std::string_view line, size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::u16string text;
    size_t run = ++pos;  // start of the current stretch of plain characters
    auto flush = [&]() {
        auto plain = DecodeUtf8(line.substr(run, pos - run));
        if (plain) text += *plain;
        return plain.has_value();
    };
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == '"' || c == '\\') {
            if (!flush()) return std::nullopt;
            ++pos;
            if (c == '"') return text;
            auto unit = ParseEscape(line, pos);
            if (!unit) return std::nullopt;
            text += *unit;
            run = pos;
        } else if (IsControl(static_cast<unsigned char>(c))) {
            return std::nullopt;
        } else {
            ++pos;
        }
    }
    return std::nullopt;  // no closing quote: the line was cut
}

std::optional<SettingsValue> ParseValueLine(std::string_view line) {
    size_t pos = 0;
    SettingsValue value;
    auto name = ParseQuoted(line, pos);
    if (!name || pos >= line.size() || line[pos] != '=') return std::nullopt;
    value.name = std::move(*name);
    std::string_view data = line.substr(pos + 1);
    if (data.starts_with(kDwordPrefix)) {
        // Exactly eight digits, so that a line cut short is never read as a smaller number.
        std::string_view digits = data.substr(kDwordPrefix.size());
        auto number = digits.size() == 8 ? ParseHex(digits) : std::nullopt;
        if (!number) return std::nullopt;
        value.type = SettingsValue::Type::kDword;
        value.dword = *number;
        return value;
    }
    pos = 0;
    auto text = ParseQuoted(data, pos);
    if (!text || pos != data.size()) return std::nullopt;
    value.type = SettingsValue::Type::kString;
    value.text = std::move(*text);
    return value;
}

// Applies one line; false when the line is not valid.
bool ParseLine(std::string_view line, SettingsData& data, SettingsKeyData*& current) {
    if (line.empty() || line[0] == ';') return true;
    if (line[0] == '[') {
        if (line.size() < 2 || line.back() != ']') return false;
        auto path = DecodeUtf8(line.substr(1, line.size() - 2));
        if (!path || !IsValidKeyPath(*path)) return false;
        current = &data.AddKey(*path);
        return true;
    }
    if (line[0] != '"' || current == nullptr) return false;
    auto value = ParseValueLine(line);
    if (!value) return false;
    SetValue(*current, std::move(*value));
    return true;
}

}  // namespace

SettingsKeyData* SettingsData::FindKey(std::u16string_view path) {
    const auto found = keyIndex_.find(ToUpper(path));
    return found == keyIndex_.end() ? nullptr : &keys[found->second];
}

bool SettingsData::KeyExists(std::u16string_view path) const {
    return keyIndex_.count(ToUpper(path)) != 0 || HasSubkeys(path);
}

SettingsKeyData& SettingsData::AddKey(std::u16string_view path) {
    if (SettingsKeyData* key = FindKey(path)) return *key;
    keys.push_back({std::u16string(path), {}, {}});
    Index(keys.size() - 1);
    return keys.back();
}

SettingsKeyData& SettingsData::CreateKey(std::u16string_view path) {
    for (size_t end = path.find(u'\\'); end != std::u16string_view::npos;
         end = path.find(u'\\', end + 1)) {
        AddKey(path.substr(0, end));
    }
    return AddKey(path);
}

void SettingsData::Index(size_t position) {
    const std::u16string& path = keys[position].path;
    uint64_t hash = kHashStart;
    for (const char16_t c : path) {
        if (c == u'\\') parentIndex_.try_emplace(hash, position);
        hash = HashStep(hash, ToUpper(c));
    }
    keyIndex_.try_emplace(ToUpper(path), position);
}

bool SettingsData::HasSubkeys(std::u16string_view path) const {
    uint64_t hash = kHashStart;
    for (const char16_t c : path) hash = HashStep(hash, ToUpper(c));
    const auto found = parentIndex_.find(hash);
    if (found == parentIndex_.end()) return false;
    // The hash names the prefix; the key it leads to shows that it is this one.
    const std::u16string& below = keys[found->second].path;
    return below.size() > path.size() && below[path.size()] == u'\\' &&
           EqualsNoCase(std::u16string_view(below).substr(0, path.size()), path);
}

bool SettingsData::RemoveKey(std::u16string_view path) {
    SettingsKeyData* key = FindKey(path);
    if (key == nullptr) return false;
    keys.erase(keys.begin() + (key - keys.data()));
    keyIndex_.clear();
    parentIndex_.clear();
    for (size_t i = 0; i < keys.size(); ++i) Index(i);
    return true;
}

SettingsValue* FindValue(SettingsKeyData& key, std::u16string_view name) {
    const auto found = key.valueIndex.find(ToUpper(name));
    return found == key.valueIndex.end() ? nullptr : &key.values[found->second];
}

void SetValue(SettingsKeyData& key, SettingsValue value) {
    const auto [found, added] = key.valueIndex.try_emplace(ToUpper(value.name), key.values.size());
    if (added)
        key.values.push_back(std::move(value));
    else
        key.values[found->second] = std::move(value);
}

bool IsValidKeyPath(std::u16string_view path) {
    size_t partLength = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const char16_t c = path[i];
        if (c == u'\\') {
            if (partLength == 0) return false;
            partLength = 0;
            continue;
        }
        if (IsControl(c)) return false;
        if (U16_IS_LEAD(c) && i + 1 < path.size() && U16_IS_TRAIL(path[i + 1])) {
            ++i;
        } else if (U16_IS_SURROGATE(c)) {
            return false;
        }
        ++partLength;
    }
    return partLength > 0;
}

SettingsData ParseSettings(std::string_view text) {
    SettingsData data;
    SettingsKeyData* current = nullptr;
    while (!text.empty()) {
        // Every line form is self-delimiting (closing quote, eight digits, closing bracket),
        // so a last line that was cut short is refused like any other invalid line.
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!ParseLine(line, data, current)) {
            data.damaged = true;
            break;
        }
    }
    return data;
}

std::string SerializeSettings(const SettingsData& data) {
    std::string out(kHeader);
    for (const SettingsKeyData& key : data.keys) {
        out += "\n[";
        AppendText(out, key.path, false);
        out += "]\n";
        for (const SettingsValue& value : key.values) {
            AppendQuoted(out, value.name);
            out += '=';
            if (value.type == SettingsValue::Type::kDword) {
                char digits[9];
                std::snprintf(digits, sizeof digits, "%08x", value.dword);
                out += kDwordPrefix;
                out += digits;
            } else {
                AppendQuoted(out, value.text);
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace kestrova::platform
