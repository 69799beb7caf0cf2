// The edit field of the search box. Enter emits `enterPressed` once and goes no further (no
// text is added to the list, no dialog button reacts). The field keeps its own edit keys
// ahead of any shortcut of the window: Ctrl+C and Ctrl+Insert copy, Ctrl+V and Shift+Insert
// paste, Ctrl+X and Shift+Delete cut, Ctrl+Z undo.
#pragma once

#include <QLineEdit>

namespace kestrova {

class CSearchEdit : public QLineEdit {
    Q_OBJECT
public:
    // objectName "searchEdit".
    explicit CSearchEdit(QWidget* parent);

signals:
    void enterPressed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kestrova
