// The keyword list of the index pane (1009): a virtual one-column list over KeywordListModel
// with single selection, drawn in the selection colours even without the focus. Tab and Enter
// are reported to the pane.
#pragma once

#include <QListView>

namespace kestrova {

class CIndexList : public QListView {
    Q_OBJECT
public:
    // objectName "indexList".
    explicit CIndexList(QWidget* parent);

    // The number of whole rows the list shows (at least 1).
    int RowsPerPage() const;

signals:
    void TabPressed();
    void EnterPressed();

protected:
    bool event(QEvent* event) override;
};

}  // namespace kestrova
