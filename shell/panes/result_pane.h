// The result pane at the bottom: a bold header that says what was searched and how many pages
// were found, and the virtual two-column list of the topics found ("Заголовок",
// "Расположение"), sortable by a click on a column header. Opening an item sends
// NAVM_NAVIGATE with the highlight query and the topic.
#pragma once

#include "model/counted.h"
#include "shell/panes/basic_pane.h"
#include "shell/shell_types.h"

#include <optional>

namespace kestrova {

class ITopicSet;
class CElidedLabel;
class CResultList;
class ResultListModel;

class CResultPane : public CBasicPane {
    Q_OBJECT
public:
    // objectName "resultPane"; the header is "resultHeader" (1007), the list "resultList"
    // (1006).
    explicit CResultPane(QWidget* parent);

    void SetNavWindow(QObject* navWnd);
    // Shows `topics` (none when null) found for `query`; pages opened from the list are
    // marked with `highlight`. Selects item 0 without opening it.
    void Fill(const QString& query, ResultKind kind, CountedPtr<ITopicSet> topics,
              std::optional<SearchQuery> highlight);
    // Shows that the search for `query` failed and why, in the header, with an empty list.
    void FillFailure(const QString& query, const QString& reason);
    // Selects item i and opens its page.
    void SelectItem(int i);
    int Count() const;
    QString HeaderText() const;

    CResultList* List() const { return list_; }

private:
    void Open(int row);
    void SortBy(int column);
    void ShowSortOrder();

    CElidedLabel* header_;
    CResultList* list_;
    ResultListModel* model_;
    std::optional<SearchQuery> highlight_;
    QObject* navWnd_ = nullptr;
};

}  // namespace kestrova
