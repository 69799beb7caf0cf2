// The favorites tree (1029): the folders and bookmarks of the user's favorites set, in the
// set's order, with a folder picture (open while expanded) and a bookmark picture (another,
// and grey text, when the bookmark's page was missing when the favorites were loaded).
//
// A click on a bookmark (not on its expand button) or Enter opens its page by sending
// NAVM_OPENFILE to the navigator window; a bookmark whose page is missing is not opened.
// The commands ID_FAV_UP, ID_FAV_DOWN, ID_FAV_ADD_FOLDER, ID_FAV_EDIT and ID_FAV_DELETE act
// on the selected item; they come from the pane's toolbar and from the keys Ctrl+PgUp,
// Ctrl+PgDn, Insert, Ctrl+Enter and Delete. Dialogs run through NAVM_DOMODAL and questions
// through NAVM_MESSAGEBOX, so without a navigator window nothing is asked and nothing that
// needs an answer is done.
//
// Every operation keeps the tree's items in step with the set (each item holds a reference
// to its node) and catches whatever fails: a failed operation leaves the tree as it was.
// User-interface thread only.
#pragma once

#include "favorites/bookmark_set.h"

#include <QIcon>
#include <QPointer>
#include <QString>
#include <QTreeWidget>

#include <optional>
#include <vector>

namespace kestrova {

class CFavoritesToolBar;
struct FavorDlgFolder;

class CFavoritesTree : public QTreeWidget {
    Q_OBJECT
public:
    // The four pictures of the items.
    enum Picture { kFolderClosed = 0, kFolderOpen, kBookmark, kBookmarkMissing, kPictureCount };

    // objectName "favoritesTree". The toolbar is kept up to date with the selection.
    CFavoritesTree(QWidget* parent, CFavoritesToolBar* toolBar);
    ~CFavoritesTree() override;

    // The navigator window that gets the tree's requests.
    void SetNavWindow(QObject* navWnd) { navWnd_ = navWnd; }

    // Makes the set for the knowledge-base folder `folder` the first time, loads the
    // favorites file into it and shows it. A file that cannot be loaded leaves the tree empty
    // (or as it was, when the set was loaded before).
    void Open(const QString& folder);
    // Saves the set when it was changed. False when saving failed.
    bool Close();
    // Adds a bookmark of `path` (relative to the knowledge-base folder) to the target folder:
    // with `flag` 0 at once, titled `title`; otherwise through the favorites dialog, which
    // lets the user change the title and the folder. True when a bookmark was added.
    bool AddBookmark(int flag, const QString& path, const QString& title);
    // Runs one of the five ID_FAV_ commands; false for any other command.
    bool OnCommand(int id);

    // The folder a new item goes into: the selected folder, the folder of the selected
    // bookmark, else the root.
    IBookmarkFolder* TargetFolder() const;
    // The folders the dialog offers: the root first, then every folder depth first, named by
    // the titles of its ancestors and its own joined with " : "; `excluded` (a folder being
    // edited) and everything inside it are left out.
    std::vector<FavorDlgFolder> FolderList(const IBookmarkNode* excluded) const;

    IBookmarkSet* Set() const { return set_.get(); }
    // The node an item shows, the item of a node (null when the node is not shown), and the
    // node of the selected item (null when none).
    static IBookmarkNode* NodeOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* ItemOf(const IBookmarkNode* node) const;
    IBookmarkNode* SelectedNode() const;
    const QIcon& PictureOf(Picture picture) const { return pictures_[picture]; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct DialogAnswer {
        QString text;
        IBookmarkFolder* folder = nullptr;
    };

    // Shows the set again: the expanded folders stay expanded, `select` gets selected.
    void Fill(const IBookmarkNode* select);
    void InsertChildren(QTreeWidgetItem* parentItem, IBookmarkFolder* folder);
    QTreeWidgetItem* MakeItem(CountedPtr<IBookmarkNode> node);
    // The item that stands for a folder: the invisible root item for the set's root.
    QTreeWidgetItem* FolderItem(const IBookmarkFolder* folder) const;
    QTreeWidgetItem* SelectedItem() const;
    void SelectItem(QTreeWidgetItem* item);
    // Appends a new node to `folder`, shows it as the folder's last item and selects it.
    void AppendNew(CountedPtr<IBookmarkNode> node, IBookmarkFolder* folder);
    // The folders inside `item` (the item included) that are expanded, and the other way:
    // expands exactly those of them and gives every folder its picture.
    std::vector<const IBookmarkNode*> ExpandedIn(QTreeWidgetItem* item) const;
    void RestoreExpanded(QTreeWidgetItem* item, const std::vector<const IBookmarkNode*>& expanded);
    void UpdateToolBar();
    void UpdateFolderPicture(QTreeWidgetItem* item);

    void OpenItem(QTreeWidgetItem* item);
    void AddFolder();
    void Edit();
    void Delete();
    void Move(int delta);
    std::optional<DialogAnswer> RunDialog(const QString& caption, const QString& text,
                                          const IBookmarkNode* excluded,
                                          IBookmarkFolder* preselect);

    CountedPtr<IBookmarkSet> set_;
    QPointer<CFavoritesToolBar> toolBar_;
    QObject* navWnd_ = nullptr;
    QIcon pictures_[kPictureCount];
    bool leftRelease_ = false;  // set while a release of the left button is handled
};

}  // namespace kestrova
