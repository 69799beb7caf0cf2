// The search box (1013): an editable box whose list holds the search history. Enter in its
// edit field emits SEN_ENTER.
#pragma once

#include <QComboBox>

namespace kestrova {

class HistoryList;

inline constexpr int SEN_CODE_ENTER = 200;

class CSearchComboBox : public QComboBox {
    Q_OBJECT
public:
    // objectName "searchBox".
    explicit CSearchComboBox(QWidget* parent);

    // The text of the edit field.
    QString Text() const;
    // Refills the list from the history; the edit field keeps its text. An empty history
    // gives one empty entry.
    void RefillHistory(const HistoryList& history);

signals:
    // Enter was pressed in the edit field.
    void SEN_ENTER();
};

}  // namespace kestrova
