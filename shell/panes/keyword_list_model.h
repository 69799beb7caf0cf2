// The item model behind the index list: row i is keyword i of the keyword list, read when
// the list draws it, so a list of any length costs nothing to show.
#pragma once

#include <QAbstractListModel>

#include <optional>

namespace kestrova {

class IKeywordList;

class KeywordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit KeywordListModel(QObject* parent) : QAbstractListModel(parent) {}

    // Shows `keywords` (nothing when null); false, with nothing changed, when the list fails.
    bool Reset(IKeywordList* keywords);
    IKeywordList* Keywords() const { return keywords_; }
    // The text of keyword `row`; none when there is no such keyword or the list failed.
    std::optional<QString> Text(int row) const;

    int rowCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    IKeywordList* keywords_ = nullptr;
    int count_ = 0;
};

}  // namespace kestrova
