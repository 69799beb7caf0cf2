// The category box over a real model of the sample knowledge base.
#include "model/domain.h"
#include "model/model.h"
#include "model/model_loader.h"
#include "shell/tests/shell_test_support.h"
#include "shell/toolbar/domain_combo_box.h"

#include <QObject>
#include <QSignalSpy>
#include <QTest>

using namespace kestrova;

class DomainBoxTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString folder = test::CopySampleKb();
        model_ = LoadModelOnce(folder.toStdU16String(), false).model;
        QVERIFY(model_);
        domains_ = model_->GetDomainList();
        QVERIFY(domains_->GetCount() >= 2);
    }

    void cleanupTestCase() { model_.Reset(); }

    void FillListsEveryDomainAfterAllCategories() {
        CDomainComboBox box(nullptr);
        QSignalSpy changed(&box, &CDomainComboBox::selectionChanged);
        box.Fill(model_.get(), nullptr);
        QCOMPARE(box.count(), domains_->GetCount() + 1);
        QCOMPARE(box.itemText(0), QStringLiteral("Все категории"));
        QCOMPARE(box.itemData(0).toInt(), -1);
        for (int i = 0; i < domains_->GetCount(); ++i) {
            QCOMPARE(box.itemText(i + 1),
                     QString::fromUtf16(domains_->GetItem(i)->GetDisplayName()));
            QCOMPARE(box.itemData(i + 1).toInt(), i);
        }
        QVERIFY(box.findText(QStringLiteral("Технические нормы")) > 0);
        QCOMPARE(box.currentIndex(), 0);
        QVERIFY(!box.SelectedTag());
        QCOMPARE(changed.size(), 0);
    }

    void FillSelectsTheExactTagElseTheFirst() {
        CDomainComboBox box(nullptr);
        QSignalSpy changed(&box, &CDomainComboBox::selectionChanged);
        const int last = domains_->GetCount() - 1;
        const std::u16string tag = domains_->GetItem(last)->GetTag();
        box.Fill(model_.get(), tag.c_str());
        QCOMPARE(box.currentIndex(), last + 1);
        QCOMPARE(box.SelectedTag(), std::optional(tag));

        std::u16string upper = tag;
        for (char16_t& c : upper) c = QChar::toUpper(c);
        QVERIFY(upper != tag);
        box.Fill(model_.get(), upper.c_str());
        QCOMPARE(box.currentIndex(), 0);
        QVERIFY(!box.SelectedTag());

        box.Fill(model_.get(), u"no-such-domain");
        QCOMPARE(box.currentIndex(), 0);
        QCOMPARE(changed.size(), 0);
    }

    void ARestrictedViewSelectsItsDomain() {
        const std::u16string tag = domains_->GetItem(0)->GetTag();
        CountedPtr<IModel> view = GetModelFilter(model_.get())->GetFiltered(tag.c_str());
        QVERIFY(view);
        CDomainComboBox box(nullptr);
        box.Fill(view.get(), GetModelFilter(view.get())->GetFilterTag());
        QCOMPARE(box.SelectedTag(), std::optional(tag));
    }

    void OnlyTheUsersChoicesAreSignalled() {
        CDomainComboBox box(nullptr);
        box.Fill(model_.get(), nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QSignalSpy changed(&box, &CDomainComboBox::selectionChanged);
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_Down);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(box.SelectedTag(), std::optional(std::u16string(domains_->GetItem(0)->GetTag())));
        QTest::keyClick(&box, Qt::Key_Up);
        QCOMPARE(changed.size(), 2);
        QVERIFY(!box.SelectedTag());
        QTest::keyClick(&box, Qt::Key_Up);  // already first: no change
        QCOMPARE(changed.size(), 2);
        box.Fill(model_.get(), domains_->GetItem(1)->GetTag());
        box.Clear();
        QCOMPARE(changed.size(), 2);
    }

    void ClearEmptiesTheBoxAndLetsTheModelGo() {
        const int before = model_->RefCount();
        CDomainComboBox box(nullptr);
        box.Fill(model_.get(), domains_->GetItem(0)->GetTag());
        QCOMPARE(model_->RefCount(), before + 1);
        box.Fill(model_.get(), nullptr);  // a refill keeps one reference, not two
        QCOMPARE(model_->RefCount(), before + 1);
        box.Clear();
        QCOMPARE(box.count(), 0);
        QVERIFY(!box.SelectedTag());
        QCOMPARE(model_->RefCount(), before);

        box.Fill(nullptr, nullptr);
        QCOMPARE(box.count(), 1);
        QVERIFY(!box.SelectedTag());
    }

private:
    CountedPtr<IModel> model_;
    IDomainList* domains_ = nullptr;
};

KESTROVA_SHELL_TEST_MAIN(DomainBoxTest)
#include "toolbar_domain_box_test.moc"
