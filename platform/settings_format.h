// The text form of the per-user settings store (docs/registry.md): keys with typed values,
// parsed and written back. Parsing never fails: it stops at the first line that is not valid
// and keeps what came before it. Not thread-safe; plain values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova::platform {

struct SettingsValue {
    enum class Type { kDword, kString };
    std::u16string name;
    Type type = Type::kDword;
    uint32_t dword = 0;   // when type is kDword
    std::u16string text;  // when type is kString
};

// Lookups go through hash tables, so that reading a file costs time and memory in proportion
// to its size, whatever the number of keys, values or levels of a key path.
struct SettingsKeyData {
    std::u16string path;  // parts joined by '\', as first created
    std::vector<SettingsValue> values;
    // Position in `values` by the upper-cased name; changed by SetValue only.
    std::unordered_map<std::u16string, size_t> valueIndex;
};

struct SettingsData {
    std::vector<SettingsKeyData> keys;  // in file order
    bool damaged = false;               // parsing stopped before the end of the text

    // The key written with a path that equals `path` without regard to letter case, or null.
    SettingsKeyData* FindKey(std::u16string_view path);
    // True when the key is written, or implied as the parent of a written key.
    bool KeyExists(std::u16string_view path) const;
    // That key, written (together with every parent key not written yet) when it is not.
    SettingsKeyData& CreateKey(std::u16string_view path);
    // That key, written alone (its parents stay implied) when it is not.
    SettingsKeyData& AddKey(std::u16string_view path);
    // True when some other key lies below `path`.
    bool HasSubkeys(std::u16string_view path) const;
    // Removes the key and its values; false when it is not there.
    bool RemoveKey(std::u16string_view path);

private:
    void Index(size_t position);
    // Position in `keys` by the upper-cased path.
    std::unordered_map<std::u16string, size_t> keyIndex_;
    // For the hash of each upper-cased proper prefix (ending before a '\') of a key path, the
    // position of a key that has it: a parent is found without listing every prefix, whose
    // lengths would add up to the square of a deep path's length.
    std::unordered_map<uint64_t, size_t> parentIndex_;
};

// The value named `name` (letter case ignored) of a key, or null.
SettingsValue* FindValue(SettingsKeyData& key, std::u16string_view name);
// Sets the value of its name (letter case ignored), replacing one of that name.
void SetValue(SettingsKeyData& key, SettingsValue value);

// True when `path` can name a key: non-empty parts joined by '\', none holding a control
// character or a lone surrogate.
bool IsValidKeyPath(std::u16string_view path);

SettingsData ParseSettings(std::string_view text);
std::string SerializeSettings(const SettingsData& data);

}  // namespace kestrova::platform
