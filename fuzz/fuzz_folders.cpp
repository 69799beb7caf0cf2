// The folder list reader on arbitrary bytes: never a crash, and what it reads is written back
// and read again unchanged.
#include "model/data_folder.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova;
    const std::vector<FolderEntry> entries =
        ParseFolderList(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<FolderEntry> again = ParseFolderList(SerializeFolderList(entries));
    if (again.size() != entries.size()) std::abort();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (again[i].key != entries[i].key || !(again[i].guid == entries[i].guid)) std::abort();
    }
    return 0;
}
