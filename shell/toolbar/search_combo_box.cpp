#include "shell/toolbar/search_combo_box.h"

#include "shell/app/history_list.h"
#include "shell/toolbar/search_edit.h"
#include "shell/toolbar/toolbar_texts.h"

namespace kestrova {

CSearchComboBox::CSearchComboBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("searchBox"));
    setAccessibleName(toolbar_texts::kSearchBoxName);
    auto* edit = new CSearchEdit(this);
    edit->setAccessibleName(toolbar_texts::kSearchBoxName);
    setLineEdit(edit);
    // The list is the history, changed only by RefillHistory; typing completes nothing, so
    // Enter always searches for exactly what was typed.
    setInsertPolicy(NoInsert);
    setCompleter(nullptr);
    setSizeAdjustPolicy(AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(4);
    connect(edit, &CSearchEdit::enterPressed, this, &CSearchComboBox::SEN_ENTER);
}

QString CSearchComboBox::Text() const { return lineEdit()->text(); }

void CSearchComboBox::RefillHistory(const HistoryList& history) {
    const QString text = lineEdit()->text();
    const int cursor = lineEdit()->cursorPosition();
    {
        const QSignalBlocker blocker(this);
        clear();
        if (history.Items().isEmpty()) {
            addItem(QString());
        } else {
            addItems(history.Items());
        }
        setCurrentIndex(-1);
    }
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(cursor);
}

}  // namespace kestrova

#include "moc_search_combo_box.cpp"
