// The favorites pane over the real favorites file: the tree with its pictures and grey
// missing bookmarks, opening, the toolbar's state and tooltips, adding with and without the
// dialog, editing with a move, deleting with its question, moving up and down, the keys, the
// save when the pane closes, and the favorites dialog's rule for "ОК".
#include "shell/favorites/favorites_pane.h"
#include "favorites/bookmark_set.h"
#include "shell/commands.h"
#include "shell/dialogs/favor_dlg.h"
#include "shell/favorites/favorites_toolbar.h"
#include "shell/favorites/favorites_tree.h"
#include "shell/nav/nav_messages.h"
#include "shell/tests/shell_test_support.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>
#include <vector>

using namespace kestrova;

namespace {

QString BookmarksFile() {
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Kestrova/bookmarks.xml");
}

void WriteBookmarks(const QByteArray& body) {
    test::WriteFile(BookmarksFile(),
                    "<?xml version=\"1.0\"?>\n<bookmarks>\n" + body + "</bookmarks>\n");
}

QByteArray ReadBookmarks() {
    QFile file(BookmarksFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a favorites dialog showed.
struct DialogSeen {
    QString caption;
    QString text;
    QStringList folders;
    int selected = -1;
};

// The navigator window as the pane sees it: it records the pages opened, shows the dialogs
// to `onDialog` (which answers them; without it they are cancelled) and answers questions
// with `answer`.
class FavNavRecorder : public QObject {
public:
    QStringList opened;
    std::vector<DialogSeen> dialogs;
    std::function<void(CFavorDlg&)> onDialog;
    QStringList questions;
    QMessageBox::Icon questionIcon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons questionButtons;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;

    bool event(QEvent* e) override {
        if (e->type() == NavEventType(NAVM_OPENFILE)) {
            auto* message = static_cast<NavOpenFile*>(e);
            opened.append(message->file);
            message->result = 1;
            return true;
        }
        if (e->type() == NavEventType(NAVM_DOMODAL)) {
            auto* message = static_cast<NavDoModal*>(e);
            auto* dialog = qobject_cast<CFavorDlg*>(message->dialog);
            if (!dialog) return false;
            DialogSeen seen{
                dialog->windowTitle(), dialog->Text(), {}, dialog->FolderList()->currentIndex()};
            for (int i = 0; i < dialog->FolderList()->count(); ++i) {
                seen.folders.append(dialog->FolderList()->itemText(i));
            }
            dialogs.push_back(seen);
            if (onDialog) {
                onDialog(*dialog);
            } else {
                dialog->reject();
            }
            message->result = dialog->result();
            return true;
        }
        if (e->type() == NavEventType(NAVM_MESSAGEBOX)) {
            auto* message = static_cast<NavMessageBox*>(e);
            questions.append(message->text);
            questionIcon = message->icon;
            questionButtons = message->buttons;
            message->result = answer;
            return true;
        }
        return QObject::event(e);
    }
};

// An answer to the dialog: the text and the folder entry chosen, then "ОК".
std::function<void(CFavorDlg&)> Answer(const QString& text, const QString& folder) {
    return [text, folder](CFavorDlg& dialog) {
        dialog.TextEdit()->setText(text);
        const int row = dialog.FolderList()->findText(folder);
        QVERIFY2(row >= 0, qPrintable(folder));
        dialog.FolderList()->setCurrentIndex(row);
        dialog.OkButton()->click();
    };
}

QString Title(const IBookmarkNode* node) {
    return node && node->GetTitle() ? QString::fromUtf16(node->GetTitle()) : QString();
}

// The titles of a folder's children, in order.
QStringList Titles(IBookmarkFolder* folder) {
    QStringList titles;
    for (int i = 0; i < folder->GetChildCount(); ++i)
        titles.append(Title(folder->GetChild(i).get()));
    return titles;
}

QStringList ItemTexts(QTreeWidgetItem* parent) {
    QStringList texts;
    for (int i = 0; i < parent->childCount(); ++i) texts.append(parent->child(i)->text(0));
    return texts;
}

const QByteArray kTwoFolders =
    "<folder title=\"Кодексы\">\n"
    "<bookmark title=\"Устав\" file=\"index-law.html\"/>\n"
    "<folder title=\"Вложенная\"><bookmark title=\"Нет такой\" file=\"law\\missing.html\"/>"
    "</folder>\n"
    "</folder>\n"
    "<folder title=\"Справка\">\n"
    "<bookmark title=\"Вопросы\" file=\"ref/faq.html\"/>\n"
    "<bookmark title=\"Глоссарий\" file=\"ref\\glossary.html\"/>\n"
    "</folder>\n"
    "<bookmark title=\"Пропавшая\" file=\"gone.html\"/>\n"
    "<bookmark title=\"Папка вместо файла\" file=\"law\"/>\n";

}  // namespace

class FavoritesPaneTest : public QObject {
    Q_OBJECT

    QString kb_;
    std::unique_ptr<FavNavRecorder> nav_;
    std::unique_ptr<CFavoritesPane> pane_;

    CFavoritesTree* Tree() const { return pane_->Tree(); }
    CFavoritesToolBar* Bar() const { return pane_->ToolBar(); }
    QTreeWidgetItem* Root() const { return Tree()->invisibleRootItem(); }
    IBookmarkFolder* SetRoot() const { return Tree()->Set()->GetRoot(); }
    // The item reached by texts from the top level.
    QTreeWidgetItem* Item(const std::vector<const char*>& path) const {
        QTreeWidgetItem* item = Root();
        for (const char* text : path) {
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; i < item->childCount() && !next; ++i) {
                if (item->child(i)->text(0) == QString::fromUtf8(text)) next = item->child(i);
            }
            if (!next) return nullptr;
            item = next;
        }
        return item;
    }
    void Select(QTreeWidgetItem* item) {
        QVERIFY(item);
        Tree()->setCurrentItem(item);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Tree(), static_cast<Qt::Key>(key), modifiers);
    }
    void Click(QTreeWidgetItem* item) {
        QVERIFY(item);
        Tree()->scrollToItem(item);
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                          Tree()->visualItemRect(item).center());
    }
    void OpenPane() {
        pane_ = std::make_unique<CFavoritesPane>(nullptr);
        pane_->SetNavWindow(nav_.get());
        pane_->resize(300, 500);
        pane_->Open(kb_);
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
    }

private slots:
    void initTestCase() { kb_ = test::CopySampleKb(); }

    void init() {
        nav_ = std::make_unique<FavNavRecorder>();
        WriteBookmarks(kTwoFolders);
        OpenPane();
    }

    void cleanup() {
        pane_.reset();
        QFile::remove(BookmarksFile());
    }

    void TreeShowsTheFileWithPicturesAndGreyMissingPages() {
        QCOMPARE(ItemTexts(Root()),
                 QStringList({"Кодексы", "Справка", "Пропавшая", "Папка вместо файла"}));
        QCOMPARE(ItemTexts(Item({"Кодексы"})), QStringList({"Устав", "Вложенная"}));
        QCOMPARE(ItemTexts(Item({"Справка"})), QStringList({"Вопросы", "Глоссарий"}));
        auto picture = [&](QTreeWidgetItem* item) { return item->icon(0).cacheKey(); };
        auto expected = [&](CFavoritesTree::Picture p) { return Tree()->PictureOf(p).cacheKey(); };
        QTreeWidgetItem* codes = Item({"Кодексы"});
        QCOMPARE(picture(codes), expected(CFavoritesTree::kFolderClosed));
        codes->setExpanded(true);
        QCOMPARE(picture(codes), expected(CFavoritesTree::kFolderOpen));
        codes->setExpanded(false);
        QCOMPARE(picture(codes), expected(CFavoritesTree::kFolderClosed));

        const QColor grey = Tree()->palette().color(QPalette::Disabled, QPalette::Text);
        const std::vector<std::vector<const char*>> missing = {
            {"Пропавшая"}, {"Папка вместо файла"}, {"Кодексы", "Вложенная", "Нет такой"}};
        for (const auto& path : missing) {
            QTreeWidgetItem* item = Item(path);
            QVERIFY(item);
            QCOMPARE(picture(item), expected(CFavoritesTree::kBookmarkMissing));
            QCOMPARE(item->foreground(0).color(), grey);
        }
        const std::vector<std::vector<const char*>> present = {
            {"Кодексы", "Устав"}, {"Справка", "Вопросы"}, {"Справка", "Глоссарий"}};
        for (const auto& path : present) {
            QTreeWidgetItem* item = Item(path);
            QCOMPARE(picture(item), expected(CFavoritesTree::kBookmark));
            QVERIFY(item->data(0, Qt::ForegroundRole).isNull());
        }
    }

    void ClickOrEnterOpensOnlyBookmarksWhosePageExists() {
        Item({"Кодексы"})->setExpanded(true);
        Click(Item({"Кодексы"}));
        Click(Item({"Пропавшая"}));
        Click(Item({"Кодексы", "Устав"}));
        QCOMPARE(nav_->opened, QStringList({"index-law.html"}));
        Select(Item({"Справка", "Глоссарий"}));
        Key(Qt::Key_Return);
        Select(Item({"Папка вместо файла"}));
        Key(Qt::Key_Return);
        QCOMPARE(nav_->opened, QStringList({"index-law.html", "ref\\glossary.html"}));
    }

    void ToolbarFollowsTheSelectionAndNamesItsKeys() {
        const std::pair<int, QString> tips[] = {{ID_FAV_UP, "Вверх (Ctrl+PgUp)"},
                                                {ID_FAV_DOWN, "Вниз (Ctrl+PgDn)"},
                                                {ID_FAV_ADD_FOLDER, "Добавить папку (Ins)"},
                                                {ID_FAV_EDIT, "Изменить (Ctrl+Enter)"},
                                                {ID_FAV_DELETE, "Удалить (Del)"}};
        for (const auto& [id, tip] : tips) {
            QToolButton* button = Bar()->Button(id);
            QVERIFY(button);
            QCOMPARE(button->toolTip(), tip);
            QCOMPARE(button->accessibleName(), tip);
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        }
        auto state = [&] {
            QString s;
            for (int id : {ID_FAV_UP, ID_FAV_DOWN, ID_FAV_ADD_FOLDER, ID_FAV_EDIT, ID_FAV_DELETE})
                s += Bar()->IsButtonEnabled(id) ? '1' : '0';
            return s;
        };
        QCOMPARE(state(), QStringLiteral("00100"));
        Select(Item({"Кодексы"}));
        QCOMPARE(state(), QStringLiteral("01111"));
        Select(Item({"Справка"}));
        QCOMPARE(state(), QStringLiteral("11111"));
        Select(Item({"Папка вместо файла"}));
        QCOMPARE(state(), QStringLiteral("10111"));
        Select(Item({"Кодексы", "Вложенная", "Нет такой"}));
        QCOMPARE(state(), QStringLiteral("00111"));
        Tree()->clearSelection();
        QCOMPARE(state(), QStringLiteral("00100"));
        // A click on a button works on the selected item.
        Select(Item({"Справка", "Глоссарий"}));
        QTest::mouseClick(Bar()->Button(ID_FAV_UP), Qt::LeftButton);
        QCOMPARE(Titles(Tree()->TargetFolder()), QStringList({"Глоссарий", "Вопросы"}));
    }

    void NewFolderWithNothingSelectedGoesToTheTopLevel() {
        Tree()->clearSelection();
        nav_->onDialog = Answer("Новая", "<Избранное - корневая папка>");
        Key(Qt::Key_Insert);
        QCOMPARE(nav_->dialogs.size(), size_t(1));
        const DialogSeen& seen = nav_->dialogs[0];
        QCOMPARE(seen.caption, QStringLiteral("Новая папка"));
        QCOMPARE(seen.text, QString());
        QCOMPARE(seen.folders, QStringList({"<Избранное - корневая папка>", "Кодексы",
                                            "Кодексы : Вложенная", "Справка"}));
        QCOMPARE(seen.selected, 0);
        QCOMPARE(Titles(SetRoot()).last(), QStringLiteral("Новая"));
        QCOMPARE(ItemTexts(Root()).last(), QStringLiteral("Новая"));
        QCOMPARE(Tree()->SelectedNode(), SetRoot()->GetChild(4).get());
        // A cancelled dialog adds nothing.
        nav_->onDialog = nullptr;
        pane_->OnCommand(ID_FAV_ADD_FOLDER);
        QCOMPARE(SetRoot()->GetChildCount(), 5);
    }

    void BookmarksGoToTheFolderOfTheSelection() {
        // Without the dialog: into the folder of the selected bookmark, selected at its end.
        Select(Item({"Справка", "Вопросы"}));
        QVERIFY(pane_->AddBookmark(0, "about.html", "О программе"));
        QVERIFY(nav_->dialogs.empty());
        QCOMPARE(ItemTexts(Item({"Справка"})),
                 QStringList({"Вопросы", "Глоссарий", "О программе"}));
        QCOMPARE(Tree()->selectedItems().value(0), Item({"Справка", "О программе"}));
        IBookmarkNode* added = Tree()->SelectedNode();
        QCOMPARE(QString::fromUtf16(static_cast<IBookmark*>(added)->GetFile()),
                 QStringLiteral("about.html"));
        QCOMPARE(Title(added->GetParent()), QStringLiteral("Справка"));

        // With the dialog: the selected folder is offered first; the user picks another.
        Select(Item({"Кодексы", "Вложенная"}));
        nav_->onDialog = Answer("Пожарная безопасность", "Справка");
        QVERIFY(pane_->AddBookmark(1, "law\\fire-safety.html", "Федеральный закон"));
        const DialogSeen& seen = nav_->dialogs.at(0);
        QCOMPARE(seen.caption, QStringLiteral("Новая закладка"));
        QCOMPARE(seen.text, QStringLiteral("Федеральный закон"));
        QCOMPARE(seen.folders.value(seen.selected), QStringLiteral("Кодексы : Вложенная"));
        QCOMPARE(ItemTexts(Item({"Справка"})).last(), QStringLiteral("Пожарная безопасность"));
        QCOMPARE(Tree()->SelectedNode()->GetParent(), Tree()->TargetFolder());
        QCOMPARE(Tree()->selectedItems().value(0)->icon(0).cacheKey(),
                 Tree()->PictureOf(CFavoritesTree::kBookmark).cacheKey());

        // Cancelled: nothing added, and the pane says so.
        nav_->onDialog = nullptr;
        const int before = Item({"Справка"})->childCount();
        QVERIFY(!pane_->AddBookmark(1, "about.html", "О программе"));
        QCOMPARE(Item({"Справка"})->childCount(), before);
        // A new bookmark of a page that does not exist is grey from the start.
        Tree()->clearSelection();
        QVERIFY(pane_->AddBookmark(0, "nowhere.html", "Нигде"));
        QCOMPARE(Item({"Нигде"})->icon(0).cacheKey(),
                 Tree()->PictureOf(CFavoritesTree::kBookmarkMissing).cacheKey());
    }

    void EditRenamesAndMovesButNeverIntoItself() {
        Item({"Кодексы"})->setExpanded(true);
        Item({"Кодексы", "Вложенная"})->setExpanded(true);
        Select(Item({"Кодексы"}));
        nav_->onDialog = Answer("Законы", "Справка");
        Key(Qt::Key_Return, Qt::ControlModifier);
        const DialogSeen& seen = nav_->dialogs.at(0);
        QCOMPARE(seen.caption, QStringLiteral("Папка"));
        QCOMPARE(seen.text, QStringLiteral("Кодексы"));
        QCOMPARE(seen.folders, QStringList({"<Избранное - корневая папка>", "Справка"}));
        QCOMPARE(seen.selected, 0);
        QCOMPARE(ItemTexts(Root()), QStringList({"Справка", "Пропавшая", "Папка вместо файла"}));
        QCOMPARE(ItemTexts(Item({"Справка"})), QStringList({"Вопросы", "Глоссарий", "Законы"}));
        QTreeWidgetItem* moved = Item({"Справка", "Законы"});
        QCOMPARE(Tree()->selectedItems().value(0), moved);
        QCOMPARE(Titles(Tree()->TargetFolder()), QStringList({"Устав", "Вложенная"}));
        // The folders that were open are open again.
        QVERIFY(moved->isExpanded());
        QVERIFY(Item({"Справка", "Законы", "Вложенная"})->isExpanded());
        QCOMPARE(moved->icon(0).cacheKey(),
                 Tree()->PictureOf(CFavoritesTree::kFolderOpen).cacheKey());

        // A bookmark may go into any folder; renaming it alone keeps its place.
        Select(Item({"Пропавшая"}));
        nav_->onDialog = Answer("Пропавшая страница", "<Избранное - корневая папка>");
        pane_->OnCommand(ID_FAV_EDIT);
        QCOMPARE(nav_->dialogs.at(1).caption, QStringLiteral("Закладка"));
        QCOMPARE(nav_->dialogs.at(1).folders,
                 QStringList({"<Избранное - корневая папка>", "Справка", "Справка : Законы",
                              "Справка : Законы : Вложенная"}));
        QCOMPARE(ItemTexts(Root()),
                 QStringList({"Справка", "Пропавшая страница", "Папка вместо файла"}));
        QCOMPARE(Titles(SetRoot()),
                 QStringList({"Справка", "Пропавшая страница", "Папка вместо файла"}));
    }

    void DeletingAFolderOfSeveralBookmarksAsksFirst() {
        Select(Item({"Справка"}));
        nav_->answer = QMessageBox::Cancel;
        Key(Qt::Key_Delete);
        QCOMPARE(nav_->questions, QStringList({"Удалить папку содержащую 2 закладок?"}));
        QCOMPARE(nav_->questionIcon, QMessageBox::Question);
        QCOMPARE(nav_->questionButtons, QMessageBox::Ok | QMessageBox::Cancel);
        QVERIFY(Item({"Справка"}));
        QVERIFY(!Tree()->Set()->IsModified());

        nav_->answer = QMessageBox::Ok;
        Key(Qt::Key_Delete);
        QVERIFY(!Item({"Справка"}));
        QCOMPARE(Titles(SetRoot()), QStringList({"Кодексы", "Пропавшая", "Папка вместо файла"}));

        // No question for a folder of one bookmark or for a single bookmark.
        Select(Item({"Кодексы", "Вложенная"}));
        pane_->OnCommand(ID_FAV_DELETE);
        Select(Item({"Пропавшая"}));
        pane_->OnCommand(ID_FAV_DELETE);
        QCOMPARE(nav_->questions.size(), 2);
        QCOMPARE(Titles(SetRoot()), QStringList({"Кодексы", "Папка вместо файла"}));
        QCOMPARE(ItemTexts(Item({"Кодексы"})), QStringList({"Устав"}));
        // The item that took the deleted one's place is selected.
        QVERIFY(Tree()->SelectedNode());
    }

    void MovingKeepsTheOpenFoldersInsideAndTheSetInStep() {
        Item({"Кодексы"})->setExpanded(true);
        Item({"Кодексы", "Вложенная"})->setExpanded(true);
        Select(Item({"Кодексы"}));
        Key(Qt::Key_PageDown, Qt::ControlModifier);
        Key(Qt::Key_PageDown, Qt::ControlModifier);
        const QStringList moved = {"Справка", "Пропавшая", "Кодексы", "Папка вместо файла"};
        QCOMPARE(ItemTexts(Root()), moved);
        QCOMPARE(Titles(SetRoot()), moved);
        QTreeWidgetItem* codes = Item({"Кодексы"});
        QCOMPARE(Tree()->selectedItems().value(0), codes);
        QVERIFY(codes->isExpanded());
        QVERIFY(Item({"Кодексы", "Вложенная"})->isExpanded());
        QCOMPARE(Item({"Кодексы", "Вложенная"})->icon(0).cacheKey(),
                 Tree()->PictureOf(CFavoritesTree::kFolderOpen).cacheKey());
        Key(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(Titles(SetRoot()),
                 QStringList({"Справка", "Кодексы", "Пропавшая", "Папка вместо файла"}));
        QCOMPARE(ItemTexts(Root()), Titles(SetRoot()));
        // The first item cannot go up, the last cannot go down: nothing changes.
        Select(Item({"Справка"}));
        Key(Qt::Key_PageUp, Qt::ControlModifier);
        Select(Item({"Папка вместо файла"}));
        Key(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(Titles(SetRoot()),
                 QStringList({"Справка", "Кодексы", "Пропавшая", "Папка вместо файла"}));
        QCOMPARE(ItemTexts(Root()), Titles(SetRoot()));
        // Inside a folder.
        Select(Item({"Справка", "Глоссарий"}));
        pane_->OnCommand(ID_FAV_UP);
        QCOMPARE(ItemTexts(Item({"Справка"})), QStringList({"Глоссарий", "Вопросы"}));
        QCOMPARE(Titles(Tree()->TargetFolder()), QStringList({"Глоссарий", "Вопросы"}));
    }

    void ChangesAreSavedWhenThePaneClosesAndOnlyThen() {
        // Unchanged: the file stays exactly as it was written.
        const QByteArray original = ReadBookmarks();
        QVERIFY(pane_->Close());
        QCOMPARE(ReadBookmarks(), original);

        Select(Item({"Справка", "Вопросы"}));
        pane_->OnCommand(ID_FAV_DOWN);
        Select(Item({"Пропавшая"}));
        pane_->OnCommand(ID_FAV_DELETE);
        Tree()->clearSelection();
        QVERIFY(pane_->AddBookmark(0, "law\\fire-safety.html", "Пожарная & \"безопасность\""));
        QVERIFY(pane_->Close());
        const QByteArray saved = ReadBookmarks();
        QVERIFY(saved.startsWith("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<bookmarks>\r\n"));
        QVERIFY(
            saved.contains("\t<folder title=\"Справка\">\r\n"
                           "\t\t<bookmark title=\"Глоссарий\" file=\"ref\\glossary.html\" />"
                           "\r\n\t\t<bookmark title=\"Вопросы\" file=\"ref/faq.html\" />\r\n"));
        QVERIFY(!saved.contains("Пропавшая"));

        // The next pane shows what the last one left.
        pane_.reset();
        OpenPane();
        QCOMPARE(ItemTexts(Root()), QStringList({"Кодексы", "Справка", "Папка вместо файла",
                                                 "Пожарная & \"безопасность\""}));
        QCOMPARE(ItemTexts(Item({"Справка"})), QStringList({"Глоссарий", "Вопросы"}));
        QCOMPARE(Item({"Пожарная & \"безопасность\""})->icon(0).cacheKey(),
                 Tree()->PictureOf(CFavoritesTree::kBookmark).cacheKey());
    }

    void UnreadableFileLeavesTheTreeEmptyAndIsKept() {
        pane_.reset();
        test::WriteFile(BookmarksFile(), "<bookmarks><folder title=\"x\">");
        OpenPane();
        QCOMPARE(Root()->childCount(), 0);
        QVERIFY(pane_->AddBookmark(0, "about.html", "О программе"));
        QVERIFY(pane_->Close());
        QFile damaged(qEnvironmentVariable("XDG_DATA_HOME") + "/Kestrova/bookmarks.damaged");
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), QByteArray("<bookmarks><folder title=\"x\">"));
        QFile::remove(damaged.fileName());
    }

    void WithoutANavigatorWindowNothingIsAskedOrDone() {
        pane_->SetNavWindow(nullptr);
        Select(Item({"Справка"}));
        pane_->OnCommand(ID_FAV_DELETE);
        pane_->OnCommand(ID_FAV_EDIT);
        QVERIFY(!pane_->AddBookmark(1, "about.html", "О программе"));
        QVERIFY(Item({"Справка"}));
        QVERIFY(!Tree()->Set()->IsModified());
    }

    void DialogOkNeedsTextAndFolder() {
        CountedPtr<IBookmarkSet> set = CreateBookmarkSet(kb_.toStdU16String());
        CountedPtr<IBookmarkFolder> other = set->CreateFolder(u"Другая");
        std::vector<FavorDlgFolder> folders = {{"<Избранное - корневая папка>", set->GetRoot()},
                                               {"Другая", other.get()}};
        // A preselected folder that is not offered: nothing selected, "ОК" disabled.
        CFavorDlg dialog(nullptr, "Новая закладка", "Страница", folders, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Новая закладка"));
        QCOMPARE(dialog.FolderList()->currentIndex(), -1);
        QVERIFY(!dialog.OkButton()->isEnabled());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.FolderList()->setCurrentIndex(1);
        QVERIFY(dialog.OkButton()->isEnabled());
        dialog.TextEdit()->clear();
        QVERIFY(!dialog.OkButton()->isEnabled());
        QTest::keyClicks(dialog.TextEdit(), " ");
        QVERIFY(dialog.OkButton()->isEnabled());
        dialog.TextEdit()->setText("Новое имя");
        dialog.OkButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Text(), QStringLiteral("Новое имя"));
        QCOMPARE(dialog.Folder(), other.get());

        CFavorDlg second(nullptr, "Папка", "Другая", folders, other.get());
        QCOMPARE(second.FolderList()->currentIndex(), 1);
        QCOMPARE(second.TextEdit()->text(), QStringLiteral("Другая"));
        QVERIFY(second.OkButton()->isEnabled());
        QCOMPARE(second.findChild<QPushButton*>("favorCancel")->text(), QStringLiteral("Отмена"));
        QCOMPARE(second.OkButton()->text(), QStringLiteral("ОК"));
    }
};

KESTROVA_SHELL_TEST_MAIN(FavoritesPaneTest)

#include "favorites_pane_test.moc"
