// Operations whose implementations are still being written. Each definition here is removed
// when its real implementation lands; this file must be empty before release.
#include "model/content_original_impl.h"
#include "model/keyword_list_impl.h"
#include "model/model_original_impl.h"

#include <stdexcept>

namespace kestrova {
namespace {
[[noreturn]] void NotYet(const char* what) {
    throw std::logic_error(std::string(what) + ": not implemented yet");
}
}  // namespace

CountedPtr<ITopicSet> Model_original_impl_::FindTopics(const char16_t*, uint32_t, IExecControl&) {
    NotYet("FindTopics");
}
bool Model_original_impl_::IsIndexReady() { NotYet("IsIndexReady"); }
void Model_original_impl_::BuildIndex(IExecControl&) { NotYet("BuildIndex"); }

}  // namespace kestrova
