#include "model/data_folder.h"

#include "platform/atomic_file.h"
#include "platform/codepage.h"
#include "platform/io_error.h"
#include "platform/path.h"
#include "platform/settings_store.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

namespace kestrova {
namespace {

constexpr char kMagic[4] = {'K', 'S', 'V', 'F'};
constexpr size_t kEntryHead = 16 + 4;

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t GetU32(const char* p) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{static_cast<unsigned char>(p[i])} << (8 * i);
    return v;
}

uint64_t Hash64(std::u16string_view text) {
    uint64_t h = 14695981039346656037ull;
    for (char16_t c : text) {
        h = (h ^ (c & 0xFF)) * 1099511628211ull;
        h = (h ^ (c >> 8)) * 1099511628211ull;
    }
    return h;
}

void SetError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

// The list in folders.bin: nullopt when the file exists but cannot be read.
std::optional<std::vector<FolderEntry>> ReadFolderList(const std::string& path,
                                                       const OpenRetry& retry, std::string* error) {
    platform::File file;
    const auto result = OpenWithRetry(file, path, platform::File::Access::kReadShared, retry);
    if (result == platform::File::OpenResult::kNotFound) return std::vector<FolderEntry>{};
    if (result != platform::File::OpenResult::kOk) {
        SetError(error, path + ": can't open folder list for reading (" +
                            std::strerror(file.LastError()) + ")");
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const long long got = file.Read(buffer, sizeof buffer);
        if (got < 0) {
            SetError(error, path + ": read error (" + std::strerror(file.LastError()) + ")");
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    return ParseFolderList(bytes);
}

const FolderEntry* Find(const std::vector<FolderEntry>& list, const std::u16string& key) {
    for (const FolderEntry& e : list) {
        if (e.key == key) return &e;
    }
    return nullptr;
}

// Adds the entry under the list's lock file, unless another process added it meanwhile.
std::optional<platform::Uuid> AddEntry(const std::string& base, const std::u16string& key,
                                       const OpenRetry& retry, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(base, ec);
    const std::string listPath = base + "/folders.bin";
    platform::File lock;
    if (OpenWithRetry(lock, base + "/folders.lock", platform::File::Access::kWriteExclusive,
                      retry) != platform::File::OpenResult::kOk) {
        SetError(error, listPath + ": can't open folder list for writing");
        return std::nullopt;
    }
    auto list = ReadFolderList(listPath, retry, error);
    if (!list) return std::nullopt;
    if (const FolderEntry* found = Find(*list, key)) return found->guid;
    list->push_back(FolderEntry{platform::CreateUuid(), key});
    try {
        platform::ReplaceFileContents(listPath, SerializeFolderList(*list));
    } catch (const platform::io_error& e) {
        SetError(error, listPath + ": can't open folder list for writing (" + e.what() + ")");
        return std::nullopt;
    }
    return list->back().guid;
}

}  // namespace

void ReadDevModeOptions(DevModeOptions& options) {
    options = DevModeOptions{};
    const platform::SettingsStore store;
    const std::u16string_view key = u"Software\\Kestrova\\DevMode";
    if (!store.KeyExists(key)) return;
    const auto includeLul = store.ReadDword(key, u"IncludeLUL");
    const auto contentDetails = store.ReadDword(key, u"ContentDetails");
    options.IncludeLUL = includeLul && *includeLul != 0;
    options.ContentDetails = contentDetails && *contentDetails != 0;
}

std::string BaseFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::string(data) + "/Kestrova";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share/Kestrova";
    return std::string();
}

std::u16string FolderKey(std::u16string_view pageFolder) {
    std::u16string key = platform::NormalizePath(pageFolder);
    if (key.size() <= kMaxFolderKey) return key;
    static constexpr char kHex[] = "0123456789abcdef";
    const uint64_t hash = Hash64(key);
    key.resize(kMaxFolderKey - 17);
    key.push_back(u'|');
    for (int i = 15; i >= 0; --i)
        key.push_back(static_cast<char16_t>(kHex[(hash >> (4 * i)) & 0xF]));
    return key;
}

std::vector<FolderEntry> ParseFolderList(std::string_view bytes) {
    std::vector<FolderEntry> list;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), kMagic, 4) != 0) return list;
    const uint32_t count = GetU32(bytes.data() + 8);
    size_t pos = 12;
    for (uint32_t i = 0; i < count && bytes.size() - pos >= kEntryHead; ++i) {
        FolderEntry entry;
        std::memcpy(entry.guid.bytes.data(), bytes.data() + pos, 16);
        const uint32_t length = GetU32(bytes.data() + pos + 16);
        if (length > kMaxFolderKey || bytes.size() - pos - kEntryHead < 2 * size_t{length}) break;
        const char* text = bytes.data() + pos + kEntryHead;
        entry.key.resize(length);
        for (uint32_t c = 0; c < length; ++c) {
            entry.key[c] =
                static_cast<char16_t>(static_cast<unsigned char>(text[2 * c]) |
                                      (static_cast<unsigned char>(text[2 * c + 1]) << 8));
        }
        pos += kEntryHead + 2 * size_t{length};
        list.push_back(std::move(entry));
    }
    return list;
}

std::string SerializeFolderList(const std::vector<FolderEntry>& entries) {
    std::string out(kMagic, 4);
    PutU32(out, 0);
    PutU32(out, static_cast<uint32_t>(entries.size()));
    for (const FolderEntry& e : entries) {
        out.append(reinterpret_cast<const char*>(e.guid.bytes.data()), 16);
        const size_t length = std::min(e.key.size(), kMaxFolderKey);
        PutU32(out, static_cast<uint32_t>(length));
        for (size_t c = 0; c < length; ++c) {
            out.push_back(static_cast<char>(e.key[c] & 0xFF));
            out.push_back(static_cast<char>(e.key[c] >> 8));
        }
    }
    return out;
}

bool GetDataFolder(std::u16string_view pageFolder, std::u16string& dataFolder, std::string* error,
                   const OpenRetry& retry) {
    const std::string base = BaseFolder();
    if (base.empty()) {
        SetError(error, "no per-user data folder: neither XDG_DATA_HOME nor HOME is set");
        return false;
    }
    const std::u16string key = FolderKey(pageFolder);
    auto list = ReadFolderList(base + "/folders.bin", retry, error);
    if (!list) return false;
    std::optional<platform::Uuid> guid;
    if (const FolderEntry* found = Find(*list, key)) {
        guid = found->guid;
    } else {
        guid = AddEntry(base, key, retry, error);
        if (!guid) return false;
    }
    dataFolder = platform::PathFromNative(base) + u'/' + platform::UuidToString(*guid);
    return true;
}

}  // namespace kestrova
