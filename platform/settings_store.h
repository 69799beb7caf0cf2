// The per-user settings store that plays the current user's registry hive.
//
// Keys are paths of parts joined by '\' ("Software\Kestrova\DevMode"); each key holds named
// values of type DWORD (32-bit number) or SZ (string). Key paths and value names ignore letter
// case, as the registry does; the case first used is kept. The store is one text file,
// $XDG_CONFIG_HOME/Kestrova/registry (default ~/.config/Kestrova/registry), described in
// docs/registry.md. Every operation reads the file afresh. Every change reads, changes and
// rewrites it under an exclusive lock on "registry.lock" beside it, writing a temporary file
// and renaming it over the old one: concurrent processes never lose each other's values and a
// crash never leaves half a file. A damaged file is read as far as it is valid; before the
// first change rewrites it, its bytes are kept in "registry.damaged".
//
// Failures never throw: reads answer "missing", changes answer false. Thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova::platform {

struct SettingsData;
struct SettingsValue;

class SettingsStore {
public:
    // The store of the current user.
    SettingsStore();
    // A store kept in `file`.
    explicit SettingsStore(std::string file);

    const std::string& File() const { return file_; }
    // $XDG_CONFIG_HOME/Kestrova/registry, else ~/.config/Kestrova/registry; empty when no
    // home folder can be found.
    static std::string DefaultFile();

    // True when the key exists.
    bool KeyExists(std::u16string_view key) const;
    // Makes the key and its missing parents; true when it exists afterwards.
    bool CreateKey(std::u16string_view key) const;
    // The value when it exists and is a DWORD.
    std::optional<uint32_t> ReadDword(std::u16string_view key, std::u16string_view name) const;
    // The value when it exists and is a string.
    std::optional<std::u16string> ReadString(std::u16string_view key,
                                             std::u16string_view name) const;
    // Sets a value (replacing one of either type), making the key when it is missing.
    bool WriteDword(std::u16string_view key, std::u16string_view name, uint32_t value) const;
    bool WriteString(std::u16string_view key, std::u16string_view name,
                     std::u16string_view value) const;
    // Deletes a key with its values; false when it is missing or still has subkeys.
    bool DeleteKey(std::u16string_view key) const;

private:
    template <typename Change>
    bool Modify(Change change) const;
    std::optional<SettingsData> Load(std::string* bytes = nullptr) const;
    bool WriteValue(std::u16string_view key, SettingsValue value) const;

    std::string file_;
};

// An open key: the handle form of the same operations, for code that reads or writes
// several values of one key.
class SettingsKey {
public:
    // Opens `path`; with `create` the key is made when missing. nullopt when the key does
    // not exist (or, with create, cannot be made).
    static std::optional<SettingsKey> Open(const SettingsStore& store, std::u16string_view path,
                                           bool create);

    const std::u16string& Path() const { return path_; }
    std::optional<uint32_t> ReadDword(std::u16string_view name) const;
    std::optional<std::u16string> ReadString(std::u16string_view name) const;
    bool WriteDword(std::u16string_view name, uint32_t value) const;
    bool WriteString(std::u16string_view name, std::u16string_view value) const;

private:
    SettingsKey(const SettingsStore& store, std::u16string_view path)
        : store_(store), path_(path) {}

    SettingsStore store_;
    std::u16string path_;
};

}  // namespace kestrova::platform
