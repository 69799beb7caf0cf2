#pragma once
// The environment of one page folder: the folder, its loader thread (started at once) and
// its search thread (started by its first request). Shared by every window of the process
// on that folder through ModelEnvRegistry. Reference counted; the count starts at 1, the
// creator's reference. Releasing the last reference stops both threads and waits for them.

#include "exec/workers/internal/loader_thread.h"
#include "exec/workers/internal/model_env.h"
#include "exec/workers/internal/search_thread.h"
#include "exec/workers/model_load_fn.h"
#include "model/counted.h"

#include <string_view>

namespace kestrova {

class ModelEnv_impl_ : public CounterBase_, public ModelBasicEnv_impl_ {
public:
    // `pageFolder` should be normalised; the loader thread starts here.
    ModelEnv_impl_(std::u16string_view pageFolder, ModelLoadFn load);
    ~ModelEnv_impl_() override;

    // Forwards the model to the search thread's PostReindex.
    void RequestReindex(CountedPtr<IModel> model) override;

    LoaderThread& Loader() { return loader_; }
    SearchThread& Search() { return search_; }

private:
    LoaderThread loader_;
    SearchThread search_;
};

}  // namespace kestrova
