// The page files handed to full-text indexing.
#pragma once

#include <cstdint>

namespace kestrova {

class IIndexFiles {
public:
    virtual ~IIndexFiles() = default;
    // Number of pages.
    virtual int32_t GetCount() = 0;
    // Full native path of page i (the folder joined with its relative path).
    virtual const char16_t* GetFullPath(int32_t i) = 0;
    // Relative path of page i, as stored in the model.
    virtual const char16_t* GetName(int32_t i) = 0;
};

}  // namespace kestrova
