// The favorites pane's toolbar (1028): flat, 16x16 pictures without text, the buttons up,
// down, | add folder, | edit, delete. Each button's tooltip names it and its key. A click
// emits `command` with the button's command number (ID_FAV_...).
#pragma once

#include <QToolBar>

class QAction;
class QToolButton;

namespace kestrova {

class CFavoritesToolBar : public QToolBar {
    Q_OBJECT
public:
    // objectName "favoritesToolBar"; the buttons are "favButton_<command>".
    explicit CFavoritesToolBar(QWidget* parent);

    void EnableButton(int command, bool enable);
    bool IsButtonEnabled(int command) const;
    // The button of a command, or null.
    QToolButton* Button(int command) const;

signals:
    void command(int id);

private:
    void AddButton(int command, const char* icon, const QString& tooltip);
    QAction* ActionOf(int command) const;
};

}  // namespace kestrova
