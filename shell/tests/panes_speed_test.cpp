// The panes on a large generated knowledge base: a contents node with 10,000 children and an
// index of 300,000 keywords. Checks that both work at that size and prints how long the user
// waits (expanding the node, typing one letter into the index box); the figures are for the
// record, not conditions of the test.
#include "model/content.h"
#include "model/keyword.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/content_tree.h"
#include "shell/panes/index_box.h"
#include "shell/panes/index_list.h"
#include "shell/panes/index_pane.h"
#include "shell/tests/panes_test_support.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace kestrova;
using namespace kestrova::test;

namespace {

constexpr int kChildren = 10000;
constexpr int kKeywords = 300000;

double Milliseconds(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }
double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
double Worst(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

}  // namespace

class PanesSpeedTest : public QObject {
    Q_OBJECT

    CountedPtr<IModel> model_;

private slots:
    void initTestCase() {
        const QString folder = TestHome().path() + QStringLiteral("/large");
        QElapsedTimer timer;
        timer.start();
        WriteLargeKb(folder, kChildren, kKeywords);
        model_ = LoadKb(folder);
        qInfo("knowledge base of %d pages written and loaded in %.0f ms", kChildren + 61,
              Milliseconds(timer));
        QCOMPARE(model_->GetKeywordList()->GetCount(), kKeywords);
    }
    void cleanupTestCase() { model_.Reset(); }

    void ExpandingANodeWithTenThousandChildren() {
        CContentPane pane(nullptr);
        pane.resize(400, 700);
        pane.Fill(model_->GetContent(), model_->GetURLProvider(), nullptr);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        CContentTree* tree = pane.Tree();
        QAbstractItemModel* items = tree->model();
        QModelIndex big;
        for (int row = 0; row < items->rowCount(); ++row) {
            if (items->index(row, 0).data().toString() == QStringLiteral("Большой раздел"))
                big = items->index(row, 0);
        }
        QVERIFY(big.isValid());

        QElapsedTimer timer;
        timer.start();
        tree->expand(big);
        tree->viewport()->repaint();
        const double first = Milliseconds(timer);
        QCOMPARE(items->rowCount(big), kChildren);

        tree->collapse(big);
        tree->viewport()->repaint();
        timer.restart();
        tree->expand(big);
        tree->viewport()->repaint();
        const double again = Milliseconds(timer);

        IContentNode* last = model_->GetContent()->FindNodeByPage(u"big\\p9999.html");
        tree->collapse(big);
        timer.restart();
        QVERIFY(pane.SelectNode(last));
        tree->viewport()->repaint();
        const double select = Milliseconds(timer);
        qInfo(
            "expand %d children: first %.1f ms, again %.1f ms (target 150 ms); select the "
            "last child of a collapsed node %.1f ms",
            kChildren, first, again, select);
    }

    void TypingIntoAnIndexOfThreeHundredThousandKeywords() {
        CIndexPane pane(nullptr);
        pane.resize(300, 700);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QElapsedTimer timer;
        timer.start();
        pane.Fill(model_->GetKeywordList(), nullptr);
        // The list lays its rows out on its next turn of the event loop.
        QCoreApplication::processEvents();
        pane.List()->viewport()->repaint();
        const double fill = Milliseconds(timer);
        QVERIFY(pane.List()->visualRect(pane.List()->model()->index(1, 0)).top() > 0);

        // The word is typed three times over; each letter is timed from its key to the keyword
        // selected (the look-up), and to the list drawn again.
        const QString word = QStringLiteral("слово0234567");
        std::vector<double> lookups, drawn;
        for (int round = 0; round < 3; ++round) {
            pane.Box()->Edit()->clear();
            for (const QChar letter : word) {
                timer.restart();
                TypeText(pane.Box()->Edit(), QString(letter));
                lookups.push_back(Milliseconds(timer));
                pane.List()->viewport()->repaint();
                drawn.push_back(Milliseconds(timer));
            }
        }
        QCOMPARE(pane.SelectedKeyword(), 234567);
        QCOMPARE(pane.BoxText(), word);
        pane.Box()->Edit()->clear();
        TypeText(pane.Box()->Edit(), QStringLiteral("я"));  // after every keyword
        QCOMPARE(pane.SelectedKeyword(), kKeywords - 1);
        qInfo(
            "index of %d keywords: fill %.1f ms; one letter typed to the keyword selected: "
            "median %.2f ms, worst %.2f ms; to the list drawn: median %.2f ms, worst %.2f ms "
            "(target 5 ms)",
            kKeywords, fill, Median(lookups), Worst(lookups), Median(drawn), Worst(drawn));
    }
};

KESTROVA_SHELL_TEST_MAIN(PanesSpeedTest)
#include "panes_speed_test.moc"
