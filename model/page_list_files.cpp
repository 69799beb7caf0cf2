#include "model/internal/page_list_files.h"

#include "model/model_original_impl.h"
#include "platform/path.h"

namespace kestrova {

int32_t PageListFiles::GetCount() { return static_cast<int32_t>(model_.pages.size()); }

const char16_t* PageListFiles::GetName(int32_t i) {
    return i >= 0 && i < GetCount() ? model_.pages[static_cast<size_t>(i)].file.path : nullptr;
}

const char16_t* PageListFiles::GetFullPath(int32_t i) {
    const char16_t* name = GetName(i);
    if (!name) return nullptr;
    fullPath_ = platform::JoinPath(model_.HtmlFolder(), StringView(name));
    return fullPath_.c_str();
}

}  // namespace kestrova
