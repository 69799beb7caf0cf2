#include "shell/panes/index_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include <algorithm>

namespace kestrova {

CIndexEdit::CIndexEdit(QComboBox* box) : QLineEdit(box), box_(box) {
    setObjectName(QStringLiteral("indexEdit"));
}

int CIndexEdit::CodeOf(const QKeyEvent& key) const {
    if (box_->view() && box_->view()->isVisible()) return 0;
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kIndexEditEnter;
        case Qt::Key_Tab:
            return key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)
                       ? 0
                       : kIndexEditTab;
        default:
            break;
    }
    if (key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) return 0;
    switch (key.key()) {
        case Qt::Key_Up:
            return kIndexEditUp;
        case Qt::Key_Down:
            return kIndexEditDown;
        case Qt::Key_PageUp:
            return kIndexEditPageUp;
        case Qt::Key_PageDown:
            return kIndexEditPageDown;
        default:
            return 0;
    }
}

bool CIndexEdit::event(QEvent* event) {
    // Handled here rather than in keyPressEvent: Tab would move the focus before it, and the
    // box would take the movement keys to step through its own list.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const int code = CodeOf(*static_cast<QKeyEvent*>(event));
        if (code) {
            event->accept();
            if (event->type() == QEvent::KeyPress) emit EditKey(code);
            return true;
        }
    }
    return QLineEdit::event(event);
}

CIndexComboBox::CIndexComboBox(QWidget* parent, int dropHeight)
    : QComboBox(parent), edit_(nullptr) {
    setObjectName(QStringLiteral("indexBox"));
    setEditable(true);
    edit_ = new CIndexEdit(this);
    setLineEdit(edit_);
    setCompleter(nullptr);  // the box does not complete from its history
    setInsertPolicy(NoInsert);
    const int line = std::max(1, fontMetrics().height());
    setMaxVisibleItems(std::max(1, dropHeight / line));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void CIndexComboBox::SetEntries(const QStringList& entries) {
    const QString text = currentText();
    clear();
    addItems(entries);
    setCurrentIndex(-1);
    setEditText(text);
}

}  // namespace kestrova

#include "moc_index_box.cpp"
