#include "shell/app/history_list.h"

namespace kestrova {

void HistoryList::Add(const QString& text) {
    if (text.isEmpty()) return;
    items_.removeOne(text);
    items_.prepend(text);
    while (items_.size() > capacity_) items_.removeLast();
}

void HistoryList::Append(const QString& text) {
    if (text.isEmpty() || items_.size() >= capacity_) return;
    items_.append(text);
}

}  // namespace kestrova
