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

IContentNode* Content_original_impl_::FindNodeByTopic(ITopic*) { NotYet("FindNodeByTopic"); }
IContentNode* Content_original_impl_::FindNodeByPage(const char16_t*) { NotYet("FindNodeByPage"); }
IContentNode* Content_original_impl_::FindNodeByTitlePath(const std::vector<std::u16string>&) {
    NotYet("FindNodeByTitlePath");
}
int32_t KeywordList_impl_::FindKeyword(const char16_t*) { NotYet("FindKeyword"); }
CountedPtr<ITopicSet> KeywordList_impl_::GetKeywordTopics(const char16_t*) { NotYet("GetKeywordTopics"); }
CountedPtr<ITopicSet> Model_original_impl_::FindTopics(const char16_t*, uint32_t, IExecControl&) {
    NotYet("FindTopics");
}
bool Model_original_impl_::IsIndexReady() { NotYet("IsIndexReady"); }
void Model_original_impl_::BuildIndex(IExecControl&) { NotYet("BuildIndex"); }
bool Model_original_impl_::IsOutdated(IExecControl&) { NotYet("IsOutdated"); }
CountedPtr<IModel> Model_original_impl_::GetFiltered(const char16_t*) { NotYet("GetFiltered"); }
CountedPtr<ITopicSet> Model_original_impl_::CreateTopicSet() { NotYet("CreateTopicSet"); }

}  // namespace kestrova
