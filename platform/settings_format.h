// The text form of the per-user settings store (docs/registry.md): keys with typed values,
// parsed and written back. Parsing never fails: it stops at the first line that is not valid
// and keeps what came before it. Not thread-safe; plain values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::platform {

struct SettingsValue {
    enum class Type { kDword, kString };
    std::u16string name;
    Type type = Type::kDword;
    uint32_t dword = 0;   // when type is kDword
    std::u16string text;  // when type is kString
};

struct SettingsKeyData {
    std::u16string path;  // parts joined by '\', as first created
    std::vector<SettingsValue> values;
};

struct SettingsData {
    std::vector<SettingsKeyData> keys;  // in file order
    bool damaged = false;               // parsing stopped before the end of the text

    // The key whose path equals `path` without regard to letter case, or null.
    SettingsKeyData* FindKey(std::u16string_view path);
    // That key, made (together with every missing parent key) when it is not there.
    SettingsKeyData& CreateKey(std::u16string_view path);
    // True when some other key lies below `path`.
    bool HasSubkeys(std::u16string_view path) const;
    // Removes the key and its values; false when it is not there.
    bool RemoveKey(std::u16string_view path);
};

// The value named `name` (letter case ignored) of a key, or null.
SettingsValue* FindValue(SettingsKeyData& key, std::u16string_view name);

// True when `path` can name a key: non-empty parts joined by '\', none holding a control
// character or a lone surrogate.
bool IsValidKeyPath(std::u16string_view path);

SettingsData ParseSettings(std::string_view text);
std::string SerializeSettings(const SettingsData& data);

}  // namespace kestrova::platform
