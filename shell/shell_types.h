// Records that the navigator window and its panes pass to each other.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

class ITopic;

// A full-text search as the user asked for it: the query text and the option bits of
// IModel::FindTopics (1 titles only, 2 related words, 4 query language).
struct SearchQuery {
    QString text;
    uint32_t options = 0;
};

// What NAVM_NAVIGATE asks for. The topic (when given) belongs to the topic set of the caller
// and is used only during the call.
struct NavigateRequest {
    QString url;
    std::optional<SearchQuery> highlight;  // the words to mark in the page, or none
    ITopic* topic = nullptr;
    uint32_t flags = 0;  // kNavigateSelectTopic
};
inline constexpr uint32_t kNavigateSelectTopic = 1;  // select the topic in the contents

// A path of texts in the contents tree, root first.
using TitlePath = std::vector<std::u16string>;

// What the panes keep across a change of the model shown (a reload, a category change, a
// copy of the window).
struct PaneState {
    std::vector<TitlePath> expanded;    // every expanded item of the contents tree
    std::optional<TitlePath> selected;  // the selected item of the contents tree
    std::optional<QString> indexText;   // the text of the index box
    int tab = -1;                       // the selected tab (-1 keeps the selection)
};

// The kind of a list shown in the result pane.
enum class ResultKind { kIndex, kSearch };

}  // namespace kestrova
