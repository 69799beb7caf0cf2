// Pages of a model. Owned by the model; valid as long as the model. Thread-safe to read.
#pragma once

#include <cstdint>

namespace kestrova {

class IPageInfo {
public:
    // Path relative to the knowledge-base folder, parts joined with '\'.
    virtual const char16_t* GetPath() = 0;
    // The page title, or null.
    virtual const char16_t* GetTitle() = 0;
    // The chain of chapter texts above the page's entry in the contents, or null.
    virtual const char16_t* GetLocation() = 0;

protected:
    ~IPageInfo() = default;
};

class IPageAccess_impl_ {
public:
    // Page i, or null when i is out of range.
    virtual IPageInfo* GetPage(int32_t i) = 0;

protected:
    ~IPageAccess_impl_() = default;
};

}  // namespace kestrova
