#include "shell/panes/index_list.h"

#include <QKeyEvent>

#include <algorithm>

namespace kestrova {

CIndexList::CIndexList(QWidget* parent) : QListView(parent) {
    setObjectName(QStringLiteral("indexList"));
    setUniformItemSizes(true);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setFrameShadow(QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    // The selection keeps its colours when the focus is elsewhere (in the box, mostly).
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);
}

int CIndexList::RowsPerPage() const {
    const int row = model() && model()->rowCount() > 0 ? sizeHintForRow(0) : 0;
    return row > 0 ? std::max(1, viewport()->height() / row) : 1;
}

bool CIndexList::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain =
            !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
        if (key->key() == Qt::Key_Tab && plain) {
            emit TabPressed();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit EnterPressed();
            return true;
        }
    }
    return QListView::event(event);
}

}  // namespace kestrova

#include "moc_index_list.cpp"
