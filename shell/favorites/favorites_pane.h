// The favorites pane (1027, the third tab of the left pane): the favorites toolbar at the
// top and the favorites tree below it. The navigator window opens it once when it is made,
// hands it the pages to bookmark, and closes it (saving what changed) when it goes away.
// Commands that reach the pane go to the tree.
#pragma once

#include "shell/panes/basic_pane.h"

namespace kestrova {

class CFavoritesToolBar;
class CFavoritesTree;

class CFavoritesPane : public CBasicPane {
    Q_OBJECT
public:
    // objectName "favoritesPane"; the toolbar is "favoritesToolBar" (1028), the tree
    // "favoritesTree" (1029).
    explicit CFavoritesPane(QWidget* parent);

    // The navigator window that gets the tree's requests (NAVM_OPENFILE, NAVM_DOMODAL,
    // NAVM_MESSAGEBOX).
    void SetNavWindow(QObject* navWnd);
    // Loads and shows the favorites, checking the pages against the knowledge-base folder.
    void Open(const QString& folder);
    // Saves the favorites when they changed; false when that failed.
    bool Close();
    // See CFavoritesTree::AddBookmark.
    bool AddBookmark(int flag, const QString& path, const QString& title);
    // One of the ID_FAV_ commands; false for any other.
    bool OnCommand(int id);

    CFavoritesToolBar* ToolBar() const { return toolBar_; }
    CFavoritesTree* Tree() const { return tree_; }

private:
    CFavoritesToolBar* toolBar_;
    CFavoritesTree* tree_;
};

}  // namespace kestrova
