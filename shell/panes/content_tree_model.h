// The item model behind the contents tree: one item per content node that has been shown,
// children made from the model the first time their parent is expanded (fetchMore), so that
// a knowledge base of any size costs only what the user opens. Items hold the nodes of the
// content given to Reset; they live until the next Reset or Clear.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace kestrova {

class IContent;
class IContentNode;
class IURLProvider;

class ContentTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    struct Item;

    // The picture number of an item (0 while pictures are off): 141 a page, 142 and 143 a
    // heading without a page closed and open, 144 and 145 a heading with a page closed and
    // open. Decoration gives the picture itself.
    static constexpr int kPictureRole = Qt::UserRole + 1;

    explicit ContentTreeModel(QObject* parent);
    ~ContentTreeModel() override;

    // Shows the roots of `content` (nothing when null). Reads the roots before it changes
    // anything, so a model that throws leaves the previous items in place.
    void Reset(IContent* content, IURLProvider* urls);
    void Clear();
    IContent* Content() const { return content_; }
    IURLProvider* Urls() const { return urls_; }

    // The node of an item, or null for an invalid index.
    IContentNode* NodeAt(const QModelIndex& index) const;
    // Makes the children of `parent` (the roots for an invalid index) when they are not made
    // yet; false when the model failed (nothing is then changed).
    bool LoadChildren(const QModelIndex& parent);
    // The child of `parent` that shows `node` (its children must be loaded), or invalid.
    QModelIndex FindChild(const QModelIndex& parent, IContentNode* node) const;
    // Items that are expanded show the open pictures.
    void SetExpanded(const QModelIndex& index, bool expanded);
    bool IsExpanded(const QModelIndex& index) const;
    // Calls `visit` for every made item that is expanded, parents before children.
    void ForEachExpanded(const std::function<void(IContentNode*)>& visit) const;

    void SetIcons(bool on);
    bool IconsOn() const { return iconsOn_; }
    // Tooltips that tell the page, anchor and location of each item.
    void SetDetails(bool on) { details_ = on; }

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    bool hasChildren(const QModelIndex& parent) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    Item* ItemAt(const QModelIndex& index) const;
    // The picture number of the item (see kPictureRole).
    int PictureOf(const Item& item) const;
    QString Details(const Item& item) const;
    static void VisitExpanded(const Item& item, const std::function<void(IContentNode*)>& visit);

    std::unique_ptr<Item> root_;  // invisible; its children are the roots
    IContent* content_ = nullptr;
    IURLProvider* urls_ = nullptr;
    bool iconsOn_ = true;
    bool details_ = false;
    std::array<QIcon, 5> pictures_;  // pictures 141 to 145
};

struct ContentTreeModel::Item {
    IContentNode* node = nullptr;
    Item* parent = nullptr;
    int row = 0;
    bool isPage = false;       // the node has no children list at all
    bool hasTopic = false;     // the node opens a page
    bool hasChildren = false;  // expandable
    bool loaded = false;       // `children` are made
    bool expanded = false;
    std::vector<std::unique_ptr<Item>> children;
};

}  // namespace kestrova
