#include "model/internal/html_scan.h"

#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "model/internal/model_pool.h"
#include "platform/codepage.h"
#include "platform/path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace kestrova {
namespace {

bool EndsWithNoCase(std::u16string_view name, std::u16string_view suffix) {
    if (name.size() < suffix.size()) return false;
    const std::u16string_view tail = name.substr(name.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        char16_t c = tail[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

class Scanner {
public:
    Scanner(bool includeUnderscore, FileStamps stamps, ModelPool& pool,
            std::vector<FileInfo>& files, IExecControl& control)
        : includeUnderscore_(includeUnderscore),
          stamps_(stamps),
          pool_(pool),
          files_(files),
          control_(control) {}

    // Scans the folder open as `fd` (closed here) whose relative path prefix is `prefix`.
    void Scan(int fd, const std::u16string& prefix) {
        struct stat self {};
        if (::fstat(fd, &self) != 0 || !visited_.emplace(self.st_dev, self.st_ino).second) {
            ::close(fd);
            return;
        }
        DIR* dir = ::fdopendir(fd);
        const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, ::closedir);
        if (!dir) {
            ::close(fd);
            return;
        }
        std::vector<std::pair<std::string, std::u16string>> folders;
        while (dirent* entry = ::readdir(dir)) {
            CheckBreak(control_);
            const std::string native = entry->d_name;
            if (native == "." || native == "..") continue;
            const bool hidden = native[0] == '_' && !includeUnderscore_;
            struct stat st {};
            if (stamps_ == FileStamps::kLeftToReader && entry->d_type == DT_REG) {
                st.st_mode = S_IFREG;  // known from the entry; the reader stamps the file
            } else if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0) {
                continue;
            }
            if (S_ISDIR(st.st_mode)) {
                if (!hidden) folders.emplace_back(native, platform::Utf8ToUtf16(native));
                continue;
            }
            // Pipes, sockets and devices are not pages: opening a pipe would wait for a writer
            // that never comes, and a device may never end.
            if (hidden || !S_ISREG(st.st_mode)) continue;
            const std::u16string name = platform::Utf8ToUtf16(native);
            if (!IsHtmlFileName(name)) continue;
            FileInfo file;
            file.path = pool_.CopyString(prefix + name);
            file.lastWriteTime = platform::FileTimeFromTimespec(st.st_mtim);
            file.size = static_cast<uint32_t>(static_cast<uint64_t>(st.st_size) & 0xFFFFFFFFu);
            files_.push_back(file);
        }
        const int dirFd = ::dirfd(dir);
        for (const auto& [native, name] : folders) {
            CheckBreak(control_);
            const int sub = ::openat(dirFd, native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (sub >= 0) Scan(sub, prefix + name + u'\\');
        }
    }

private:
    const bool includeUnderscore_;
    const FileStamps stamps_;
    ModelPool& pool_;
    std::vector<FileInfo>& files_;
    IExecControl& control_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace

bool IsHtmlFileName(std::u16string_view name) {
    return EndsWithNoCase(name, u".htm") || EndsWithNoCase(name, u".html");
}

void collectHtmlFiles(std::u16string_view folder, bool includeUnderscoreNames, ModelPool& pool,
                      std::vector<FileInfo>& files, IExecControl& control, FileStamps stamps) {
    control.ReportProgress(ExecProgress{kStageScan, -1, -1});
    const int fd = ::open(platform::NativePath(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    Scanner(includeUnderscoreNames, stamps, pool, files, control).Scan(fd, std::u16string());
}

}  // namespace kestrova
