#include "shell/panes/content_tree_model.h"

#include "model/content.h"
#include "model/page_info.h"
#include "model/topic.h"
#include "shell/panes/pane_guard.h"

#include <QFile>

namespace kestrova {
namespace {

// The pictures of the items by number.
enum PictureNumber {
    kPicturePage = 141,
    kPictureHeadingClosed = 142,
    kPictureHeadingOpen = 143,
    kPictureHeadingPageClosed = 144,
    kPictureHeadingPageOpen = 145,
};
constexpr int kFirstPicture = kPicturePage;
constexpr const char* kPictureFiles[] = {
    ":/icons/page.svg",                 // 141
    ":/icons/heading-closed.svg",       // 142
    ":/icons/heading-open.svg",         // 143
    ":/icons/heading-page-closed.svg",  // 144
    ":/icons/heading-page-open.svg",    // 145
};

QString FromModel(const char16_t* text) { return text ? QString::fromUtf16(text) : QString(); }

// An item for `node`, its kind read from the model.
std::unique_ptr<ContentTreeModel::Item> MakeItem(IContentNode* node, ContentTreeModel::Item* parent,
                                                 int row) {
    auto item = std::make_unique<ContentTreeModel::Item>();
    item->node = node;
    item->parent = parent;
    item->row = row;
    IContentNodeList* children = node->GetChildren();
    item->isPage = children == nullptr;
    item->hasChildren = children && children->GetCount() > 0;
    item->hasTopic = node->GetTopic() != nullptr;
    return item;
}

// The items of every node of `list` (null entries are left out).
std::vector<std::unique_ptr<ContentTreeModel::Item>> MakeItems(IContentNodeList* list,
                                                               ContentTreeModel::Item* parent) {
    std::vector<std::unique_ptr<ContentTreeModel::Item>> items;
    const int32_t count = list ? list->GetCount() : 0;
    items.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count; ++i) {
        if (IContentNode* node = list->GetItem(i))
            items.push_back(MakeItem(node, parent, static_cast<int>(items.size())));
    }
    return items;
}

}  // namespace

ContentTreeModel::ContentTreeModel(QObject* parent)
    : QAbstractItemModel(parent), root_(std::make_unique<Item>()) {
    root_->loaded = true;
    for (size_t i = 0; i < pictures_.size(); ++i) {
        // A picture missing from the resources leaves its items without one.
        if (QFile::exists(QString::fromLatin1(kPictureFiles[i])))
            pictures_[i] = QIcon(QString::fromLatin1(kPictureFiles[i]));
    }
}

ContentTreeModel::~ContentTreeModel() = default;

void ContentTreeModel::Reset(IContent* content, IURLProvider* urls) {
    auto root = std::make_unique<Item>();
    root->loaded = true;
    if (content) root->children = MakeItems(content->GetRoots(), root.get());
    root->hasChildren = !root->children.empty();
    beginResetModel();
    root_ = std::move(root);
    content_ = content;
    urls_ = urls;
    endResetModel();
}

void ContentTreeModel::Clear() {
    beginResetModel();
    root_ = std::make_unique<Item>();
    root_->loaded = true;
    content_ = nullptr;
    urls_ = nullptr;
    endResetModel();
}

ContentTreeModel::Item* ContentTreeModel::ItemAt(const QModelIndex& index) const {
    if (!index.isValid()) return root_.get();
    return static_cast<Item*>(index.internalPointer());
}

IContentNode* ContentTreeModel::NodeAt(const QModelIndex& index) const {
    return index.isValid() ? ItemAt(index)->node : nullptr;
}

bool ContentTreeModel::LoadChildren(const QModelIndex& parent) {
    Item* item = ItemAt(parent);
    if (item->loaded) return true;
    if (!item->hasChildren) {
        item->loaded = true;
        return true;
    }
    std::vector<std::unique_ptr<Item>> children;
    if (!RunGuarded("contents: children",
                    [&] { children = MakeItems(item->node->GetChildren(), item); })) {
        return false;
    }
    if (children.empty()) {
        // The list was empty after all: the item simply stops being expandable.
        item->loaded = true;
        item->hasChildren = false;
        return true;
    }
    beginInsertRows(parent, 0, static_cast<int>(children.size()) - 1);
    item->children = std::move(children);
    item->loaded = true;
    endInsertRows();
    return true;
}

QModelIndex ContentTreeModel::FindChild(const QModelIndex& parent, IContentNode* node) const {
    const Item* item = ItemAt(parent);
    for (const auto& child : item->children) {
        if (child->node == node) return createIndex(child->row, 0, child.get());
    }
    return {};
}

void ContentTreeModel::SetExpanded(const QModelIndex& index, bool expanded) {
    if (!index.isValid()) return;
    Item* item = ItemAt(index);
    if (item->expanded == expanded) return;
    item->expanded = expanded;
    emit dataChanged(index, index, {Qt::DecorationRole});
}

bool ContentTreeModel::IsExpanded(const QModelIndex& index) const {
    return index.isValid() && ItemAt(index)->expanded;
}

void ContentTreeModel::VisitExpanded(const Item& item,
                                     const std::function<void(IContentNode*)>& visit) {
    for (const auto& child : item.children) {
        if (child->expanded) visit(child->node);
        VisitExpanded(*child, visit);
    }
}

void ContentTreeModel::ForEachExpanded(const std::function<void(IContentNode*)>& visit) const {
    VisitExpanded(*root_, visit);
}

void ContentTreeModel::SetIcons(bool on) {
    if (iconsOn_ == on) return;
    emit layoutAboutToBeChanged();
    iconsOn_ = on;
    emit layoutChanged();
}

QModelIndex ContentTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const Item* item = ItemAt(parent);
    if (column != 0 || row < 0 || static_cast<size_t>(row) >= item->children.size()) return {};
    return createIndex(row, 0, item->children[static_cast<size_t>(row)].get());
}

QModelIndex ContentTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    const Item* parent = ItemAt(child)->parent;
    if (!parent || parent == root_.get()) return {};
    return createIndex(parent->row, 0, const_cast<Item*>(parent));
}

int ContentTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(ItemAt(parent)->children.size());
}

int ContentTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool ContentTreeModel::hasChildren(const QModelIndex& parent) const {
    const Item* item = ItemAt(parent);
    return item->loaded ? !item->children.empty() : item->hasChildren;
}

bool ContentTreeModel::canFetchMore(const QModelIndex& parent) const {
    const Item* item = ItemAt(parent);
    return !item->loaded && item->hasChildren;
}

void ContentTreeModel::fetchMore(const QModelIndex& parent) { LoadChildren(parent); }

int ContentTreeModel::PictureOf(const Item& item) const {
    if (!iconsOn_) return 0;
    if (item.isPage) return kPicturePage;
    if (item.hasTopic) return item.expanded ? kPictureHeadingPageOpen : kPictureHeadingPageClosed;
    return item.expanded ? kPictureHeadingOpen : kPictureHeadingClosed;
}

QString ContentTreeModel::Details(const Item& item) const {
    ITopic* topic = item.node->GetTopic();
    if (!topic) return {};
    IPageInfo* page = topic->GetPage();
    QString text = QStringLiteral("topic: ") + (page ? FromModel(page->GetPath()) : QString());
    const char16_t* anchor = topic->GetAnchor();
    if (anchor && *anchor) text += QLatin1Char('#') + FromModel(anchor);
    const char16_t* location = page ? page->GetLocation() : nullptr;
    if (location && *location) text += QStringLiteral("\nlocation: ") + FromModel(location);
    return text;
}

QVariant ContentTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Item& item = *ItemAt(index);
    QVariant value;
    RunGuarded("contents: item", [&] {
        switch (role) {
            case Qt::DisplayRole:
                value = FromModel(item.node->GetText());
                break;
            case Qt::DecorationRole:
                if (const int picture = PictureOf(item)) {
                    const QIcon& icon = pictures_[static_cast<size_t>(picture - kFirstPicture)];
                    if (!icon.isNull()) value = icon;
                }
                break;
            case kPictureRole:
                value = PictureOf(item);
                break;
            case Qt::ToolTipRole:
                if (details_) value = Details(item);
                break;
            default:
                break;
        }
    });
    return value;
}

Qt::ItemFlags ContentTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (ItemAt(index)->isPage) flags |= Qt::ItemNeverHasChildren;
    return flags;
}

}  // namespace kestrova

#include "moc_content_tree_model.cpp"
