#include "shell/panes/content_pane.h"

#include "model/content.h"
#include "shell/panes/content_tree.h"
#include "shell/panes/content_tree_model.h"
#include "shell/panes/pane_guard.h"

#include <QVBoxLayout>

namespace kestrova {
namespace {

const QString kTreeName = QStringLiteral("Содержание");  // the tab the tree is on

}  // namespace

CContentPane::CContentPane(QWidget* parent) : CBasicPane(parent), tree_(new CContentTree(this)) {
    setObjectName(QStringLiteral("contentPane"));
    tree_->setAccessibleName(kTreeName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    SetMainControl(tree_);
}

void CContentPane::SetNavWindow(QObject* navWnd) { tree_->SetNavWindow(navWnd); }

void CContentPane::Fill(IContent* content, IURLProvider* urls, const PaneState* state) {
    if (!RunGuarded("contents: fill", [&] { tree_->Model()->Reset(content, urls); })) return;
    if (state && content) RunGuarded("contents: restore", [&] { RestoreState(*state); });
}

void CContentPane::Clear() { tree_->Model()->Clear(); }

void CContentPane::RestoreState(const PaneState& state) {
    // Each saved item is made and expanded without being selected on the way, so the only
    // selection afterwards is the saved one.
    IContent* content = tree_->Model()->Content();
    for (const TitlePath& path : state.expanded) {
        const QModelIndex index = tree_->Reveal(content->FindNodeByTitlePath(path));
        if (index.isValid() && tree_->Model()->LoadChildren(index)) tree_->expand(index);
    }
    if (state.selected) SelectNode(content->FindNodeByTitlePath(*state.selected));
}

bool CContentPane::SelectNode(IContentNode* node) {
    if (!node || !tree_->Model()->Content()) return false;
    QModelIndex index;
    if (!RunGuarded("contents: select", [&] { index = tree_->Reveal(node); }) || !index.isValid())
        return false;
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    return true;
}

IContentNode* CContentPane::SelectedNode() const {
    const QModelIndexList selected = tree_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : tree_->Model()->NodeAt(selected.front());
}

void CContentPane::SetIcons(bool on) {
    tree_->Model()->SetIcons(on);
    // The row height follows the pictures: lay the items out again.
    tree_->doItemsLayout();
}

bool CContentPane::IconsOn() const { return tree_->Model()->IconsOn(); }

void CContentPane::SaveState(PaneState& state) const {
    PaneState saved;
    const bool done = RunGuarded("contents: save", [&] {
        tree_->Model()->ForEachExpanded(
            [&](IContentNode* node) { node->GetTitlePath(saved.expanded.emplace_back()); });
        if (IContentNode* node = SelectedNode()) node->GetTitlePath(saved.selected.emplace());
    });
    if (!done) return;
    state.expanded = std::move(saved.expanded);
    state.selected = std::move(saved.selected);
}

void CContentPane::SetDetailsMode() { tree_->Model()->SetDetails(true); }

}  // namespace kestrova

#include "moc_content_pane.cpp"
