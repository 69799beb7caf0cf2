// The toolbar of the navigator window, over the browser and the result pane: the buttons of
// the navigator's commands (back, forward, contents, index, find on page, find page in
// contents, add to favorites, text size, search, print, menu), the search box and the
// category box. A click on a button emits `command` with its command number; a click on the
// drop-down arrow of a button (text size, search, menu) emits `dropDown`.
#pragma once

#include <QRect>
#include <QWidget>

namespace kestrova {

class CSearchComboBox;
class CDomainComboBox;

class CNavToolBar : public QWidget {
    Q_OBJECT
public:
    // objectName "toolBar" (59392). Buttons that may show text show it when `showText`.
    CNavToolBar(QWidget* parent, bool showText);

    // Text beside the buttons that may show it ("Назад", "Вперед", "Поиск", "Меню").
    void SetShowText(bool on);
    bool ShowText() const;
    // Enables or disables the button of a command.
    void EnableButton(int command, bool enable);
    bool IsButtonEnabled(int command) const;
    // The rectangle of a command's button in the toolbar's coordinates (empty when none).
    QRect ButtonRect(int command) const;
    // The height the toolbar asks for: the height of the toolbar strip.
    int StripHeight() const;

    CSearchComboBox* SearchBox() const;
    CDomainComboBox* DomainBox() const;

signals:
    void command(int id);
    void dropDown(int id);
};

}  // namespace kestrova
