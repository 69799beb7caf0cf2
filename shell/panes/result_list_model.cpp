#include "shell/panes/result_list_model.h"

#include "model/page_info.h"
#include "model/topic.h"
#include "shell/panes/pane_guard.h"

#include <algorithm>

namespace kestrova {
namespace {

const QString kColumnTitle = QStringLiteral("Заголовок");
const QString kColumnLocation = QStringLiteral("Расположение");

}  // namespace

bool ResultListModel::Reset(CountedPtr<ITopicSet> topics) {
    int count = 0;
    if (topics && !RunGuarded("results: count", [&] { count = topics->GetCount(); })) return false;
    beginResetModel();
    topics_ = std::move(topics);
    count_ = std::max(count, 0);
    endResetModel();
    return true;
}

bool ResultListModel::SortBy(int column) {
    if (!topics_ || (column != kTitle && column != kLocation)) return false;
    TopicSortOrder order;
    if (!RunGuarded("results: sort order", [&] { order = topics_->GetSortOrder(); })) return false;
    const int32_t kind = column == kTitle ? 1 : 2;
    order.ascending = order.kind == kind ? !order.ascending : true;
    order.kind = kind;
    bool changed = false;
    const bool done = RunGuarded("results: sort", [&] { changed = topics_->Sort(order); });
    // The set's topics are new after a sort (and perhaps after a failed one): the list must
    // read every row again, and nothing reads a row before that.
    if (changed || !done) {
        beginResetModel();
        endResetModel();
    }
    return changed;
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !topics_ || !index.isValid()) return {};
    QVariant value;
    RunGuarded("results: item", [&] {
        ITopic* topic = topics_->GetItem(index.row());
        IPageInfo* page = topic ? topic->GetPage() : nullptr;
        if (!page) return;
        const char16_t* text = index.column() == kTitle ? page->GetTitle() : page->GetLocation();
        if (text) value = QString::fromUtf16(text);
    });
    return value;
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == kTitle) return kColumnTitle;
    if (section == kLocation) return kColumnLocation;
    return {};
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

}  // namespace kestrova

#include "moc_result_list_model.cpp"
