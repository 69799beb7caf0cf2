#include "shell/panes/result_list.h"

#include "shell/panes/basic_pane.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace kestrova {
namespace {

constexpr int kColumnWidth = 300;  // pixels at 96 dpi

}  // namespace

CResultList::CResultList(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("resultList"));
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    // Every row as high as one line of text: a fixed height keeps any number of rows cheap.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + ScaledY(this, 4));
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultSectionSize(ScaledX(this, kColumnWidth));
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit OpenRequested(index.row()); });
}

void CResultList::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    for (int column = 0; column < 2; ++column)
        horizontalHeader()->resizeSection(column, ScaledX(this, kColumnWidth));
}

void CResultList::SelectRow(int row) {
    const QModelIndex index = model() ? model()->index(row, 0) : QModelIndex();
    if (!index.isValid()) return;
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

int CResultList::SelectedRow() const {
    const QModelIndexList rows =
        selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void CResultList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const int row = SelectedRow();
        if (row >= 0) emit OpenRequested(row);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace kestrova

#include "moc_result_list.cpp"
