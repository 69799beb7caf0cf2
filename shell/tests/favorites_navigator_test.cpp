// The favorites in the real viewer: pages added from the toolbar command and from the page's
// context menu, folders added, renamed, moved and deleted through the real dialogs and
// message box, a bookmark opened, and bookmarks.xml written when the window closes and shown
// again at the next start.
#include "shell/app/main_frame.h"
#include "shell/app/nav_app.h"
#include "shell/browser/browser_wnd.h"
#include "shell/commands.h"
#include "shell/dialogs/favor_dlg.h"
#include "shell/favorites/favorites_pane.h"
#include "shell/favorites/favorites_toolbar.h"
#include "shell/favorites/favorites_tree.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"
#include "shell/panes/tabs_pane.h"
#include "shell/tests/shell_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

using namespace kestrova;
using test::PageLoaded;

namespace {

constexpr int kWait = 30000;

// Runs `answer` on the next modal dialog of type T as soon as the window shows it.
template <class T>
void WhenModal(std::function<void(T&)> answer, int triesLeft = 1000) {
    QTimer::singleShot(20, [answer, triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            answer(*dialog);
        } else if (triesLeft > 0) {
            WhenModal<T>(answer, triesLeft - 1);
        }
    });
}

// Answers the favorites dialog with a text and a folder entry, remembering what it showed.
void AnswerFavorDlg(const QString& text, const QString& folder, QString* caption = nullptr) {
    WhenModal<CFavorDlg>([=](CFavorDlg& dialog) {
        if (caption) *caption = dialog.windowTitle();
        dialog.TextEdit()->setText(text);
        dialog.FolderList()->setCurrentIndex(dialog.FolderList()->findText(folder));
        dialog.OkButton()->click();
    });
}

QTreeWidgetItem* TopItem(CFavoritesTree* tree, const QString& text) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(0) == text) return tree->topLevelItem(i);
    }
    return nullptr;
}

QStringList Texts(QTreeWidgetItem* parent) {
    QStringList texts;
    for (int i = 0; parent && i < parent->childCount(); ++i)
        texts.append(parent->child(i)->text(0));
    return texts;
}

QString PageUrl(const QString& kb, const QString& page) {
    return QUrl::fromLocalFile(kb + "/" + page).toString();
}

}  // namespace

class FavoritesNavigatorTest : public QObject {
    Q_OBJECT
private slots:
    void FavoritesEditedInTheWindowAreInTheFileAndComeBack() {
        const QString kb = test::CopySampleKb();
        QString lawTitle;
        QStringList pageTitles;  // of the two pages put into the folder
        {
            auto viewer = test::StartViewer(kb, {"index-law.html"});
            QVERIFY(viewer);
            CPagiroWnd_impl_& nav = viewer->Nav();
            CFavoritesTree* tree = viewer->Nav().Favorites()->Tree();
            QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
            QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/index-law.html"), kWait);
            lawTitle = nav.Browser()->CurrentTitle();
            QCOMPARE(tree->topLevelItemCount(), 0);

            // The toolbar command adds the page at once and shows the favorites.
            nav.OnCommand(ID_ADD_FAVORITE);
            QCOMPARE(Texts(tree->invisibleRootItem()), QStringList({lawTitle}));
            QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabFavorites));
            QVERIFY(tree->isVisible());

            // A folder, and two pages put into it from the page's context menu.
            tree->clearSelection();
            AnswerFavorDlg("Кодексы", "<Избранное - корневая папка>");
            nav.OnCommand(ID_FAV_ADD_FOLDER);
            QCOMPARE(Texts(tree->invisibleRootItem()), QStringList({lawTitle, "Кодексы"}));
            QVERIFY(!nav.Favorites()->ToolBar()->IsButtonEnabled(ID_FAV_DOWN));
            for (const char* page : {"law/fire-safety.html", "ref/faq.html"}) {
                tree->setCurrentItem(TopItem(tree, lawTitle));
                nav.Browser()->Navigate(PageUrl(kb, page));
                QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), page), kWait);
                QString caption;
                pageTitles.append(nav.Browser()->CurrentTitle().left(20));
                AnswerFavorDlg(pageTitles.last(), "Кодексы", &caption);
                emit nav.Browser()->BWN_ADDFAVORITE(1);
                QCOMPARE(caption, QStringLiteral("Новая закладка"));
            }
            QTreeWidgetItem* codes = TopItem(tree, "Кодексы");
            QCOMPARE(codes->childCount(), 2);
            QCOMPARE(tree->selectedItems().value(0), codes->child(1));

            // The folder goes up and is renamed; the first bookmark is renamed.
            tree->setCurrentItem(codes);
            nav.OnCommand(ID_FAV_UP);
            AnswerFavorDlg("Законы", "<Избранное - корневая папка>");
            nav.OnCommand(ID_FAV_EDIT);
            tree->setCurrentItem(TopItem(tree, lawTitle));
            AnswerFavorDlg("Устав", "<Избранное - корневая папка>");
            nav.OnCommand(ID_FAV_EDIT);
            QCOMPARE(Texts(tree->invisibleRootItem()), QStringList({"Законы", "Устав"}));

            // A second folder of two bookmarks is deleted after the question.
            tree->clearSelection();
            AnswerFavorDlg("Временная", "<Избранное - корневая папка>");
            nav.OnCommand(ID_FAV_ADD_FOLDER);
            nav.OnCommand(ID_ADD_FAVORITE);
            nav.OnCommand(ID_ADD_FAVORITE);
            QCOMPARE(TopItem(tree, "Временная")->childCount(), 2);
            tree->setCurrentItem(TopItem(tree, "Временная"));
            QString question, caption;
            WhenModal<QMessageBox>([&](QMessageBox& box) {
                question = box.text();
                caption = box.windowTitle();
                box.button(QMessageBox::Ok)->click();
            });
            nav.OnCommand(ID_FAV_DELETE);
            QCOMPARE(question, QStringLiteral("Удалить папку содержащую 2 закладок?"));
            QCOMPARE(caption, QStringLiteral("Подтверждение"));
            QCOMPARE(Texts(tree->invisibleRootItem()), QStringList({"Законы", "Устав"}));

            // A click on a bookmark opens its page.
            QTreeWidgetItem* charter = TopItem(tree, "Устав");
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualItemRect(charter).center());
            QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/index-law.html"), kWait);

            viewer->app->Frames().at(0)->close();
            QTRY_VERIFY_WITH_TIMEOUT(viewer->app->Frames().empty(), kWait);
        }
        QFile file(qEnvironmentVariable("XDG_DATA_HOME") + "/Kestrova/bookmarks.xml");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(pageTitles, QStringList({"Федеральный закон «О", "Вопросы и ответы"}));
        const QByteArray expected =
            "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<bookmarks>\r\n"
            "\t<folder title=\"Законы\">\r\n"
            "\t\t<bookmark title=\"Федеральный закон «О\" file=\"law\\fire-safety.html\" />\r\n"
            "\t\t<bookmark title=\"Вопросы и ответы\" file=\"ref\\faq.html\" />\r\n"
            "\t</folder>\r\n"
            "\t<bookmark title=\"Устав\" file=\"index-law.html\" />\r\n"
            "</bookmarks>\r\n";
        QCOMPARE(QString::fromUtf8(file.readAll()), QString::fromUtf8(expected));

        auto again = test::StartViewer(kb, {"about.html"});
        QVERIFY(again);
        CFavoritesTree* tree = again->Nav().Favorites()->Tree();
        QCOMPARE(Texts(tree->invisibleRootItem()), QStringList({"Законы", "Устав"}));
        QCOMPARE(Texts(TopItem(tree, "Законы")), pageTitles);
        QVERIFY(!tree->Set()->IsModified());
    }
};

KESTROVA_SHELL_TEST_MAIN(FavoritesNavigatorTest)

#include "favorites_navigator_test.moc"
