#include "exec/workers/model_env_impl.h"

#include <utility>

namespace kestrova {

ModelEnv_impl_::ModelEnv_impl_(std::u16string_view pageFolder, ModelLoadFn load)
    : ModelBasicEnv_impl_(pageFolder), loader_(*this, std::move(load)), search_(*this) {
    loader_.Start();
}

ModelEnv_impl_::~ModelEnv_impl_() {
    // Both threads are told first, so that they wind down together; the loader ends first
    // because it may still queue a build at the search thread.
    loader_.RequestStop();
    search_.RequestStop();
    loader_.Join();
    search_.Join();
}

void ModelEnv_impl_::RequestReindex(CountedPtr<IModel> model) {
    search_.PostReindex(std::move(model));
}

}  // namespace kestrova
