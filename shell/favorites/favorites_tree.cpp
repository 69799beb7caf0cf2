#include "shell/favorites/favorites_tree.h"

#include "model/data_folder.h"
#include "shell/commands.h"
#include "shell/dialogs/favor_dlg.h"
#include "shell/favorites/favorites_texts.h"
#include "shell/favorites/favorites_toolbar.h"
#include "shell/menus/key_tables.h"
#include "shell/nav/nav_messages.h"
#include "shell/panes/basic_pane.h"
#include "shell/panes/pane_guard.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace kestrova {
namespace {

namespace ft = favorites_texts;

constexpr int kItemType = QTreeWidgetItem::UserType + 1;

// An item of the tree: it holds a reference to the node it shows.
class FavoriteItem : public QTreeWidgetItem {
public:
    explicit FavoriteItem(CountedPtr<IBookmarkNode> node)
        : QTreeWidgetItem(kItemType), node_(std::move(node)) {}
    IBookmarkNode* Node() const { return node_.get(); }

private:
    CountedPtr<IBookmarkNode> node_;
};

QString TitleOf(const IBookmarkNode* node) {
    const char16_t* title = node->GetTitle();
    return title ? QString::fromUtf16(title) : QString();
}

IBookmarkFolder* AsFolder(IBookmarkNode* node) {
    return node && !node->IsBookmark() ? dynamic_cast<IBookmarkFolder*>(node) : nullptr;
}

void AddFolders(IBookmarkFolder* folder, const QString& prefix, const IBookmarkNode* excluded,
                std::vector<FavorDlgFolder>& list) {
    for (int i = 0; i < folder->GetChildCount(); ++i) {
        CountedPtr<IBookmarkNode> child = folder->GetChild(i);
        IBookmarkFolder* sub = AsFolder(child.get());
        if (!sub || child.get() == excluded) continue;
        const QString title = TitleOf(sub);
        const QString text = prefix.isEmpty() ? title : prefix + ft::kPathSeparator + title;
        list.push_back({text, sub});
        AddFolders(sub, text, excluded, list);
    }
}

}  // namespace

CFavoritesTree::CFavoritesTree(QWidget* parent, CFavoritesToolBar* toolBar)
    : QTreeWidget(parent), toolBar_(toolBar) {
    setObjectName(QStringLiteral("favoritesTree"));
    setAccessibleName(ft::kTreeName);
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setAnimated(false);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setIconSize(QSize(ScaledX(this, 16), ScaledY(this, 16)));
    const char* files[kPictureCount] = {"folder-closed", "folder-open", "bookmark",
                                        "bookmark-missing"};
    for (int i = 0; i < kPictureCount; ++i) {
        pictures_[i] = QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(files[i])));
    }
    connect(this, &QTreeWidget::itemExpanded, this, &CFavoritesTree::UpdateFolderPicture);
    connect(this, &QTreeWidget::itemCollapsed, this, &CFavoritesTree::UpdateFolderPicture);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CFavoritesTree::UpdateToolBar);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (leftRelease_) OpenItem(item);
    });
    UpdateToolBar();
}

// The items go first: they hold references to nodes of the set. The toolbar may be gone
// already, so no selection change is reported any more.
CFavoritesTree::~CFavoritesTree() {
    blockSignals(true);
    clear();
}

IBookmarkNode* CFavoritesTree::NodeOf(const QTreeWidgetItem* item) {
    return item && item->type() == kItemType ? static_cast<const FavoriteItem*>(item)->Node()
                                             : nullptr;
}

QTreeWidgetItem* CFavoritesTree::ItemOf(const IBookmarkNode* node) const {
    if (!node) return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<CFavoritesTree*>(this)); *it; ++it) {
        if (NodeOf(*it) == node) return *it;
    }
    return nullptr;
}

QTreeWidgetItem* CFavoritesTree::FolderItem(const IBookmarkFolder* folder) const {
    if (set_ && folder == set_->GetRoot()) return invisibleRootItem();
    return ItemOf(folder);
}

QTreeWidgetItem* CFavoritesTree::SelectedItem() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

IBookmarkNode* CFavoritesTree::SelectedNode() const { return NodeOf(SelectedItem()); }

void CFavoritesTree::SelectItem(QTreeWidgetItem* item) {
    if (!item) return;
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
}

void CFavoritesTree::Open(const QString& folder) {
    RunGuarded("favorites: open", [&] {
        if (!set_) set_ = CreateBookmarkSet(folder.toStdU16String());
        set_->Load();
        Fill(nullptr);
    });
}

bool CFavoritesTree::Close() {
    bool saved = true;
    RunGuarded("favorites: close", [&] {
        if (!set_ || !set_->IsModified()) return;
        saved = set_->Save();
        if (!saved) {
            qWarning("favorites: cannot save the changes: %s/bookmarks.xml: not written",
                     BaseFolder().c_str());
        }
    });
    return saved;
}

void CFavoritesTree::Fill(const IBookmarkNode* select) {
    const std::vector<const IBookmarkNode*> expanded = ExpandedIn(invisibleRootItem());
    clear();
    if (set_) InsertChildren(invisibleRootItem(), set_->GetRoot());
    RestoreExpanded(invisibleRootItem(), expanded);
    SelectItem(ItemOf(select));
    UpdateToolBar();
}

void CFavoritesTree::InsertChildren(QTreeWidgetItem* parentItem, IBookmarkFolder* folder) {
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < folder->GetChildCount(); ++i) {
        CountedPtr<IBookmarkNode> child = folder->GetChild(i);
        if (!child) continue;
        QTreeWidgetItem* item = MakeItem(child);
        if (IBookmarkFolder* sub = AsFolder(child.get())) InsertChildren(item, sub);
        items.append(item);
    }
    parentItem->addChildren(items);
}

QTreeWidgetItem* CFavoritesTree::MakeItem(CountedPtr<IBookmarkNode> node) {
    auto* item = new FavoriteItem(node);
    item->setText(0, TitleOf(node.get()));
    if (!node->IsBookmark()) {
        item->setIcon(0, pictures_[kFolderClosed]);
    } else if (static_cast<IBookmark*>(node.get())->FileExists()) {
        item->setIcon(0, pictures_[kBookmark]);
    } else {
        item->setIcon(0, pictures_[kBookmarkMissing]);
        item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
    }
    return item;
}

std::vector<const IBookmarkNode*> CFavoritesTree::ExpandedIn(QTreeWidgetItem* item) const {
    std::vector<const IBookmarkNode*> expanded;
    std::vector<QTreeWidgetItem*> pending{item};
    while (!pending.empty()) {
        QTreeWidgetItem* next = pending.back();
        pending.pop_back();
        if (next != invisibleRootItem() && next->isExpanded()) expanded.push_back(NodeOf(next));
        for (int i = 0; i < next->childCount(); ++i) pending.push_back(next->child(i));
    }
    return expanded;
}

void CFavoritesTree::RestoreExpanded(QTreeWidgetItem* item,
                                     const std::vector<const IBookmarkNode*>& expanded) {
    std::vector<QTreeWidgetItem*> pending{item};
    while (!pending.empty()) {
        QTreeWidgetItem* next = pending.back();
        pending.pop_back();
        const IBookmarkNode* node = NodeOf(next);
        if (node && !node->IsBookmark()) {
            const bool open = std::find(expanded.begin(), expanded.end(), node) != expanded.end();
            next->setExpanded(open);
            UpdateFolderPicture(next);
        }
        for (int i = 0; i < next->childCount(); ++i) pending.push_back(next->child(i));
    }
}

void CFavoritesTree::UpdateFolderPicture(QTreeWidgetItem* item) {
    const IBookmarkNode* node = NodeOf(item);
    if (!node || node->IsBookmark()) return;
    item->setIcon(0, pictures_[item->isExpanded() ? kFolderOpen : kFolderClosed]);
}

void CFavoritesTree::UpdateToolBar() {
    if (!toolBar_) return;
    QTreeWidgetItem* item = SelectedItem();
    QTreeWidgetItem* parentItem =
        item ? (item->parent() ? item->parent() : invisibleRootItem()) : nullptr;
    const int index = parentItem ? parentItem->indexOfChild(item) : -1;
    toolBar_->EnableButton(ID_FAV_UP, index > 0);
    toolBar_->EnableButton(ID_FAV_DOWN, index >= 0 && index + 1 < parentItem->childCount());
    toolBar_->EnableButton(ID_FAV_ADD_FOLDER, true);
    toolBar_->EnableButton(ID_FAV_EDIT, item != nullptr);
    toolBar_->EnableButton(ID_FAV_DELETE, item != nullptr);
}

IBookmarkFolder* CFavoritesTree::TargetFolder() const {
    if (!set_) return nullptr;
    IBookmarkNode* node = SelectedNode();
    if (IBookmarkFolder* folder = AsFolder(node)) return folder;
    if (node && node->GetParent()) return node->GetParent();
    return set_->GetRoot();
}

std::vector<FavorDlgFolder> CFavoritesTree::FolderList(const IBookmarkNode* excluded) const {
    std::vector<FavorDlgFolder> list;
    if (!set_) return list;
    list.push_back({ft::kRootFolder, set_->GetRoot()});
    AddFolders(set_->GetRoot(), QString(), excluded, list);
    return list;
}

void CFavoritesTree::AppendNew(CountedPtr<IBookmarkNode> node, IBookmarkFolder* folder) {
    QTreeWidgetItem* parentItem = FolderItem(folder);
    folder->Insert(-1, node.get());
    if (!parentItem) {
        Fill(node.get());  // the folder is not shown: show everything again
        return;
    }
    QTreeWidgetItem* item = MakeItem(node);
    parentItem->addChild(item);
    SelectItem(item);
    UpdateToolBar();
}

std::optional<CFavoritesTree::DialogAnswer> CFavoritesTree::RunDialog(const QString& caption,
                                                                      const QString& text,
                                                                      const IBookmarkNode* excluded,
                                                                      IBookmarkFolder* preselect) {
    CFavorDlg dialog(this, caption, text, FolderList(excluded), preselect);
    NavDoModal message(&dialog);
    if (SendNavMessage(navWnd_, message) != QDialog::Accepted || !dialog.Folder()) {
        return std::nullopt;
    }
    return DialogAnswer{dialog.Text(), dialog.Folder()};
}

bool CFavoritesTree::AddBookmark(int flag, const QString& path, const QString& title) {
    if (!set_) return false;
    bool added = false;
    RunGuarded("favorites: add bookmark", [&] {
        DialogAnswer answer{title, TargetFolder()};
        if (flag != 0) {
            std::optional<DialogAnswer> asked =
                RunDialog(ft::kNewBookmark, title, nullptr, answer.folder);
            if (!asked) return;
            answer = *asked;
        }
        AppendNew(set_->CreateBookmark(answer.text.toStdU16String(), path.toStdU16String()),
                  answer.folder);
        added = true;
    });
    return added;
}

bool CFavoritesTree::OnCommand(int id) {
    switch (id) {
        case ID_FAV_UP:
            RunGuarded("favorites: up", [&] { Move(-1); });
            return true;
        case ID_FAV_DOWN:
            RunGuarded("favorites: down", [&] { Move(1); });
            return true;
        case ID_FAV_ADD_FOLDER:
            RunGuarded("favorites: add folder", [&] { AddFolder(); });
            return true;
        case ID_FAV_EDIT:
            RunGuarded("favorites: edit", [&] { Edit(); });
            return true;
        case ID_FAV_DELETE:
            RunGuarded("favorites: delete", [&] { Delete(); });
            return true;
        default:
            return false;
    }
}

void CFavoritesTree::OpenItem(QTreeWidgetItem* item) {
    IBookmarkNode* node = NodeOf(item);
    if (!node || !node->IsBookmark()) return;
    auto* bookmark = static_cast<IBookmark*>(node);
    if (!bookmark->FileExists()) return;
    NavOpenFile message(QString::fromUtf16(bookmark->GetFile()));
    RunGuarded("favorites: open page", [&] { SendNavMessage(navWnd_, message); });
}

void CFavoritesTree::AddFolder() {
    if (!set_) return;
    std::optional<DialogAnswer> answer =
        RunDialog(ft::kNewFolder, QString(), nullptr, TargetFolder());
    if (!answer) return;
    AppendNew(set_->CreateFolder(answer->text.toStdU16String()), answer->folder);
}

void CFavoritesTree::Edit() {
    QTreeWidgetItem* item = SelectedItem();
    IBookmarkNode* node = NodeOf(item);
    IBookmarkFolder* parent = node ? node->GetParent() : nullptr;
    if (!parent) return;
    const bool folder = !node->IsBookmark();
    std::optional<DialogAnswer> answer = RunDialog(folder ? ft::kFolder : ft::kBookmark,
                                                   TitleOf(node), folder ? node : nullptr, parent);
    if (!answer) return;
    node->SetTitle(answer->text.toStdU16String());
    item->setText(0, answer->text);
    if (answer->folder == parent) return;
    CountedPtr<IBookmarkNode> keep = CountedPtr<IBookmarkNode>::Share(node);
    const int index = parent->IndexOf(node);
    if (index < 0 || !parent->Remove(index)) return;
    answer->folder->Insert(-1, node);
    Fill(node);
}

void CFavoritesTree::Delete() {
    QTreeWidgetItem* item = SelectedItem();
    IBookmarkNode* node = NodeOf(item);
    IBookmarkFolder* parent = node ? node->GetParent() : nullptr;
    if (!parent) return;
    const int count = node->GetBookmarkCount();
    if (count > 1) {
        NavMessageBox question(ft::kDeleteFolder.arg(count), QMessageBox::Question,
                               QMessageBox::Ok | QMessageBox::Cancel);
        if (SendNavMessage(navWnd_, question) != QMessageBox::Ok) return;
    }
    const int index = parent->IndexOf(node);
    if (index < 0 || !parent->Remove(index)) return;
    delete item;
    // As a tree control does, the item that became current is the selected one now.
    if (QTreeWidgetItem* current = currentItem()) current->setSelected(true);
    UpdateToolBar();
}

void CFavoritesTree::Move(int delta) {
    QTreeWidgetItem* item = SelectedItem();
    IBookmarkNode* node = NodeOf(item);
    IBookmarkFolder* parent = node ? node->GetParent() : nullptr;
    if (!parent) return;
    const int index = parent->IndexOf(node);
    const int target = index + delta;
    if (index < 0 || target < 0 || target >= parent->GetChildCount()) return;
    QTreeWidgetItem* parentItem = item->parent() ? item->parent() : invisibleRootItem();
    if (parentItem->indexOfChild(item) != index) return;  // the tree is not the set's
    const std::vector<const IBookmarkNode*> expanded = ExpandedIn(item);
    CountedPtr<IBookmarkNode> keep = CountedPtr<IBookmarkNode>::Share(node);
    if (!parent->Remove(index)) return;
    parent->Insert(target, node);
    // The item goes out with its children and comes back at its new place.
    parentItem->takeChild(index);
    parentItem->insertChild(target, item);
    RestoreExpanded(item, expanded);
    SelectItem(item);
    UpdateToolBar();
}

void CFavoritesTree::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        OpenItem(SelectedItem());
        event->accept();
        return;
    }
    if (const int command = CommandOfKey(FavoritesKeys(), *event)) {
        OnCommand(command);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CFavoritesTree::mouseReleaseEvent(QMouseEvent* event) {
    leftRelease_ = event->button() == Qt::LeftButton;
    QTreeWidget::mouseReleaseEvent(event);
    leftRelease_ = false;
}

}  // namespace kestrova

#include "moc_favorites_tree.cpp"
