#include "model/internal/page_folder_cursor.h"

#include "platform/path.h"

#include <fcntl.h>
#include <unistd.h>

namespace kestrova {
namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

}  // namespace

PageFolderCursor::PageFolderCursor(std::u16string_view folder) : dirFd_(AT_FDCWD) {
    while (!folder.empty() && IsSeparator(folder.back())) folder.remove_suffix(1);
    root_ = platform::NativePath(folder);
    root_.push_back('/');
}

PageFolderCursor::~PageFolderCursor() {
    if (dirFd_ >= 0) ::close(dirFd_);
}

void PageFolderCursor::MoveTo(std::u16string_view relative) {
    while (!relative.empty() && IsSeparator(relative.front())) relative.remove_prefix(1);
    size_t cut = relative.size();
    while (cut > 0 && !IsSeparator(relative[cut - 1])) --cut;
    const std::u16string_view folder = relative.substr(0, cut);
    if (!positioned_ || folder != current_) {
        if (dirFd_ >= 0) ::close(dirFd_);
        current_.assign(folder);
        positioned_ = true;
        const std::string native = root_ + platform::NativePath(folder);
        dirFd_ = ::open(native.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (dirFd_ < 0) dirFd_ = AT_FDCWD;
    }
    if (dirFd_ == AT_FDCWD) {
        path_ = root_ + platform::NativePath(relative);
    } else {
        path_ = platform::NativePath(relative.substr(cut));
    }
}

}  // namespace kestrova
