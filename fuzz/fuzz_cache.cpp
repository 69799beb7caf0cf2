// The model cache reader on arbitrary bytes: it must refuse or read them without a crash, and a
// model it accepts must point only inside its own arrays (walked here through its interfaces).
#include "exec/exec_control.h"
#include "model/content_original_impl.h"
#include "model/internal/preserved_cache.h"
#include "model/keyword_list_impl.h"
#include "model/model_original_impl.h"
#include "platform/path.h"

#include <unistd.h>
#include <cstdio>
#include <string>

namespace {

std::u16string DataFolder() {
    static const std::u16string folder = [] {
        const std::string dir = "/tmp/kestrova-fuzz-cache-" + std::to_string(::getpid());
        return kestrova::platform::PathFromNative(dir);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova;
    auto model = MakeCounted<Model_original_impl_>(u"/kb", DataFolder());
    if (FILE* f = std::fopen(platform::NativePath(model->CachePath()).c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    kestrova::NullExecControl control;
    if (!LoadCache(*model, control)) return 0;
    for (auto& topic : model->topics) topic.GetPage();
    for (auto& node : model->content->nodes) {
        std::vector<std::u16string> path;
        node.GetTitlePath(path);
        node.GetTopic();
        if (IContentNodeList* children = node.GetChildren()) {
            for (int32_t i = 0; i < children->GetCount(); ++i) children->GetItem(i);
        }
    }
    ModelInfo info;
    model->GetModelInfo(info);
    return 0;
}
