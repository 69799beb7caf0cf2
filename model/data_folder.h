// Per-user storage of the knowledge bases: the base folder ($XDG_DATA_HOME/Kestrova), the
// folder list folders.bin that maps each page folder to its data folder (named by a GUID),
// and the developer options of the settings key Software\Kestrova\DevMode.
// docs/folders-bin.md gives the folder list format. All functions are thread-safe.
#pragma once

#include "model/open_retry.h"
#include "platform/uuid.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

struct DevModeOptions {
    bool IncludeLUL = false;      // the page scan also takes names that begin with '_'
    bool ContentDetails = false;  // new navigator windows show the contents in details mode
};

// Reads the options afresh from the settings store; a missing key or value (or one that is
// not a DWORD) leaves an option false.
void ReadDevModeOptions(DevModeOptions& options);

// $XDG_DATA_HOME/Kestrova, else ~/.local/share/Kestrova (native path); empty when no home
// folder can be found.
std::string BaseFolder();

// One entry of the folder list.
struct FolderEntry {
    platform::Uuid guid;
    std::u16string key;  // at most kMaxFolderKey code units
};

inline constexpr size_t kMaxFolderKey = 260;

// The key of a page folder: its normalised path (absolute, '.' and '..' resolved, '/'
// separated, letter case kept). A path longer than kMaxFolderKey keeps its head and ends in
// '|' and a 64-bit hash of the whole path, so that it still fits the file and stays distinct.
std::u16string FolderKey(std::u16string_view pageFolder);

// The entries of a folder list file. Bytes that do not start with "KSVF" give no entry;
// reading stops at the first entry that is longer than allowed or cut short, keeping the
// entries before it.
std::vector<FolderEntry> ParseFolderList(std::string_view bytes);
// The bytes of a folder list file holding the entries.
std::string SerializeFolderList(const std::vector<FolderEntry>& entries);

// The data folder of a page folder (base folder, '/', GUID), creating its folder list entry
// on first use; the data folder itself is made later by the model. False when the base
// folder cannot be found, or folders.bin cannot be read or rewritten; `error` (when given)
// then says what failed. Processes that add entries at once are serialised by a lock file
// beside the list, so two of them adding the same page folder get the same GUID; the list is
// replaced atomically, so a crash while it is rewritten loses no entry that was there.
bool GetDataFolder(std::u16string_view pageFolder, std::u16string& dataFolder,
                   std::string* error = nullptr, const OpenRetry& retry = kFolderListOpenRetry);

}  // namespace kestrova
