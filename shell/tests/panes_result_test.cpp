// The result pane on the sample's topic sets: the header texts and counts, the first item
// selected, opening an item, sorting by a click on a column header, a failed search.
#include "model/keyword.h"
#include "model/page_info.h"
#include "model/topic.h"
#include "model/url_provider.h"
#include "shell/panes/result_list.h"
#include "shell/panes/result_pane.h"
#include "shell/tests/panes_test_support.h"

#include <QHeaderView>
#include <QTest>

#include <algorithm>

using namespace kestrova;
using namespace kestrova::test;

class PanesResultTest : public QObject {
    Q_OBJECT

    CountedPtr<IModel> model_;
    std::unique_ptr<CResultPane> pane_;
    NavRecorder nav_;

    CountedPtr<ITopicSet> TopicsOf(const char16_t* keyword) {
        return model_->GetKeywordList()->GetKeywordTopics(keyword);
    }
    QStringList Column(int column) const {
        QStringList texts;
        QAbstractItemModel* rows = pane_->List()->model();
        for (int row = 0; row < rows->rowCount(); ++row)
            texts.append(rows->index(row, column).data().toString());
        return texts;
    }
    void ClickHeader(int column) {
        QHeaderView* header = pane_->List()->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

private slots:
    void initTestCase() { model_ = SampleModel(); }
    void cleanupTestCase() { model_.Reset(); }
    void init() {
        pane_ = std::make_unique<CResultPane>(nullptr);
        pane_->resize(800, 300);
        pane_->SetNavWindow(&nav_);
        nav_.Forget();
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
    }
    void cleanup() { pane_.reset(); }

    void HeaderTellsWhatWasSearchedAndHowManyWereFound() {
        QCOMPARE(pane_->HeaderText(), QStringLiteral("Результаты поиска"));
        QCOMPARE(pane_->Count(), 0);

        pane_->Fill(QStringLiteral("ГОСТ"), ResultKind::kIndex, TopicsOf(u"ГОСТ"), std::nullopt);
        QCOMPARE(pane_->HeaderText(),
                 QStringLiteral("Результаты поиска в указателе \"ГОСТ\" - найдено страниц: 3."));
        QCOMPARE(pane_->Count(), 3);
        QCOMPARE(pane_->List()->model()->rowCount(), 3);
        QCOMPARE(pane_->List()->model()->columnCount(), 2);
        QCOMPARE(pane_->List()->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Заголовок"));
        QCOMPARE(pane_->List()->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Расположение"));
        QCOMPARE(pane_->List()->columnWidth(0), 300 * pane_->logicalDpiX() / 96);
        QCOMPARE(pane_->List()->columnWidth(1), 300 * pane_->logicalDpiX() / 96);

        // No topics: the header still counts them. A query is shown as typed, "%d" and all.
        pane_->Fill(QStringLiteral("%d из %s"), ResultKind::kSearch, TopicsOf(u"нет такого"),
                    SearchQuery{QStringLiteral("%d из %s"), 0});
        QCOMPARE(pane_->HeaderText(),
                 QStringLiteral("Результаты поиска \"%d из %s\" - найдено страниц: 0."));
        QCOMPARE(pane_->Count(), 0);
        QCOMPARE(pane_->List()->SelectedRow(), -1);
        pane_->SelectItem(0);
        pane_->Fill(QStringLiteral("ничего"), ResultKind::kSearch, nullptr, std::nullopt);
        QCOMPARE(pane_->HeaderText(),
                 QStringLiteral("Результаты поиска \"ничего\" - найдено страниц: 0."));
        QVERIFY(nav_.navigations.empty());
    }

    void TheFirstItemIsSelectedAndOpeningOneNavigates() {
        CountedPtr<ITopicSet> topics = TopicsOf(u"Сертификация");
        QVERIFY(topics->GetCount() >= 2);
        const SearchQuery highlight{QStringLiteral("сертификация"), kSearchRelatedWords};
        pane_->Fill(QStringLiteral("сертификация"), ResultKind::kSearch, topics, highlight);
        QCOMPARE(pane_->List()->SelectedRow(), 0);
        QVERIFY(nav_.navigations.empty());  // selected, not opened

        auto expectedUrl = [&](int i) {
            ITopic* topic = topics->GetItem(i);
            return Q(
                topics->GetURLProvider()->GetURL(topic->GetPage()->GetPath(), topic->GetAnchor()));
        };
        pane_->SelectItem(1);
        QCOMPARE(pane_->List()->SelectedRow(), 1);
        QCOMPARE(nav_.navigations.size(), size_t(1));
        const NavRecorder::Navigation& opened = nav_.navigations[0];
        QCOMPARE(opened.url, expectedUrl(1));
        QCOMPARE(opened.topic, topics->GetItem(1));
        QCOMPARE(opened.flags, kNavigateSelectTopic);
        QVERIFY(opened.highlight && opened.highlight->text == highlight.text &&
                opened.highlight->options == highlight.options);
        bool anchored = false;
        for (int i = 0; i < topics->GetCount(); ++i)
            anchored |= expectedUrl(i).endsWith(QStringLiteral("#cert"));
        QVERIFY(anchored);

        // A double click and Enter open the item too; index results carry no highlight.
        pane_->Fill(QStringLiteral("ГОСТ"), ResultKind::kIndex, TopicsOf(u"ГОСТ"), std::nullopt);
        nav_.Forget();
        const QRect row2 = pane_->List()->visualRect(pane_->List()->model()->index(2, 0));
        // A double click as the mouse makes it: a click, then the second press.
        QTest::mouseClick(pane_->List()->viewport(), Qt::LeftButton, {}, row2.center());
        QTest::mouseDClick(pane_->List()->viewport(), Qt::LeftButton, {}, row2.center());
        QTest::keyClick(pane_->List(), Qt::Key_Return);
        QCOMPARE(nav_.navigations.size(), size_t(2));
        QCOMPARE(nav_.navigations[0].url, nav_.navigations[1].url);
        QVERIFY(!nav_.navigations[0].highlight);
        pane_->SelectItem(3);  // out of range
        QCOMPARE(nav_.navigations.size(), size_t(2));
    }

    void HeaderClicksSortAndTheSameColumnAgainReverses() {
        CountedPtr<ITopicSet> topics = TopicsOf(u"ГОСТ");
        pane_->Fill(QStringLiteral("ГОСТ"), ResultKind::kIndex, topics, std::nullopt);
        pane_->SelectItem(2);

        ClickHeader(0);
        QCOMPARE(topics->GetSortOrder().kind, 1);
        QVERIFY(topics->GetSortOrder().ascending);
        QCOMPARE(pane_->List()->SelectedRow(), 0);
        const QStringList ascending = Column(0);
        ClickHeader(0);
        QVERIFY(!topics->GetSortOrder().ascending);
        QStringList descending = Column(0);
        QVERIFY(descending != ascending);
        std::reverse(descending.begin(), descending.end());
        QCOMPARE(descending, ascending);
        QCOMPARE(pane_->List()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

        // Another column sorts ascending by its own key.
        ClickHeader(1);
        QCOMPARE(topics->GetSortOrder().kind, 2);
        QVERIFY(topics->GetSortOrder().ascending);
        QCOMPARE(Column(1).front(), QStringLiteral("Законодательство: Федеральные законы"));
        QCOMPARE(pane_->List()->horizontalHeader()->sortIndicatorSection(), 1);
        QCOMPARE(pane_->List()->SelectedRow(), 0);
        QVERIFY(nav_.navigations.size() == 1);  // only SelectItem opened a page
    }

    void AFailedSearchSaysWhyInTheHeader() {
        pane_->Fill(QStringLiteral("ГОСТ"), ResultKind::kIndex, TopicsOf(u"ГОСТ"), std::nullopt);
        pane_->FillFailure(QStringLiteral("договор AND"), QStringLiteral("ошибка в запросе"));
        QCOMPARE(pane_->HeaderText(),
                 QStringLiteral("Поиск \"договор AND\" не выполнен: ошибка в запросе"));
        QCOMPARE(pane_->Count(), 0);
        QCOMPARE(pane_->List()->model()->rowCount(), 0);
        ClickHeader(0);  // nothing to sort
        pane_->SelectItem(0);
        QVERIFY(nav_.navigations.empty());
    }
};

KESTROVA_SHELL_TEST_MAIN(PanesResultTest)
#include "panes_result_test.moc"
