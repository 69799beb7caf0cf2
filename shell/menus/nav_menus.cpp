#include "shell/menus/nav_menus.h"

#include "shell/commands.h"
#include "shell/menus/menu_texts.h"

#include <QAction>
#include <QMenu>

namespace kestrova {
namespace {

namespace mt = menu_texts;

// One item: its text, command, mark (none when not checkable) and availability.
QAction* AddItem(QMenu& menu, const QString& text, int command, bool enabled = true) {
    QAction* action = menu.addAction(text);
    action->setData(command);
    action->setObjectName(QStringLiteral("menu_%1").arg(command));
    action->setEnabled(enabled);
    return action;
}

QAction* AddMarked(QMenu& menu, const QString& text, int command, bool marked,
                   bool enabled = true) {
    QAction* action = AddItem(menu, text, command, enabled);
    action->setCheckable(true);
    action->setChecked(marked);
    return action;
}

std::unique_ptr<QMenu> NewMenu(QWidget* parent, const char* name) {
    auto menu = std::make_unique<QMenu>(parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

std::unique_ptr<QMenu> BuildSearchOptionsMenu(QWidget* parent, const SearchOptionsState& state) {
    auto menu = NewMenu(parent, "searchOptionsMenu");
    AddMarked(*menu, mt::kTitlesOnly, ID_TITLES_ONLY, state.titlesOnly);
    AddMarked(*menu, mt::kRelatedWords, ID_RELATED_WORDS, state.relatedWords);
    // The query language means nothing to a search of the titles.
    AddMarked(*menu, mt::kQueryLanguage, ID_QUERY_LANGUAGE, state.queryLanguage, !state.titlesOnly);
    return menu;
}

std::unique_ptr<QMenu> BuildTextSizeMenu(QWidget* parent, int textSize) {
    auto menu = NewMenu(parent, "textSizeMenu");
    for (int size = 0; size < 5; ++size) {
        AddMarked(*menu, mt::kTextSizes[size], ID_ZOOM_0 + size, size == textSize);
    }
    return menu;
}

std::unique_ptr<QMenu> BuildMainMenu(QWidget* parent, const MainMenuState& state) {
    auto menu = NewMenu(parent, "mainMenu");
    AddItem(*menu, mt::kOpenNewWindow, ID_OPEN_NEW_WINDOW);
    AddMarked(*menu, mt::kOfflineMode, ID_OFFLINE_MODE, state.offline);
    menu->addSeparator();
    AddMarked(*menu, mt::kHighlight, ID_HIGHLIGHT, state.highlightShown, state.highlightPending);
    menu->addSeparator();
    AddMarked(*menu, mt::kLeftPane, ID_LEFT_PANE, state.leftPane);
    AddMarked(*menu, mt::kResultPane, ID_RESULT_PANE, state.resultPane);
    menu->addSeparator();
    AddMarked(*menu, mt::kToolbarText, ID_TOOLBAR_TEXT, state.toolbarText);
    menu->addSeparator();
    AddMarked(*menu, mt::kContentIcons, ID_CONTENT_ICONS, state.contentIcons);
    menu->addSeparator();
    QMenu* database = menu->addMenu(mt::kDatabase);
    database->setObjectName(QStringLiteral("databaseMenu"));
    AddItem(*database, mt::kDbInfo, ID_DB_INFO, state.modelShown);
    AddItem(*database, mt::kDbExportXml, ID_DB_EXPORT_XML, state.modelShown);
    AddItem(*database, mt::kDbRebuild, ID_DB_REBUILD, !state.loading);
    menu->addSeparator();
    AddItem(*menu, mt::kClearHistory, ID_CLEAR_HISTORY);
    menu->addSeparator();
    AddItem(*menu, mt::kEditCurrentPage, ID_EDIT_CURRENT_PAGE, state.localPage);
    menu->addSeparator();
    AddItem(*menu, mt::kAbout, ID_ABOUT);
    return menu;
}

QPoint DropDownPosition(const QRect& anchor, int menuWidth) {
    return QPoint(anchor.left() + anchor.width() - menuWidth, anchor.top() + anchor.height());
}

int RunDropDown(QMenu& menu, const QRect& anchor) {
    QAction* chosen = menu.exec(DropDownPosition(anchor, menu.sizeHint().width()));
    return chosen ? chosen->data().toInt() : 0;
}

}  // namespace kestrova
