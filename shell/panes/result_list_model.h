// The item model behind the result list: row i is topic i of a topic set, column 0 the title
// of its page, column 1 the page's location, read when the list draws them. Topics are never
// kept: sorting the set invalidates them.
#pragma once

#include "model/counted.h"
#include "model/topic.h"

#include <QAbstractTableModel>

namespace kestrova {

class ITopicSet;
struct TopicSortOrder;

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kTitle = 0, kLocation = 1 };

    explicit ResultListModel(QObject* parent) : QAbstractTableModel(parent) {}

    // Shows `topics` (nothing when null); false, with nothing changed, when the set fails.
    bool Reset(CountedPtr<ITopicSet> topics);
    ITopicSet* Topics() const { return topics_.get(); }
    int Count() const { return count_; }
    // Orders the set as a click on `column`'s header asks (the same key again reverses the
    // direction, another key sorts ascending); true when the order changed.
    bool SortBy(int column);

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    CountedPtr<ITopicSet> topics_;
    int count_ = 0;
};

}  // namespace kestrova
