// The contents pane (tab 0): the table of contents as a tree whose children are made when an
// item is first expanded. Following an item that opens a topic sends NAVM_NAVIGATE.
#pragma once

#include "shell/shell_types.h"

#include "shell/panes/basic_pane.h"

namespace kestrova {

class IContent;
class IContentNode;
class IURLProvider;

class CContentTree;  // the tree control (1011, objectName "contentTree")

class CContentPane : public CBasicPane {
    Q_OBJECT
public:
    // objectName "contentPane".
    explicit CContentPane(QWidget* parent);

    // The navigator window that gets NAVM_NAVIGATE.
    void SetNavWindow(QObject* navWnd);
    // Shows the roots of `content`, then restores `state` (expanded and selected title
    // paths) when given. The content and the provider must live until Clear.
    void Fill(IContent* content, IURLProvider* urls, const PaneState* state);
    // Empties the tree and forgets the content.
    void Clear();
    // Selects the item of `node`, making the items on its way, and scrolls it into view;
    // false when the node is not among the tree's nodes.
    bool SelectNode(IContentNode* node);
    // The node of the selected item, or null.
    IContentNode* SelectedNode() const;
    // Pictures beside the items on or off.
    void SetIcons(bool on);
    bool IconsOn() const;
    // Stores the selected and the expanded title paths.
    void SaveState(PaneState& state) const;
    // Shows the page of each item in its tooltip (the developer option ContentDetails).
    void SetDetailsMode();
    CContentTree* Tree() const { return tree_; }

private:
    // Expands the saved title paths that exist, then selects the saved selected one.
    void RestoreState(const PaneState& state);

    CContentTree* tree_;
};

}  // namespace kestrova
