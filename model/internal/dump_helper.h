// Turns stored indices into records, for the XML export of a model.
#pragma once

#include <cstdint>

namespace kestrova {

class IDomain;
class ITopic;

class IDumpHelper_impl_ {
public:
    // Domain i, or null.
    virtual IDomain* GetDomain(int32_t i) = 0;
    // Topic i, or null.
    virtual ITopic* GetTopic(int32_t i) = 0;

protected:
    ~IDumpHelper_impl_() = default;
};

}  // namespace kestrova
