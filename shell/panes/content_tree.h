// The contents tree control (1011): a tree view over ContentTreeModel. A click on an item (not
// on its expand button) or Enter on the selected item opens the item's topic by sending
// NAVM_NAVIGATE to the navigator window.
#pragma once

#include "shell/shell_types.h"

#include <QTreeView>

namespace kestrova {

class ContentTreeModel;
class IContent;
class IContentNode;
class IURLProvider;

class CContentTree : public QTreeView {
    Q_OBJECT
public:
    // objectName "contentTree".
    explicit CContentTree(QWidget* parent);

    void SetNavWindow(QObject* navWnd) { navWnd_ = navWnd; }
    // Shows the roots of `content`, then restores `state` when given. False when the model
    // failed (the tree then shows what it showed before, or the roots without the state).
    bool Fill(IContent* content, IURLProvider* urls, const PaneState* state);
    void Clear();
    // Selects the item of `node`, making the items on its way; false when it is not shown.
    bool SelectNode(IContentNode* node);
    IContentNode* SelectedNode() const;
    void SetIcons(bool on);
    bool IconsOn() const;
    void SaveState(PaneState& state) const;
    void SetDetailsMode();
    ContentTreeModel* Model() const { return model_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The index of `node` after making every item on its way from the root, or invalid.
    QModelIndex Reveal(IContentNode* node);
    void RestoreState(const PaneState& state);
    void Follow(const QModelIndex& index);

    ContentTreeModel* model_;
    QObject* navWnd_ = nullptr;
    bool leftRelease_ = false;  // set while a release of the left button is handled
};

}  // namespace kestrova
