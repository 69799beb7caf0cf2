#include "shell/panes/keyword_list_model.h"

#include "model/keyword.h"
#include "shell/panes/pane_guard.h"

#include <algorithm>

namespace kestrova {

bool KeywordListModel::Reset(IKeywordList* keywords) {
    int count = 0;
    if (keywords && !RunGuarded("index: count", [&] { count = keywords->GetCount(); }))
        return false;
    beginResetModel();
    keywords_ = keywords;
    count_ = std::max(count, 0);
    endResetModel();
    return true;
}

std::optional<QString> KeywordListModel::Text(int row) const {
    std::optional<QString> text;
    if (!keywords_ || row < 0 || row >= count_) return text;
    RunGuarded("index: keyword", [&] {
        IKeyword* keyword = keywords_->GetItem(row);
        if (!keyword) return;
        const char16_t* chars = keyword->GetText();
        text = chars ? QString::fromUtf16(chars) : QString();
    });
    return text;
}

int KeywordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

QVariant KeywordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.parent().isValid()) return {};
    return Text(index.row()).value_or(QString());
}

Qt::ItemFlags KeywordListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

}  // namespace kestrova

#include "moc_keyword_list_model.cpp"
