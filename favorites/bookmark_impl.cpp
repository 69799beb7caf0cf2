#include "favorites/bookmark_impl.h"

#include "model/xml_document.h"
#include "platform/path.h"

#include <sys/stat.h>

namespace kestrova {

bool BookmarkFileExists(std::u16string_view kbFolder, std::u16string_view file) {
    const std::u16string joined =
        kbFolder.empty() ? std::u16string(file) : platform::JoinPath(kbFolder, file);
    struct stat st {};
    return ::stat(platform::NativePath(joined).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

Bookmark_impl_::Bookmark_impl_(IBookmarkNodeHost_impl_* host, std::u16string_view kbFolder,
                               std::u16string_view title, std::u16string_view file)
    : host_(host), title_(title), file_(file), fileExists_(BookmarkFileExists(kbFolder, file)) {}

void Bookmark_impl_::SetTitle(std::u16string_view text) {
    if (text == title_) return;
    title_ = text;
    host_->SetModified();
}

void Bookmark_impl_::WriteXml(pugi::xml_node element) const {
    element.set_name("bookmark");
    SetXmlAttribute(element, "title", title_);
    SetXmlAttribute(element, "file", file_);
}

}  // namespace kestrova
