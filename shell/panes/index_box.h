// The box of the index pane (1008): an editable drop-down box whose list holds the index
// history, with CIndexEdit as its edit field. The edit field reports Enter, Tab and the list
// movement keys to the pane instead of handling them, while the box's list is not dropped
// down; the movement keys only without Ctrl, Shift and Alt.
#pragma once

#include <QComboBox>
#include <QLineEdit>

namespace kestrova {

// The notification codes of the edit field.
enum IndexEditCode : int {
    kIndexEditEnter = 200,
    kIndexEditTab = 201,
    kIndexEditUp = 202,
    kIndexEditDown = 203,
    kIndexEditPageUp = 204,
    kIndexEditPageDown = 205,
};

class CIndexEdit : public QLineEdit {
    Q_OBJECT
public:
    // objectName "indexEdit".
    explicit CIndexEdit(QComboBox* box);

signals:
    void EditKey(int code);

protected:
    bool event(QEvent* event) override;

private:
    // The code of a key the pane handles, or 0.
    int CodeOf(const QKeyEvent& key) const;

    QComboBox* box_;
};

class CIndexComboBox : public QComboBox {
    Q_OBJECT
public:
    // objectName "indexBox"; `dropHeight` is the height of the dropped-down list in pixels.
    CIndexComboBox(QWidget* parent, int dropHeight);

    CIndexEdit* Edit() const { return edit_; }
    // Replaces the entries of the list; the text in the edit field stays.
    void SetEntries(const QStringList& entries);

private:
    CIndexEdit* edit_;
};

}  // namespace kestrova
