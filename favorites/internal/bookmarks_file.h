// The file bookmarks.xml: where it lies, its bytes, and how it is replaced
// (docs/bookmarks.md describes the format).
#pragma once

#include <pugixml.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// The native path of bookmarks.xml in the per-user base folder; empty when there is no base
// folder.
std::string BookmarksFilePath();

// The bytes of the file that holds the document: a UTF-8 byte order mark, the declaration
// without an encoding, one tab of indentation per level, CR LF line ends.
std::string FormatBookmarksDocument(const pugi::xml_document& document);

// Folders nested deeper than this make a file unusable: no real file comes near it, and the
// tree's operations recurse once per level.
inline constexpr int kMaxBookmarkDepth = 1000;

// Parses the bytes with the default options and automatic encoding detection. The `bookmarks`
// element (the first child of the document of that name), or nullopt when the bytes are not
// well-formed, have no such element, or nest elements deeper than kMaxBookmarkDepth.
std::optional<pugi::xml_node> ParseBookmarksDocument(std::string_view bytes,
                                                     pugi::xml_document& document);

// The whole file; nullopt when it does not exist. Throws platform::io_error naming the file
// when it exists but cannot be read.
std::optional<std::string> ReadBookmarksFile(const std::string& path);

// Replaces the file with `bytes` in one step (temporary file, flush, rename). When the file
// there now cannot be loaded, its bytes are first kept as bookmarks.damaged beside it, so a
// save never destroys what could not be read. False when the file cannot be written, or
// exists but cannot be read (it is then left alone).
bool ReplaceBookmarksFile(const std::string& path, std::string_view bytes);

}  // namespace kestrova
