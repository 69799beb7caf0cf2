// The contents tree control (1011): a tree view over ContentTreeModel whose items get their
// children on first expansion and show the open pictures while expanded. A click on an item
// (not on its expand button) or Enter on the selected item opens the item's topic by sending
// NAVM_NAVIGATE to the navigator window. CContentPane gives the operations on it.
#pragma once

#include <QTreeView>

namespace kestrova {

class ContentTreeModel;
class IContentNode;

class CContentTree : public QTreeView {
    Q_OBJECT
public:
    // objectName "contentTree".
    explicit CContentTree(QWidget* parent);

    void SetNavWindow(QObject* navWnd) { navWnd_ = navWnd; }
    ContentTreeModel* Model() const { return model_; }

    // The index of `node` after making every item on its way from the root; invalid when the
    // node is not among the tree's nodes. May throw what the model throws.
    QModelIndex Reveal(IContentNode* node);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Follow(const QModelIndex& index);

    ContentTreeModel* model_;
    QObject* navWnd_ = nullptr;
    bool leftRelease_ = false;  // set while a release of the left button is handled
};

}  // namespace kestrova
