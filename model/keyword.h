// The keyword index. Owned by the model (or its view); valid as long as it. Thread-safe to read.
#pragma once

#include "model/counted.h"

#include <cstdint>

namespace kestrova {

class ITopicSet;

class IKeyword {
public:
    virtual const char16_t* GetText() = 0;

protected:
    ~IKeyword() = default;
};

class IKeywordList {
public:
    virtual int32_t GetCount() = 0;
    // Keyword i, or null when i is out of range.
    virtual IKeyword* GetItem(int32_t i) = 0;
    // Index of the first keyword not less than text in keyword order (case-insensitive, ties
    // broken case-sensitively), or -1 when every keyword is less.
    virtual int32_t FindKeyword(const char16_t* text) = 0;
    // A new set with the topics of the keyword whose text equals text in keyword order
    // (empty when there is none).
    virtual CountedPtr<ITopicSet> GetKeywordTopics(const char16_t* text) = 0;

protected:
    ~IKeywordList() = default;
};

}  // namespace kestrova
