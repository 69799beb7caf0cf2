#include "shell/favorites/favorites_pane.h"

#include "shell/favorites/favorites_toolbar.h"
#include "shell/favorites/favorites_tree.h"

#include <QVBoxLayout>

namespace kestrova {

CFavoritesPane::CFavoritesPane(QWidget* parent)
    : CBasicPane(parent),
      toolBar_(new CFavoritesToolBar(this)),
      tree_(new CFavoritesTree(this, toolBar_)) {
    setObjectName(QStringLiteral("favoritesPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(tree_, 1);
    SetMainControl(tree_);
    connect(toolBar_, &CFavoritesToolBar::command, this, [this](int id) {
        tree_->OnCommand(id);
        tree_->setFocus(Qt::OtherFocusReason);
    });
}

void CFavoritesPane::SetNavWindow(QObject* navWnd) { tree_->SetNavWindow(navWnd); }

void CFavoritesPane::Open(const QString& folder) { tree_->Open(folder); }

bool CFavoritesPane::Close() { return tree_->Close(); }

bool CFavoritesPane::AddBookmark(int flag, const QString& path, const QString& title) {
    return tree_->AddBookmark(flag, path, title);
}

bool CFavoritesPane::OnCommand(int id) { return tree_->OnCommand(id); }

}  // namespace kestrova

#include "moc_favorites_pane.cpp"
