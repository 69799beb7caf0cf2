// The tabbed left pane: its three tabs, one pane shown at a time, the focus going to the shown
// pane, and the common tab width with labels shortened when the pane is narrow.
#include "shell/panes/content_pane.h"
#include "shell/panes/content_tree.h"
#include "shell/panes/index_box.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/stretch_tab_ctrl.h"
#include "shell/panes/tabs.h"
#include "shell/panes/tabs_pane.h"
#include "shell/tests/panes_test_support.h"

#include <QTest>

using namespace kestrova;
using namespace kestrova::test;

class PanesTabsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CTabsPane> pane_;

    QTabBar* Bar() const { return pane_->Tabs()->tabBar(); }
    QWidget* Page(int tab) const { return pane_->Tabs()->widget(tab); }

private slots:
    void init() {
        pane_ = std::make_unique<CTabsPane>(nullptr);
        pane_->resize(400, 500);
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
    }
    void cleanup() { pane_.reset(); }

    void ThreeTabsAndOnlyTheSelectedPaneShows() {
        QCOMPARE(Bar()->count(), 3);
        QCOMPARE(Bar()->tabText(kTabContents), QStringLiteral("Содержание"));
        QCOMPARE(Bar()->tabText(kTabIndex), QStringLiteral("Указатель"));
        QCOMPARE(Bar()->tabText(kTabFavorites), QStringLiteral("Избранное"));
        QCOMPARE(Page(kTabContents), static_cast<QWidget*>(pane_->Contents()));
        QCOMPARE(Page(kTabIndex), static_cast<QWidget*>(pane_->Index()));
        QCOMPARE(Page(kTabFavorites), pane_->Favorites());
        QVERIFY(pane_->Favorites()->layout());  // ready for the favorites pane

        for (int tab : {kTabIndex, kTabFavorites, kTabContents}) {
            pane_->SelectTab(tab);
            QCOMPARE(pane_->CurrentTab(), tab);
            for (int other = 0; other < 3; ++other)
                QCOMPARE(Page(other)->isVisible(), other == tab);
        }
        pane_->SelectTab(-1);
        QCOMPARE(pane_->CurrentTab(), kTabContents);
        pane_->SelectTab(7);
        QCOMPARE(pane_->CurrentTab(), kTabContents);
    }

    void SelectingATabFocusesItsPane() {
        pane_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pane_.get()));
        pane_->SelectTab(kTabIndex);
        QTRY_VERIFY(pane_->Index()->Box()->Edit()->hasFocus());
        // A click on a tab, and the focus given to the whole pane, end in the shown pane.
        QTest::mouseClick(Bar(), Qt::LeftButton, {}, Bar()->tabRect(kTabContents).center());
        QTRY_VERIFY(pane_->Contents()->Tree()->hasFocus());
        pane_->Index()->Box()->setFocus();
        pane_->setFocus();
        QTRY_VERIFY(pane_->Contents()->Tree()->hasFocus());
    }

    void TabsShareOneWidthAndShortenWhenNarrow() {
        CStretchTabCtrl* tabs = pane_->Tabs();
        pane_->StretchTo(1000);
        const int natural = Bar()->tabRect(0).width();
        for (int tab = 0; tab < 3; ++tab) {
            QCOMPARE(Bar()->tabRect(tab).width(), natural);
            QCOMPARE(Bar()->tabText(tab), tabs->FullLabel(tab));
            QCOMPARE(Bar()->tabToolTip(tab), QString());
        }

        const int narrow = natural * 3 * 2 / 3;
        pane_->resize(narrow, 500);  // the pane fits its tabs to its width by itself
        QTRY_COMPARE(Bar()->tabRect(0).width(), narrow / 3);
        for (int tab = 0; tab < 3; ++tab) {
            QCOMPARE(Bar()->tabRect(tab).width(), narrow / 3);
            QVERIFY(Bar()->tabRect(tab).right() < narrow);
            const QString shown = Bar()->tabText(tab);
            QCOMPARE(Bar()->accessibleTabName(tab), tabs->FullLabel(tab));
            if (shown != tabs->FullLabel(tab)) {
                QVERIFY(shown.endsWith(QStringLiteral("...")));
                QVERIFY(tabs->FullLabel(tab).startsWith(shown.chopped(3)));
                QCOMPARE(Bar()->tabToolTip(tab), tabs->FullLabel(tab));
            }
        }
        QCOMPARE(Bar()->tabText(kTabContents).right(3), QStringLiteral("..."));  // the longest

        pane_->StretchTo(30);  // no room for any letter
        for (int tab = 0; tab < 3; ++tab) {
            QCOMPARE(Bar()->tabText(tab), QString());
            QCOMPARE(Bar()->tabToolTip(tab), tabs->FullLabel(tab));
        }
        pane_->StretchTo(1000);
        QCOMPARE(Bar()->tabText(kTabContents), QStringLiteral("Содержание"));
        QCOMPARE(Bar()->tabToolTip(kTabContents), QString());
    }
};

KESTROVA_SHELL_TEST_MAIN(PanesTabsTest)
#include "panes_tabs_test.moc"
