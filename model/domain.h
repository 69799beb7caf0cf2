// Domains: the categories of a knowledge base (meta `domain` of the pages).
// Owned by the model; valid as long as the model. Thread-safe to read.
#pragma once

#include <cstdint>

namespace kestrova {

class IDomain {
public:
    // The category key of the pages.
    virtual const char16_t* GetTag() = 0;
    // The text shown for the domain.
    virtual const char16_t* GetDisplayName() = 0;

protected:
    ~IDomain() = default;
};

class IDomainList {
public:
    virtual int32_t GetCount() = 0;
    // Domain i, or null when i is out of range.
    virtual IDomain* GetItem(int32_t i) = 0;

protected:
    ~IDomainList() = default;
};

}  // namespace kestrova
