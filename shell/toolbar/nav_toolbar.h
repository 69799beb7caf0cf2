// The toolbar of the navigator window, over the browser and the result pane: the buttons of
// the navigator's commands (back, forward, contents, index, find on page, find page in
// contents, add to favorites, text size, search, print, menu), the search box and the
// category box. A click on a button emits `command` with its command number; a click on the
// drop-down arrow of a button (text size, search, menu) emits `dropDown`.
#pragma once

#include "shell/toolbar/nav_tool_button.h"

#include <QRect>
#include <QWidget>

#include <vector>

class QComboBox;
class QToolBar;

namespace kestrova {

class CSearchComboBox;
class CDomainComboBox;

class CNavToolBar : public QWidget {
    Q_OBJECT
public:
    // objectName "toolBar" (59392). Buttons that may show text show it when `showText`.
    CNavToolBar(QWidget* parent, bool showText);
    ~CNavToolBar() override;

    // Text beside the buttons that may show it ("Назад", "Вперед", "Поиск", "Меню").
    void SetShowText(bool on);
    bool ShowText() const;
    // Enables or disables the button of a command.
    void EnableButton(int command, bool enable);
    bool IsButtonEnabled(int command) const;
    // The rectangle of a command's button in the toolbar's coordinates (empty when none, or
    // while the button is not shown). A drop-down opens below it, right edges aligned.
    QRect ButtonRect(int command) const;
    // The height the toolbar asks for: the height of the toolbar strip.
    int StripHeight() const;
    // The button of a command (objectName "button_<command>"), or null.
    CNavToolButton* Button(int command) const;

    CSearchComboBox* SearchBox() const;
    CDomainComboBox* DomainBox() const;

signals:
    void command(int id);
    void dropDown(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    void AddBoxPlace(QComboBox* box, int width, const QString& name);
    void AddButton(int command, const QString& icon, const QString& tooltip,
                   CNavToolButton::DropDown dropDown, bool mayShowText);
    void ApplyShowText();
    void ApplyIconSize();

    bool showText_;
    QToolBar* row_ = nullptr;
    CSearchComboBox* searchBox_ = nullptr;
    CDomainComboBox* domainBox_ = nullptr;
    std::vector<CNavToolButton*> buttons_;      // left to right
    std::vector<CNavToolButton*> textButtons_;  // the buttons that may show their text
};

}  // namespace kestrova
