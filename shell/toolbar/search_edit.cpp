#include "shell/toolbar/search_edit.h"

#include "shell/commands.h"
#include "shell/menus/key_tables.h"

#include <QKeyEvent>

namespace kestrova {

namespace {

// The modifiers that tell keys apart (the keypad flag does not).
Qt::KeyboardModifiers Significant(const QKeyEvent& key) {
    return key.modifiers() &
           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool IsEnter(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           Significant(key) == Qt::NoModifier;
}

}  // namespace

CSearchEdit::CSearchEdit(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("searchEdit"));
}

bool CSearchEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnter(*key) || CommandOfKey(SearchEditKeys(), *key) != 0) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CSearchEdit::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(*event)) {
        event->accept();
        emit enterPressed();
        return;
    }
    switch (CommandOfKey(SearchEditKeys(), *event)) {
        case ID_EDIT_COPY:
            copy();
            break;
        case ID_EDIT_PASTE:
            paste();
            break;
        case ID_EDIT_CUT:
            cut();
            break;
        case ID_EDIT_UNDO:
            undo();
            break;
        default:
            QLineEdit::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace kestrova

#include "moc_search_edit.cpp"
