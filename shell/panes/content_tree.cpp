#include "shell/panes/content_tree.h"

#include "model/content.h"
#include "model/page_info.h"
#include "model/topic.h"
#include "model/url_provider.h"
#include "shell/nav/nav_messages.h"
#include "shell/panes/basic_pane.h"
#include "shell/panes/content_tree_model.h"
#include "shell/panes/pane_guard.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace kestrova {
namespace {

// Deeper chains than this are taken for a broken parent link.
constexpr int kMaxDepth = 4096;

}  // namespace

CContentTree::CContentTree(QWidget* parent)
    : QTreeView(parent), model_(new ContentTreeModel(this)) {
    setObjectName(QStringLiteral("contentTree"));
    setModel(model_);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    setAnimated(false);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setIconSize(QSize(ScaledX(this, 16), ScaledY(this, 16)));
    // An item expanded before the tree is laid out (a hidden tab, a window not shown yet)
    // gets its children here; a shown tree has fetched them already.
    connect(this, &QTreeView::expanded, model_, [this](const QModelIndex& index) {
        model_->LoadChildren(index);
        model_->SetExpanded(index, true);
    });
    connect(this, &QTreeView::collapsed, model_,
            [this](const QModelIndex& index) { model_->SetExpanded(index, false); });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (leftRelease_) Follow(index);
    });
}

QModelIndex CContentTree::Reveal(IContentNode* node) {
    std::vector<IContentNode*> chain;
    for (IContentNode* n = node; n; n = n->GetParent()) {
        if (chain.size() >= kMaxDepth) return {};
        chain.push_back(n);
    }
    QModelIndex index;  // the invisible root
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!model_->LoadChildren(index)) return {};
        index = model_->FindChild(index, *it);
        if (!index.isValid()) return {};
    }
    return index;
}

void CContentTree::Follow(const QModelIndex& index) {
    IURLProvider* urls = model_->Urls();
    IContentNode* node = model_->NodeAt(index);
    if (!node || !urls) return;
    NavigateRequest request;
    const bool done = RunGuarded("contents: follow", [&] {
        ITopic* topic = node->GetTopic();
        IPageInfo* page = topic ? topic->GetPage() : nullptr;
        if (!page) return;
        const char16_t* url = urls->GetURL(page->GetPath(), topic->GetAnchor());
        if (url) request.url = QString::fromUtf16(url);
    });
    if (!done || request.url.isEmpty()) return;
    NavNavigate message(request);
    RunGuarded("contents: navigate", [&] { SendNavMessage(navWnd_, message); });
}

void CContentTree::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != EditingState) {
        Follow(currentIndex());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void CContentTree::mouseReleaseEvent(QMouseEvent* event) {
    leftRelease_ = event->button() == Qt::LeftButton;
    QTreeView::mouseReleaseEvent(event);
    leftRelease_ = false;
}

}  // namespace kestrova

#include "moc_content_tree.cpp"
