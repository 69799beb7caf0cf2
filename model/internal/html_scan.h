// The scan of a page folder for its HTML files, as model loading and the outdated test do it.
#pragma once

#include "model/internal/records.h"

#include <string_view>
#include <vector>

namespace kestrova {

class IExecControl;
class ILog;
class ModelPool;

// Appends to `files` every regular file (symbolic links followed) of `folder` (a full path) and
// its subfolders whose name matches *.htm or *.html in any letter case: a folder's own files
// before those of its subfolders, depth first, in the order the system lists them. Names that begin
// with '_' (files, and folders with all below them) are left out unless `includeUnderscoreNames`.
// Relative paths join their parts with '\' and live in `pool`; times and sizes come from the
// directory entries (the size's low 32 bits), except that with FileStamps::kLeftToReader a
// file the folder lists as a plain file is not asked for them (they stay 0): a caller that
// opens every file anyway (the build) takes them from the open file, which saves a lookup per
// file. Symbolic links are followed only to files and folders inside `folder`; a folder
// reached again through a link is not scanned twice. Unreadable folders and entries, and links
// that lead outside or nowhere, are passed over with one line "PATH: WHAT (REASON)" each in
// `log` when one is given. Reports progress once (stage 1, -1, -1); asks the control before
// each entry and throws BreakExec to stop.
enum class FileStamps { kFromScan, kLeftToReader };
void collectHtmlFiles(std::u16string_view folder, bool includeUnderscoreNames, ModelPool& pool,
                      std::vector<FileInfo>& files, IExecControl& control,
                      FileStamps stamps = FileStamps::kFromScan, ILog* log = nullptr);

// True when `name` ends in ".htm" or ".html", ignoring letter case.
bool IsHtmlFileName(std::u16string_view name);

}  // namespace kestrova
