#include "model/internal/html_scan.h"

#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "model/internal/model_pool.h"
#include "model/page/log.h"
#include "platform/codepage.h"
#include "platform/path.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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

// Where a link leads, resolved: empty when it cannot be resolved.
std::string RealPath(const std::string& path) {
    const std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
    return real ? std::string(real.get()) : std::string();
}

bool IsWithin(const std::string& path, const std::string& root) {
    if (root == "/") return true;
    return path.size() >= root.size() && path.compare(0, root.size(), root) == 0 &&
           (path.size() == root.size() || path[root.size()] == '/');
}

class Scanner {
public:
    Scanner(bool includeUnderscore, FileStamps stamps, ModelPool& pool,
            std::vector<FileInfo>& files, IExecControl& control, ILog* log, std::string root)
        : includeUnderscore_(includeUnderscore),
          stamps_(stamps),
          pool_(pool),
          files_(files),
          control_(control),
          log_(log),
          root_(std::move(root)),
          realRoot_(RealPath(root_)) {}

    // Scans the folder open as `fd` (closed here) whose relative path prefix is `prefix` and
    // whose native path is `native`.
    void Scan(int fd, const std::u16string& prefix, const std::string& native) {
        struct stat self {};
        if (::fstat(fd, &self) != 0 || !visited_.emplace(self.st_dev, self.st_ino).second) {
            ::close(fd);
            return;
        }
        DIR* dir = ::fdopendir(fd);
        const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, ::closedir);
        if (!dir) {
            Report(native, "cannot open folder", errno);
            ::close(fd);
            return;
        }
        std::vector<std::pair<std::string, std::u16string>> folders;
        errno = 0;
        while (dirent* entry = ::readdir(dir)) {
            CheckBreak(control_);
            Entry(dir, *entry, prefix, native, folders);
            errno = 0;
        }
        if (errno != 0) Report(native, "cannot read folder", errno);
        const int dirFd = ::dirfd(dir);
        for (const auto& [name, path] : folders) {
            CheckBreak(control_);
            const std::string sub = native + '/' + name;
            const int subFd = ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (subFd < 0) {
                Report(sub, "cannot open folder", errno);
                continue;
            }
            Scan(subFd, prefix + path + u'\\', sub);
        }
    }

private:
    void Entry(DIR* dir, const dirent& entry, const std::u16string& prefix,
               const std::string& native,
               std::vector<std::pair<std::string, std::u16string>>& folders) {
        const std::string name = entry.d_name;
        if (name == "." || name == "..") return;
        const bool hidden = name[0] == '_' && !includeUnderscore_;
        if (hidden) return;
        struct stat st {};
        if (stamps_ == FileStamps::kLeftToReader && entry.d_type == DT_REG) {
            st.st_mode = S_IFREG;  // known from the entry; the reader stamps the file
        } else if (::fstatat(::dirfd(dir), entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            Report(native + '/' + name, "cannot read folder entry", errno);
            return;
        } else if (S_ISLNK(st.st_mode)) {
            if (!FollowLink(::dirfd(dir), name, native + '/' + name, st)) return;
        }
        if (S_ISDIR(st.st_mode)) {
            folders.emplace_back(name, platform::PathFromNative(name));
            return;
        }
        // Pipes, sockets and devices are not pages: opening a pipe would wait for a writer
        // that never comes, and a device may never end.
        if (!S_ISREG(st.st_mode)) return;
        const std::u16string path = platform::PathFromNative(name);
        if (!IsHtmlFileName(path)) return;
        FileInfo file;
        file.path = pool_.CopyString(prefix + path);
        file.lastWriteTime = platform::FileTimeFromTimespec(st.st_mtim);
        file.size = static_cast<uint32_t>(static_cast<uint64_t>(st.st_size) & 0xFFFFFFFFu);
        files_.push_back(file);
    }

    // A symbolic link is followed only when it leads to something inside the page folder: a
    // link to "/" would otherwise take the scan through the whole file system. `st` receives
    // what the link leads to; false when it is not to be followed (logged).
    bool FollowLink(int dirFd, const std::string& name, const std::string& path, struct stat& st) {
        const std::string target = RealPath(path);
        if (target.empty() || ::fstatat(dirFd, name.c_str(), &st, 0) != 0) {
            Report(path, "cannot follow link", errno);
            return false;
        }
        if (!realRoot_.empty() && !IsWithin(target, realRoot_)) {
            if (log_ != nullptr) {
                log_->WriteFormat("%S: %s", platform::PathFromNative(path).c_str(),
                                  "link leads outside the page folder, not followed");
            }
            return false;
        }
        return true;
    }

    // One line "PATH: WHAT (REASON)" in the log, when there is one.
    void Report(const std::string& path, const char* what, int error) {
        if (log_ == nullptr) return;
        const std::string text = std::string(what) + " (" + std::strerror(error) + ")";
        log_->WriteFormat("%S: %s", platform::PathFromNative(path).c_str(), text.c_str());
    }

    const bool includeUnderscore_;
    const FileStamps stamps_;
    ModelPool& pool_;
    std::vector<FileInfo>& files_;
    IExecControl& control_;
    ILog* const log_;
    const std::string root_;
    const std::string realRoot_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace

bool IsHtmlFileName(std::u16string_view name) {
    return EndsWithNoCase(name, u".htm") || EndsWithNoCase(name, u".html");
}

void collectHtmlFiles(std::u16string_view folder, bool includeUnderscoreNames, ModelPool& pool,
                      std::vector<FileInfo>& files, IExecControl& control, FileStamps stamps,
                      ILog* log) {
    control.ReportProgress(ExecProgress{kStageScan, -1, -1});
    std::string root = platform::NativePath(folder);
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    Scanner scanner(includeUnderscoreNames, stamps, pool, files, control, log, root);
    scanner.Scan(fd, std::u16string(), root);
}

}  // namespace kestrova
