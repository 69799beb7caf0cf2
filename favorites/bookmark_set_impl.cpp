#include "favorites/bookmark_set_impl.h"

#include "favorites/bookmark_impl.h"
#include "favorites/internal/bookmarks_file.h"
#include "platform/codepage.h"
#include "platform/io_error.h"

#include <cstring>

namespace kestrova {

CountedPtr<IBookmarkSet> CreateBookmarkSet(std::u16string_view kbFolder) {
    return MakeCounted<BookmarkSet_impl_>(kbFolder);
}

bool BookmarkSet_impl_::Load() {
    modified_ = false;
    const std::string path = BookmarksFilePath();
    if (path.empty()) return false;
    std::optional<std::string> bytes;
    try {
        bytes = ReadBookmarksFile(path);
    } catch (const platform::io_error&) {
        return false;
    }
    return bytes && LoadFromBytes(*bytes);
}

bool BookmarkSet_impl_::LoadFromBytes(std::string_view bytes) {
    modified_ = false;
    pugi::xml_document document;
    const std::optional<pugi::xml_node> element = ParseBookmarksDocument(bytes, document);
    if (!element) return false;
    root_.FillFromXml(*element);
    return true;
}

bool BookmarkSet_impl_::Save() {
    const std::string path = BookmarksFilePath();
    const bool saved = !path.empty() && ReplaceBookmarksFile(path, SaveToBytes());
    modified_ = false;
    return saved;
}

std::string BookmarkSet_impl_::SaveToBytes() const {
    pugi::xml_document document;
    root_.WriteXml(document.append_child(pugi::node_element));
    return FormatBookmarksDocument(document);
}

CountedPtr<IBookmark> BookmarkSet_impl_::CreateBookmark(std::u16string_view title,
                                                        std::u16string_view file) {
    return MakeCounted<Bookmark_impl_>(this, kbFolder_, title, file);
}

CountedPtr<IBookmarkFolder> BookmarkSet_impl_::CreateFolder(std::u16string_view title) {
    return MakeCounted<CustomBookmarkFolder_impl_>(this, title);
}

CountedPtr<IBookmarkNode> BookmarkSet_impl_::CreateNodeFromXml(pugi::xml_node element) {
    if (element.type() != pugi::node_element) return nullptr;
    const pugi::xml_attribute title = element.attribute("title");
    if (std::strcmp(element.name(), "bookmark") == 0) {
        const pugi::xml_attribute file = element.attribute("file");
        if (!title || !file) return nullptr;
        return CreateBookmark(platform::Utf8ToUtf16(title.value()),
                              platform::Utf8ToUtf16(file.value()));
    }
    if (std::strcmp(element.name(), "folder") == 0) {
        if (!title) return nullptr;
        CountedPtr<CustomBookmarkFolder_impl_> folder =
            MakeCounted<CustomBookmarkFolder_impl_>(this, platform::Utf8ToUtf16(title.value()));
        folder->FillFromXml(element);
        return folder;
    }
    return nullptr;
}

}  // namespace kestrova
