// The pages of a model as full-text indexing sees them.
#pragma once

#include "model/index_files.h"

#include <string>

namespace kestrova {

class Model_original_impl_;

class PageListFiles final : public IIndexFiles {
public:
    // `model` must outlive this object.
    explicit PageListFiles(Model_original_impl_& model) : model_(model) {}

    // Number of pages.
    int32_t GetCount() override;
    // The page folder joined with page i's relative path; valid until the next call. Null
    // for an index out of range.
    const char16_t* GetFullPath(int32_t i) override;
    // Page i's relative path (a model string), or null.
    const char16_t* GetName(int32_t i) override;

private:
    Model_original_impl_& model_;
    std::u16string fullPath_;
};

}  // namespace kestrova
