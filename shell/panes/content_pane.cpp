#include "shell/panes/content_pane.h"

#include "shell/panes/content_tree.h"

#include <QVBoxLayout>

namespace kestrova {

CContentPane::CContentPane(QWidget* parent) : CBasicPane(parent), tree_(new CContentTree(this)) {
    setObjectName(QStringLiteral("contentPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    SetMainControl(tree_);
}

void CContentPane::SetNavWindow(QObject* navWnd) { tree_->SetNavWindow(navWnd); }

void CContentPane::Fill(IContent* content, IURLProvider* urls, const PaneState* state) {
    tree_->Fill(content, urls, state);
}

void CContentPane::Clear() { tree_->Clear(); }

bool CContentPane::SelectNode(IContentNode* node) { return tree_->SelectNode(node); }

IContentNode* CContentPane::SelectedNode() const { return tree_->SelectedNode(); }

void CContentPane::SetIcons(bool on) { tree_->SetIcons(on); }

bool CContentPane::IconsOn() const { return tree_->IconsOn(); }

void CContentPane::SaveState(PaneState& state) const { tree_->SaveState(state); }

void CContentPane::SetDetailsMode() { tree_->SetDetailsMode(); }

}  // namespace kestrova

#include "moc_content_pane.cpp"
