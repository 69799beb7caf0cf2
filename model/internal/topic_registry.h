// The topics of a model being built: each (page index, anchor) pair gets one topic, appended
// to the model's topic array the first time the build asks for it. Lives only during a build.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova {

class Model_original_impl_;

class TopicRegistry {
public:
    // `model` receives the topics and must outlive the registry. The model's topic array
    // should be empty: the registry only knows the topics it made.
    explicit TopicRegistry(Model_original_impl_& model) : model_(model) {}

    // The index of the topic for the page and anchor (an empty anchor means the whole page),
    // making the topic when it is new.
    int32_t GetTopicIndex(int32_t pageIndex, std::u16string_view anchor);

private:
    struct Key {
        uint32_t page;
        std::u16string_view anchor;  // the topic's pool string; empty for the whole page
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };

    Model_original_impl_& model_;
    std::vector<int32_t> pageTopics_;  // page index -> topic of the whole page, or -1
    std::unordered_map<Key, int32_t, KeyHash> topics_;  // topics with an anchor
};

}  // namespace kestrova
