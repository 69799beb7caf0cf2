#pragma once
// The environment of one page folder as its worker threads see it: the folder, and the way
// the loader thread asks for a new full-text index after it has built a model.

#include "model/counted.h"
#include "model/model.h"

#include <string>
#include <string_view>

namespace kestrova {

class IModelEnv_impl_ {
public:
    // The page folder of the environment (normalised, see platform::NormalizePath).
    virtual const std::u16string& GetPageFolder() const = 0;
    // Queues an index build of `model` at the search thread. Called on the loader thread.
    virtual void RequestReindex(CountedPtr<IModel> model) = 0;

protected:
    ~IModelEnv_impl_() = default;
};

// Holds the page folder; the full path is kept, never cut to a length.
class ModelBasicEnv_impl_ : public IModelEnv_impl_ {
public:
    explicit ModelBasicEnv_impl_(std::u16string_view pageFolder) : pageFolder_(pageFolder) {}
    const std::u16string& GetPageFolder() const override { return pageFolder_; }

protected:
    ~ModelBasicEnv_impl_() = default;

private:
    const std::u16string pageFolder_;
};

}  // namespace kestrova
