// The index pane (tab 1): a box where the user types a keyword (its list holds the index
// history) and the virtual list of all keywords. Typing selects the first keyword not less
// than the text; Enter or a double click sends NAVM_KEYWORDTOPICS.
#pragma once

#include "shell/panes/basic_pane.h"
#include "shell/shell_types.h"

namespace kestrova {

class IKeywordList;
class HistoryList;
class CElidedLabel;
class CIndexComboBox;
class CIndexList;
class KeywordListModel;

class CIndexPane : public CBasicPane {
    Q_OBJECT
public:
    // objectName "indexPane"; the box is "indexBox" (1008), the list "indexList" (1009).
    explicit CIndexPane(QWidget* parent);

    void SetNavWindow(QObject* navWnd);
    // Shows every keyword of `keywords` (none when null) and, when `state` holds a box text,
    // puts it into the box and looks it up. The list must live until Clear.
    void Fill(IKeywordList* keywords, const PaneState* state);
    void Clear();
    // Stores the box text.
    void SaveState(PaneState& state) const;
    // Refills the box's list from the history (one empty entry for an empty history); the
    // text in the box stays.
    void RefillHistory(const HistoryList& history);
    // The text of the box, and the index of the selected keyword (-1 when none).
    QString BoxText() const;
    int SelectedKeyword() const;

    CIndexComboBox* Box() const { return box_; }
    CIndexList* List() const { return list_; }

private:
    // Selects the first keyword not less than `text` (the last when every one is less),
    // leaving the box text alone.
    void LookUp(const QString& text);
    // Selects keyword `row` and scrolls it into view; `byPane` keeps the box text.
    void SelectRow(int row, bool byPane);
    void MoveSelection(int delta);
    void OnEditKey(int code);
    void OnSelectionChanged();
    void PutSelectedIntoBox();
    void SendSelected();

    CElidedLabel* prompt_;
    CIndexComboBox* box_;
    CIndexList* list_;
    KeywordListModel* model_;
    QObject* navWnd_ = nullptr;
    bool selecting_ = false;  // set while the pane itself changes the list's selection
};

}  // namespace kestrova
