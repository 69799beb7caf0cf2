// The scan of a page folder for its HTML files, as model loading and the outdated test do it.
#pragma once

#include "model/internal/records.h"

#include <string_view>
#include <vector>

namespace kestrova {

class IExecControl;
class ModelPool;

// Appends to `files` every regular file (symbolic links followed) of `folder` (a full path) and
// its subfolders whose name matches *.htm or *.html in any letter case: a folder's own files
// before those of its subfolders, depth first, in the order the system lists them. Names that begin
// with '_' (files, and folders with all below them) are left out unless `includeUnderscoreNames`.
// Relative paths join their parts with '\' and live in `pool`; times and sizes come from the
// directory entries (the size's low 32 bits), except that with FileStamps::kLeftToReader a
// file the folder lists as a plain file is not asked for them (they stay 0): a caller that
// opens every file anyway (the build) takes them from the open file, which saves a lookup per
// file. Unreadable folders are passed over, and a
// folder reached again through a symbolic link is not scanned twice. Reports progress once
// (stage 1, -1, -1); asks the control before each entry and throws BreakExec to stop.
enum class FileStamps { kFromScan, kLeftToReader };
void collectHtmlFiles(std::u16string_view folder, bool includeUnderscoreNames, ModelPool& pool,
                      std::vector<FileInfo>& files, IExecControl& control,
                      FileStamps stamps = FileStamps::kFromScan);

// True when `name` ends in ".htm" or ".html", ignoring letter case.
bool IsHtmlFileName(std::u16string_view name);

}  // namespace kestrova
