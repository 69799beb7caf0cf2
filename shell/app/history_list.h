// A list of texts the user entered, most recent first, at most `capacity` long.
#pragma once

#include <QString>
#include <QStringList>

namespace kestrova {

class HistoryList {
public:
    explicit HistoryList(int capacity = 20) : capacity_(capacity) {}

    // Puts `text` in front: an empty text is ignored, a text already in the list (exact,
    // case-sensitive) moves to the front, a new one is added and the list cut to capacity.
    void Add(const QString& text);
    void Clear() { items_.clear(); }
    // Appends at the end (loading), skipping empty texts and stopping at capacity.
    void Append(const QString& text);

    const QStringList& Items() const { return items_; }
    int Capacity() const { return capacity_; }
    bool operator==(const HistoryList&) const = default;

private:
    int capacity_;
    QStringList items_;
};

}  // namespace kestrova
