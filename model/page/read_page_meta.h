// Reading the navigation record of one page file, as model loading does for every page.
#pragma once

#include "model/page/info_extractor.h"
#include "model/page/log.h"
#include "model/page/page_meta.h"
#include "platform/file.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// Scans the head of the page at the full path (strict mode, up to `body`) and fills `page`.
// On any failure writes one line "FULLPATH: MESSAGE" to the log and returns false; `page` is
// then partly filled and must not be used. An ignored page (control=ignore) returns true with
// page.ignored set.
bool ReadPageMeta(std::u16string_view fullPath, ILog& log, PageMeta& page);

// The same for the page at the native `path` relative to the open folder `dirFd` (AT_FDCWD:
// the current folder); `fullPath` gives the full path of the log line, and is called only when
// reading fails. When `stamp` is given it receives the stamp of the file opened, whenever the
// file could be opened (whether or not its reading succeeds).
bool ReadPageMetaAt(int dirFd, const std::string& path,
                    const std::function<std::u16string()>& fullPath, ILog& log, PageMeta& page,
                    std::optional<platform::FileStamp>* stamp = nullptr);

// Decodes what an InfoExtractor collected into `page`. Throws std::runtime_error
// ("domain-chapter doesn't fit with chapter").
void BuildPageMeta(const CollectedMeta& collected, PageMeta& page);

}  // namespace kestrova
