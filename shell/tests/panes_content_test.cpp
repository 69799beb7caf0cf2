// The contents pane on real models: children made on first expansion, the pictures, state
// kept across a refill, selecting a node, following an item, the details tooltips.
#include "model/content.h"
#include "model/page_info.h"
#include "model/topic.h"
#include "model/url_provider.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/content_tree.h"
#include "shell/panes/content_tree_model.h"
#include "shell/tests/panes_test_support.h"

#include <QTest>

#include <stdexcept>

using namespace kestrova;
using namespace kestrova::test;

namespace {

constexpr int kPicture = ContentTreeModel::kPictureRole;

// Contents whose lookups and roots fail, as a damaged model would.
class FailingContent : public IContent {
public:
    IContentNodeList* GetRoots() override { throw std::runtime_error("roots unreadable"); }
    IContentNode* FindNodeByTopic(ITopic*) override { throw std::runtime_error("no topics"); }
    IContentNode* FindNodeByPage(const char16_t*) override { return nullptr; }
    IContentNode* FindNodeByTitlePath(const std::vector<std::u16string>&) override {
        return nullptr;
    }
};

TitlePath Path(std::initializer_list<const char16_t*> parts) {
    TitlePath path;
    for (const char16_t* p : parts) path.emplace_back(p);
    return path;
}

}  // namespace

class PanesContentTest : public QObject {
    Q_OBJECT

    CountedPtr<IModel> model_;
    std::unique_ptr<CContentPane> pane_;
    NavRecorder nav_;

    CContentTree* Tree() const { return pane_->Tree(); }
    QAbstractItemModel* Items() const { return Tree()->model(); }
    QModelIndex Find(const QModelIndex& parent, const QString& text) {
        for (int row = 0; row < Items()->rowCount(parent); ++row) {
            const QModelIndex index = Items()->index(row, 0, parent);
            if (index.data().toString() == text) return index;
        }
        return {};
    }
    IContentNode* Node(const TitlePath& path) {
        return model_->GetContent()->FindNodeByTitlePath(path);
    }
    void Fill(IModel* model, const PaneState* state = nullptr) {
        pane_->Fill(model->GetContent(), model->GetURLProvider(), state);
    }

private slots:
    void initTestCase() { model_ = SampleModel(); }
    void cleanupTestCase() { model_.Reset(); }
    void init() {
        pane_ = std::make_unique<CContentPane>(nullptr);
        pane_->resize(400, 600);
        pane_->SetNavWindow(&nav_);
        nav_.Forget();
        Fill(model_.get());
    }
    void cleanup() { pane_.reset(); }

    void RootsFirstAndChildrenOnFirstExpansion() {
        IContentNodeList* roots = model_->GetContent()->GetRoots();
        QCOMPARE(Items()->rowCount(QModelIndex()), roots->GetCount());
        for (int i = 0; i < roots->GetCount(); ++i)
            QCOMPARE(Items()->index(i, 0).data().toString(), Q(roots->GetItem(i)->GetText()));

        const QModelIndex law = Find({}, QStringLiteral("Законодательство"));
        QVERIFY(law.isValid());
        QVERIFY(Items()->hasChildren(law));
        QCOMPARE(Items()->rowCount(law), 0);  // nothing made before the first expansion
        Tree()->expand(law);
        IContentNodeList* children = Node(Path({u"Законодательство"}))->GetChildren();
        QCOMPARE(Items()->rowCount(law), children->GetCount());
        for (int i = 0; i < children->GetCount(); ++i)
            QCOMPARE(Items()->index(i, 0, law).data().toString(),
                     Q(children->GetItem(i)->GetText()));
        QVERIFY(!Items()->hasChildren(Find({}, QStringLiteral("О справочнике"))));
    }

    void PicturesFollowTheKindAndTheExpansion() {
        const QModelIndex law = Find({}, QStringLiteral("Законодательство"));
        QCOMPARE(law.data(kPicture).toInt(), 144);  // a heading with its own page
        Tree()->expand(law);
        QCOMPARE(law.data(kPicture).toInt(), 145);
        const QModelIndex codes = Find(law, QStringLiteral("Кодексы"));
        QCOMPARE(codes.data(kPicture).toInt(), 142);  // a heading without a page
        Tree()->expand(codes);
        QCOMPARE(codes.data(kPicture).toInt(), 143);
        Tree()->collapse(codes);
        QCOMPARE(codes.data(kPicture).toInt(), 142);
        Tree()->collapse(law);
        QCOMPARE(law.data(kPicture).toInt(), 144);
        QCOMPARE(Find({}, QStringLiteral("О справочнике")).data(kPicture).toInt(), 141);

        QVERIFY(pane_->IconsOn());
        pane_->SetIcons(false);
        QVERIFY(!pane_->IconsOn());
        QCOMPARE(law.data(kPicture).toInt(), 0);
        QVERIFY(law.data(Qt::DecorationRole).isNull());
        pane_->SetIcons(true);
        QCOMPARE(law.data(kPicture).toInt(), 144);
    }

    void StateComesBackAfterARefill() {
        const TitlePath civil = Path({u"Законодательство", u"Кодексы", u"Гражданский кодекс"});
        const TitlePath tech = Path({u"Технические нормы"});
        QVERIFY(pane_->SelectNode(Node(civil)));  // expands its parents on the way
        Tree()->expand(Tree()->currentIndex());
        QVERIFY(pane_->SelectNode(Node(tech)));
        Tree()->expand(Tree()->currentIndex());
        QVERIFY(pane_->SelectNode(Node(Path({u"Законодательство", u"Кодексы"}))));

        PaneState state;
        pane_->SaveState(state);
        const std::vector<TitlePath> expected = {
            Path({u"Законодательство"}), Path({u"Законодательство", u"Кодексы"}), civil, tech};
        QCOMPARE(state.expanded.size(), expected.size());
        for (const TitlePath& path : expected)
            QVERIFY(std::count(state.expanded.begin(), state.expanded.end(), path) == 1);
        QVERIFY(state.selected == Path({u"Законодательство", u"Кодексы"}));

        pane_->Clear();
        QCOMPARE(Items()->rowCount(QModelIndex()), 0);
        QVERIFY(!pane_->SelectedNode());
        Fill(model_.get(), &state);
        PaneState again;
        pane_->SaveState(again);
        QVERIFY(again.selected == state.selected);
        QCOMPARE(again.expanded.size(), expected.size());
        for (const TitlePath& path : expected)
            QVERIFY(std::count(again.expanded.begin(), again.expanded.end(), path) == 1);
        QCOMPARE(Find({}, QStringLiteral("Технические нормы")).data(kPicture).toInt(), 145);
    }

    void StateOfAnotherCategoryKeepsWhatStillExists() {
        QVERIFY(pane_->SelectNode(Node(Path({u"Технические нормы", u"Стандарты"}))));
        Tree()->expand(Tree()->currentIndex());
        QVERIFY(pane_->SelectNode(Node(Path({u"Законодательство", u"Кодексы"}))));
        Tree()->expand(Tree()->currentIndex());
        PaneState state;
        pane_->SaveState(state);

        CountedPtr<IModel> law = GetModelFilter(model_.get())->GetFiltered(u"law");
        QVERIFY(law && law.get() != model_.get());
        Fill(law.get(), &state);
        PaneState shown;
        pane_->SaveState(shown);
        QVERIFY(shown.selected == Path({u"Законодательство", u"Кодексы"}));
        for (const TitlePath& path : shown.expanded)
            QCOMPARE(path.front(), std::u16string(u"Законодательство"));
    }

    void SelectingANodeMakesTheItemsOnItsWay() {
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
        IContentNode* grounding =
            model_->GetContent()->FindNodeByPage(u"tech\\std\\grounding.html");
        QVERIFY(grounding);
        QVERIFY(pane_->SelectNode(grounding));
        QCOMPARE(pane_->SelectedNode(), grounding);
        QVERIFY(Tree()->isExpanded(Tree()->currentIndex().parent()));
        QVERIFY(Tree()->viewport()->rect().intersects(Tree()->visualRect(Tree()->currentIndex())));
        QVERIFY(nav_.navigations.empty());  // selecting does not open the page

        // A node of another category is not among the items of a restricted view.
        CountedPtr<IModel> law = GetModelFilter(model_.get())->GetFiltered(u"law");
        Fill(law.get());
        IContentNode* outside = law->GetContent()->FindNodeByPage(u"tech\\std\\grounding.html");
        QVERIFY(!pane_->SelectNode(outside));
        QVERIFY(!pane_->SelectNode(nullptr));
        QVERIFY(!pane_->SelectedNode());
    }

    void FollowingAnItemNavigatesWithoutHighlight() {
        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
        const QModelIndex about = Find({}, QStringLiteral("О справочнике"));
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                          Tree()->visualRect(about).center());
        QCOMPARE(nav_.navigations.size(), size_t(1));
        IURLProvider* urls = model_->GetURLProvider();
        QCOMPARE(nav_.navigations[0].url, Q(urls->GetURL(u"about.html", nullptr)));
        QVERIFY(!nav_.navigations[0].highlight);
        QVERIFY(!nav_.navigations[0].topic);
        QCOMPARE(nav_.navigations[0].flags, 0u);

        // Enter on the selected item; a right click and a heading without a page do nothing.
        nav_.Forget();
        const QModelIndex law = Find({}, QStringLiteral("Законодательство"));
        Tree()->setCurrentIndex(law);
        QTest::keyClick(Tree(), Qt::Key_Return);
        QCOMPARE(nav_.navigations.size(), size_t(1));
        QCOMPARE(nav_.navigations[0].url, Q(urls->GetURL(u"index-law.html", nullptr)));
        QTest::mouseClick(Tree()->viewport(), Qt::RightButton, {},
                          Tree()->visualRect(about).center());
        Tree()->expand(law);
        const QModelIndex codes = Find(law, QStringLiteral("Кодексы"));
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                          Tree()->visualRect(codes).center());
        QCOMPARE(nav_.navigations.size(), size_t(1));

        // The expand button of an item expands it and opens nothing.
        const QRect rect = Tree()->visualRect(codes);
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() - Tree()->indentation() / 2, rect.center().y()));
        QVERIFY(Tree()->isExpanded(codes));
        QCOMPARE(nav_.navigations.size(), size_t(1));
    }

    void AnchorsReachTheUrlAndTheDetails() {
        const QString folder = TestHome().path() + QStringLiteral("/anchors");
        WriteFile(folder + QStringLiteral("/a.html"),
                  "<html><head><meta charset=\"utf-8\"><title>Страница</title>"
                  "<meta chapter=\"Глава\"><meta content=\"Целиком\">"
                  "<meta content=\"Второй раздел\" anchor=\"part 2\">"
                  "</head><body></body></html>");
        CountedPtr<IModel> model = LoadKb(folder);
        pane_->SetDetailsMode();
        Fill(model.get());
        const QModelIndex chapter = Find({}, QStringLiteral("Глава"));
        Tree()->expand(chapter);
        const QModelIndex part = Find(chapter, QStringLiteral("Второй раздел"));
        QVERIFY(part.isValid());
        QCOMPARE(part.data(Qt::ToolTipRole).toString(),
                 QStringLiteral("topic: a.html#part 2\nlocation: Глава"));
        QCOMPARE(chapter.data(Qt::ToolTipRole).toString(), QString());  // no page, no tip

        pane_->show();
        QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                          Tree()->visualRect(part).center());
        QCOMPARE(nav_.navigations.size(), size_t(1));
        QVERIFY(nav_.navigations[0].url.endsWith(QStringLiteral("a.html#part%202")));
    }

    void AFailingModelLeavesTheTreeAsItWas() {
        const int rows = Items()->rowCount(QModelIndex());
        FailingContent failing;
        pane_->Fill(&failing, model_->GetURLProvider(), nullptr);
        QCOMPARE(Items()->rowCount(QModelIndex()), rows);
        QCOMPARE(Items()->index(0, 0).data().toString(),
                 Q(model_->GetContent()->GetRoots()->GetItem(0)->GetText()));

        pane_->Fill(nullptr, nullptr, nullptr);  // no contents: an empty tree
        QCOMPARE(Items()->rowCount(QModelIndex()), 0);
    }
};

KESTROVA_SHELL_TEST_MAIN(PanesContentTest)
#include "panes_content_test.moc"
