// Domain views of the unrestricted model.
#include "model/model_decorator_impl.h"
#include "model/model_original_impl.h"
#include "platform/text.h"

namespace kestrova {

CountedPtr<IModel> Model_original_impl_::GetFiltered(const char16_t* tag) {
    const std::u16string_view wanted = StringView(tag);
    if (!wanted.empty()) {
        // The first domain with the tag; tags compare case-sensitively.
        for (size_t i = 0; i < domains.size(); ++i) {
            if (platform::CompareText(StringView(domains[i].tag), wanted) != 0) continue;
            return MakeCounted<Model_decorator_impl_>(CountedPtr<Model_original_impl_>::Share(this),
                                                      static_cast<int32_t>(i));
        }
    }
    return CountedPtr<IModel>::Share(this);
}

}  // namespace kestrova
