// The favorites loader on arbitrary bytes: never a crash, and once a file has been loaded and
// written, writing it again after a reload gives the same bytes.
#include "favorites/bookmark_set_impl.h"

#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova;
    CountedPtr<BookmarkSet_impl_> set = MakeCounted<BookmarkSet_impl_>(u"/nonexistent");
    if (!set->LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
    if (set->IsModified()) std::abort();
    const std::string written = set->SaveToBytes();
    CountedPtr<BookmarkSet_impl_> again = MakeCounted<BookmarkSet_impl_>(u"/nonexistent");
    if (!again->LoadFromBytes(written)) std::abort();
    if (again->SaveToBytes() != written) std::abort();
    if (again->GetRoot()->GetBookmarkCount() != set->GetRoot()->GetBookmarkCount()) std::abort();
    return 0;
}
