// The drop-down menus of the navigator's toolbar: search options (under the arrow of
// "Поиск"), text size (under the arrow of "Размер шрифта") and the main menu (under "Меню").
// Each menu is built anew from the window's state every time it opens, so its check marks
// and grey items are those of that moment. Every item is a QAction whose data() is its
// command number and whose objectName is "menu_<command>".
//
// User-interface thread only.
#pragma once

#include <QRect>

#include <memory>

class QMenu;
class QWidget;

namespace kestrova {

// The search options that carry marks.
struct SearchOptionsState {
    bool titlesOnly = false;
    bool relatedWords = false;
    bool queryLanguage = false;
};

// What the main menu's marks and availability are made of.
struct MainMenuState {
    bool offline = false;           // the browser requests nothing from the network
    bool highlightPending = false;  // the page shown is the page of the highlight record
    bool highlightShown = false;    // the marks of a search are in the page
    bool leftPane = false;
    bool resultPane = false;
    bool toolbarText = false;
    bool contentIcons = false;
    bool modelShown = false;  // the window shows a model
    bool loading = false;     // the folder's model environment is loading
    bool localPage = false;   // the page shown has a local file
};

// objectName "searchOptionsMenu". "Использовать язык запросов" is grey while titles only is
// on, and keeps its mark.
std::unique_ptr<QMenu> BuildSearchOptionsMenu(QWidget* parent, const SearchOptionsState& state);
// objectName "textSizeMenu"; the item of `textSize` (0 to 4) carries the mark.
std::unique_ptr<QMenu> BuildTextSizeMenu(QWidget* parent, int textSize);
// objectName "mainMenu", with the submenu "База данных" (objectName "databaseMenu").
std::unique_ptr<QMenu> BuildMainMenu(QWidget* parent, const MainMenuState& state);

// Shows `menu` below `anchor` (global coordinates), right edges aligned, and waits for the
// user. Returns the command of the chosen item, or 0 when the menu was closed without one.
int RunDropDown(QMenu& menu, const QRect& anchor);
// Where RunDropDown puts the top-left corner of a menu of width `menuWidth`.
QPoint DropDownPosition(const QRect& anchor, int menuWidth);

}  // namespace kestrova
