#include "shell/toolbar/search_edit.h"

#include <QKeyEvent>

namespace kestrova {

namespace {

enum class EditOp { None, Copy, Paste, Cut, Undo };

struct EditKey {
    int key;
    Qt::KeyboardModifiers modifiers;
    EditOp op;
};

const EditKey kEditKeys[] = {
    {Qt::Key_C, Qt::ControlModifier, EditOp::Copy},
    {Qt::Key_Insert, Qt::ControlModifier, EditOp::Copy},
    {Qt::Key_V, Qt::ControlModifier, EditOp::Paste},
    {Qt::Key_Insert, Qt::ShiftModifier, EditOp::Paste},
    {Qt::Key_X, Qt::ControlModifier, EditOp::Cut},
    {Qt::Key_Delete, Qt::ShiftModifier, EditOp::Cut},
    {Qt::Key_Z, Qt::ControlModifier, EditOp::Undo},
};

// The modifiers that tell keys apart (the keypad flag does not).
Qt::KeyboardModifiers Significant(const QKeyEvent& key) {
    return key.modifiers() &
           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

EditOp EditOpOf(const QKeyEvent& key) {
    for (const EditKey& k : kEditKeys) {
        if (k.key == key.key() && k.modifiers == Significant(key)) return k.op;
    }
    return EditOp::None;
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
        if (IsEnter(*key) || EditOpOf(*key) != EditOp::None) {
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
    switch (EditOpOf(*event)) {
        case EditOp::Copy:
            copy();
            break;
        case EditOp::Paste:
            paste();
            break;
        case EditOp::Cut:
            cut();
            break;
        case EditOp::Undo:
            undo();
            break;
        case EditOp::None:
            QLineEdit::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace kestrova

#include "moc_search_edit.cpp"
