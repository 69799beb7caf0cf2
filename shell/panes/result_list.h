// The result list (1006): a virtual two-column list over ResultListModel, single full-row
// selection that stays visible without the focus; the columns start 300 pixels wide (at
// 96 dpi). A double click or Enter asks the pane to open the item.
#pragma once

#include <QTableView>

namespace kestrova {

class CResultList : public QTableView {
    Q_OBJECT
public:
    // objectName "resultList".
    explicit CResultList(QWidget* parent);

    // Sets the model and gives both columns their starting width.
    void setModel(QAbstractItemModel* model) override;
    // Selects `row` and scrolls it into view, without opening it.
    void SelectRow(int row);
    // The selected row, or -1.
    int SelectedRow() const;

signals:
    void OpenRequested(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kestrova
