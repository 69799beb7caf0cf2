// The index pane on the sample's keywords: look-up while typing, the keys of the box, Enter
// and the list sending the keyword, the history, and a failing or missing keyword list.
#include "model/keyword.h"
#include "model/topic.h"
#include "shell/app/history_list.h"
#include "shell/panes/index_box.h"
#include "shell/panes/index_list.h"
#include "shell/panes/index_pane.h"
#include "shell/tests/panes_test_support.h"

#include <QAbstractItemView>
#include <QTest>

#include <stdexcept>

using namespace kestrova;
using namespace kestrova::test;

namespace {

// A real keyword list whose look-up fails, as a damaged model would.
class FailingLookup : public IKeywordList {
public:
    explicit FailingLookup(IKeywordList* real) : real_(real) {}
    int32_t GetCount() override { return real_->GetCount(); }
    IKeyword* GetItem(int32_t i) override { return real_->GetItem(i); }
    int32_t FindKeyword(const char16_t*) override { throw std::runtime_error("lookup failed"); }
    CountedPtr<ITopicSet> GetKeywordTopics(const char16_t* t) override {
        return real_->GetKeywordTopics(t);
    }

private:
    IKeywordList* real_;
};

}  // namespace

class PanesIndexTest : public QObject {
    Q_OBJECT

    CountedPtr<IModel> model_;
    std::unique_ptr<CIndexPane> pane_;
    NavRecorder nav_;

    IKeywordList* Keywords() const { return model_->GetKeywordList(); }
    QLineEdit* Edit() const { return pane_->Box()->Edit(); }
    QString KeywordText(int i) const { return Q(Keywords()->GetItem(i)->GetText()); }
    void Retype(const QString& text) {
        Edit()->clear();
        TypeText(Edit(), text);
    }

private slots:
    void initTestCase() { model_ = SampleModel(); }
    void cleanupTestCase() { model_.Reset(); }
    void init() {
        pane_ = std::make_unique<CIndexPane>(nullptr);
        pane_->resize(300, 500);
        pane_->SetNavWindow(&nav_);
        nav_.Forget();
        pane_->Fill(Keywords(), nullptr);
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
    }
    void cleanup() { pane_.reset(); }

    void TypingSelectsTheFirstKeywordNotLessAndKeepsTheText() {
        QCOMPARE(pane_->List()->model()->rowCount(), Keywords()->GetCount());
        QCOMPARE(pane_->SelectedKeyword(), -1);
        TypeText(Edit(), QStringLiteral("зазем"));
        QCOMPARE(pane_->BoxText(), QStringLiteral("зазем"));
        const int expected = Keywords()->FindKeyword(u"зазем");
        QCOMPARE(pane_->SelectedKeyword(), expected);
        QVERIFY(KeywordText(expected).startsWith(QStringLiteral("зазем"), Qt::CaseInsensitive));
        const QModelIndex current = pane_->List()->currentIndex();
        QVERIFY(pane_->List()->viewport()->rect().contains(pane_->List()->visualRect(current)));
        QVERIFY(nav_.keywords.isEmpty());

        // A text after every keyword selects the last one; an emptied box changes nothing.
        Retype(QStringLiteral("яяяя"));
        QCOMPARE(pane_->SelectedKeyword(), Keywords()->GetCount() - 1);
        QCOMPARE(pane_->BoxText(), QStringLiteral("яяяя"));
        Edit()->selectAll();
        QTest::keyClick(Edit(), Qt::Key_Backspace);
        QCOMPARE(pane_->SelectedKeyword(), Keywords()->GetCount() - 1);
    }

    void AnEmptyIndexDoesNothing() {
        pane_->Fill(nullptr, nullptr);
        QCOMPARE(pane_->List()->model()->rowCount(), 0);
        TypeText(Edit(), QStringLiteral("договор"));
        QTest::keyClick(Edit(), Qt::Key_Down);
        QTest::keyClick(Edit(), Qt::Key_Return);
        QCOMPARE(pane_->SelectedKeyword(), -1);
        QCOMPARE(pane_->BoxText(), QStringLiteral("договор"));
        QVERIFY(nav_.keywords.isEmpty());
    }

    void MovementKeysOfTheBoxMoveTheListSelection() {
        const int last = Keywords()->GetCount() - 1;
        TypeText(Edit(), QStringLiteral("г"));
        const int start = pane_->SelectedKeyword();
        QTest::keyClick(Edit(), Qt::Key_Down);
        QCOMPARE(pane_->SelectedKeyword(), start + 1);
        QCOMPARE(pane_->BoxText(), KeywordText(start + 1));  // a move by the user fills the box
        QTest::keyClick(Edit(), Qt::Key_Up);
        QTest::keyClick(Edit(), Qt::Key_Up);
        QCOMPARE(pane_->SelectedKeyword(), start - 1);

        const int page = pane_->List()->RowsPerPage();
        QVERIFY(page > 1 && page < last);
        QTest::keyClick(Edit(), Qt::Key_PageDown);
        QCOMPARE(pane_->SelectedKeyword(), std::min(start - 1 + page, last));
        for (int i = 0; i < last / page + 2; ++i) QTest::keyClick(Edit(), Qt::Key_PageDown);
        QCOMPARE(pane_->SelectedKeyword(), last);
        QTest::keyClick(Edit(), Qt::Key_Down);
        QCOMPARE(pane_->SelectedKeyword(), last);
        for (int i = 0; i < last / page + 2; ++i) QTest::keyClick(Edit(), Qt::Key_PageUp);
        QCOMPARE(pane_->SelectedKeyword(), 0);

        // With a modifier the keys are the edit field's own.
        QTest::keyClick(Edit(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(Edit(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(pane_->SelectedKeyword(), 0);
    }

    void EnterSendsTheSelectedKeyword() {
        TypeText(Edit(), QStringLiteral("гос"));
        const int selected = pane_->SelectedKeyword();
        QTest::keyClick(Edit(), Qt::Key_Return);
        QCOMPARE(nav_.keywords, QStringList{KeywordText(selected)});
        QCOMPARE(pane_->BoxText(), KeywordText(selected));  // the box now holds the keyword

        // Enter and a double click in the list send its selected keyword too.
        nav_.Forget();
        pane_->List()->setFocus();
        QTest::keyClick(pane_->List(), Qt::Key_Down);
        QCOMPARE(pane_->BoxText(), KeywordText(selected + 1));
        QTest::keyClick(pane_->List(), Qt::Key_Enter);
        const QModelIndex row = pane_->List()->model()->index(selected + 3, 0);
        const QPoint at = pane_->List()->visualRect(row).center();
        QTest::mouseClick(pane_->List()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(pane_->BoxText(), KeywordText(selected + 3));
        QTest::mouseDClick(pane_->List()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(nav_.keywords,
                 QStringList({KeywordText(selected + 1), KeywordText(selected + 3)}));
    }

    void TabGoesBetweenBoxAndList() {
        pane_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pane_.get()));
        pane_->setFocus();  // the pane hands the focus to its box
        QTRY_VERIFY(Edit()->hasFocus());
        QTest::keyClick(Edit(), Qt::Key_Tab);
        QVERIFY(pane_->List()->hasFocus());
        QTest::keyClick(pane_->List(), Qt::Key_Tab);
        QVERIFY(Edit()->hasFocus());
    }

    void SelectionKeepsItsColoursWithoutFocus() {
        const QPalette colours = pane_->List()->palette();
        QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
                 colours.color(QPalette::Active, QPalette::Highlight));
        QCOMPARE(colours.color(QPalette::Inactive, QPalette::HighlightedText),
                 colours.color(QPalette::Active, QPalette::HighlightedText));
    }

    void HistoryAndSavedTextReachTheBox() {
        TypeText(Edit(), QStringLiteral("ГОСТ"));
        HistoryList history;
        history.Add(QStringLiteral("договор"));
        history.Add(QStringLiteral("заземление"));
        pane_->RefillHistory(history);
        QCOMPARE(pane_->Box()->count(), 2);
        QCOMPARE(pane_->Box()->itemText(0), QStringLiteral("заземление"));
        QCOMPARE(pane_->BoxText(), QStringLiteral("ГОСТ"));

        // Choosing an entry of the history looks it up.
        pane_->Box()->showPopup();
        QAbstractItemView* popup = pane_->Box()->view();
        QTRY_VERIFY(popup->isVisible());
        // While the list is dropped down, Enter is the list's, not the pane's.
        popup->setCurrentIndex(popup->model()->index(1, 0));
        QTest::keyClick(popup, Qt::Key_Return);
        QTRY_VERIFY(!popup->isVisible());
        QCOMPARE(pane_->BoxText(), QStringLiteral("договор"));
        QCOMPARE(pane_->SelectedKeyword(), Keywords()->FindKeyword(u"договор"));
        QVERIFY(nav_.keywords.isEmpty());

        PaneState state;
        pane_->SaveState(state);
        QCOMPARE(state.indexText, std::optional<QString>(QStringLiteral("договор")));
        pane_->Clear();
        QCOMPARE(pane_->List()->model()->rowCount(), 0);
        state.indexText = QStringLiteral("освещ");
        pane_->Fill(Keywords(), &state);
        QCOMPARE(pane_->BoxText(), QStringLiteral("освещ"));
        QCOMPARE(pane_->SelectedKeyword(), Keywords()->FindKeyword(u"освещ"));
    }

    void AFailingLookupLeavesTheSelection() {
        TypeText(Edit(), QStringLiteral("дог"));
        const int selected = pane_->SelectedKeyword();
        FailingLookup failing(Keywords());
        pane_->Fill(&failing, nullptr);  // looks the box text up, which fails
        QCOMPARE(pane_->List()->model()->rowCount(), Keywords()->GetCount());
        QCOMPARE(pane_->SelectedKeyword(), -1);
        TypeText(Edit(), QStringLiteral("о"));
        QCOMPARE(pane_->SelectedKeyword(), -1);
        pane_->Fill(Keywords(), nullptr);
        QCOMPARE(pane_->SelectedKeyword(), selected);
    }
};

KESTROVA_SHELL_TEST_MAIN(PanesIndexTest)
#include "panes_index_test.moc"
