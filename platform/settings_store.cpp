#include "platform/settings_store.h"

#include "platform/atomic_file.h"
#include "platform/file.h"
#include "platform/io_error.h"
#include "platform/settings_format.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace kestrova::platform {
namespace {

// Settings are small; anything beyond this is damage and is read no further.
constexpr size_t kMaxFileBytes = 16 << 20;

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return {};
}

// The exclusive lock that spans one read-change-rewrite; released when the object goes.
class ChangeLock {
public:
    explicit ChangeLock(const std::string& path) {
        fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) return;
        int result;
        do {
            result = flock(fd_, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~ChangeLock() {
        if (fd_ >= 0) close(fd_);
    }
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace

SettingsStore::SettingsStore() : file_(DefaultFile()) {}

SettingsStore::SettingsStore(std::string file) : file_(std::move(file)) {}

std::string SettingsStore::DefaultFile() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else if (std::string home = HomeFolder(); !home.empty()) {
        config = home + "/.config";
    } else {
        return {};
    }
    return config + "/Kestrova/registry";
}

std::optional<SettingsData> SettingsStore::Load(std::string* bytes) const {
    if (file_.empty()) return std::nullopt;
    std::string text;
    try {
        text = ReadWholeFile(file_, kMaxFileBytes);
    } catch (const io_error& error) {
        // A missing file is an empty store; any other failure must not pass for one, or the
        // next change would wipe what the file holds.
        if (error.code() != ENOENT) return std::nullopt;
    }
    SettingsData data = ParseSettings(text);
    if (bytes != nullptr) *bytes = std::move(text);
    return data;
}

template <typename Change>
bool SettingsStore::Modify(Change change) const {
    if (file_.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), error);
    ChangeLock lock(file_ + ".lock");
    if (!lock.Held()) return false;
    std::string bytes;
    std::optional<SettingsData> data = Load(&bytes);
    if (!data || !change(*data)) return false;
    try {
        if (data->damaged) ReplaceFileContents(file_ + ".damaged", bytes);
        ReplaceFileContents(file_, SerializeSettings(*data));
    } catch (const io_error&) {
        return false;
    }
    return true;
}

bool SettingsStore::KeyExists(std::u16string_view key) const {
    std::optional<SettingsData> data = Load();
    return data && data->KeyExists(key);
}

bool SettingsStore::CreateKey(std::u16string_view key) const {
    if (!IsValidKeyPath(key)) return false;
    if (KeyExists(key)) return true;
    return Modify([&](SettingsData& data) {
        data.CreateKey(key);
        return true;
    });
}

std::optional<uint32_t> SettingsStore::ReadDword(std::u16string_view key,
                                                 std::u16string_view name) const {
    std::optional<SettingsData> data = Load();
    SettingsKeyData* found = data ? data->FindKey(key) : nullptr;
    SettingsValue* value = found ? FindValue(*found, name) : nullptr;
    if (value == nullptr || value->type != SettingsValue::Type::kDword) return std::nullopt;
    return value->dword;
}

std::optional<std::u16string> SettingsStore::ReadString(std::u16string_view key,
                                                        std::u16string_view name) const {
    std::optional<SettingsData> data = Load();
    SettingsKeyData* found = data ? data->FindKey(key) : nullptr;
    SettingsValue* value = found ? FindValue(*found, name) : nullptr;
    if (value == nullptr || value->type != SettingsValue::Type::kString) return std::nullopt;
    return std::move(value->text);
}

bool SettingsStore::WriteValue(std::u16string_view key, SettingsValue written) const {
    return IsValidKeyPath(key) && Modify([&](SettingsData& data) {
               SettingsKeyData& target = data.CreateKey(key);
               if (SettingsValue* old = FindValue(target, written.name))
                   written.name = old->name;  // the name keeps the case it was made with
               SetValue(target, std::move(written));
               return true;
           });
}

bool SettingsStore::WriteDword(std::u16string_view key, std::u16string_view name,
                               uint32_t value) const {
    return WriteValue(key, {std::u16string(name), SettingsValue::Type::kDword, value, {}});
}

bool SettingsStore::WriteString(std::u16string_view key, std::u16string_view name,
                                std::u16string_view value) const {
    return WriteValue(
        key, {std::u16string(name), SettingsValue::Type::kString, 0, std::u16string(value)});
}

bool SettingsStore::DeleteKey(std::u16string_view key) const {
    return Modify([&](SettingsData& data) { return !data.HasSubkeys(key) && data.RemoveKey(key); });
}

std::optional<SettingsKey> SettingsKey::Open(const SettingsStore& store, std::u16string_view path,
                                             bool create) {
    if (create ? !store.CreateKey(path) : !store.KeyExists(path)) return std::nullopt;
    return SettingsKey(store, path);
}

std::optional<uint32_t> SettingsKey::ReadDword(std::u16string_view name) const {
    return store_.ReadDword(path_, name);
}

std::optional<std::u16string> SettingsKey::ReadString(std::u16string_view name) const {
    return store_.ReadString(path_, name);
}

bool SettingsKey::WriteDword(std::u16string_view name, uint32_t value) const {
    return store_.WriteDword(path_, name, value);
}

bool SettingsKey::WriteString(std::u16string_view name, std::u16string_view value) const {
    return store_.WriteString(path_, name, value);
}

}  // namespace kestrova::platform
