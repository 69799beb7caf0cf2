// The find bar of the browser host: a strip over the page with the text to find, the buttons
// for the previous and the next match, the number of matches and a close button. Qt WebEngine
// has no find dialog of its own; this one uses the page's literal text search (letter case
// ignored). Enter finds the next match, Shift+Enter the previous one, Escape closes the bar
// and clears the page's selection of the match.
//
// User-interface thread only.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;
class QWebEnginePage;
class QWebEngineFindTextResult;

namespace kestrova {

class CFindBar : public QWidget {
    Q_OBJECT
public:
    // objectName "findBar"; the field "findText", the buttons "findPrevious", "findNext",
    // "findClose" and the count "findCount". Hidden until Open().
    CFindBar(QWebEnginePage& page, QWidget* parent);

    // Shows the bar with the focus in its field (its text selected) and finds the text again.
    void Open();
    // Hides the bar and ends the search on the page.
    void Close();
    // Finds the next (or the previous) match of the field's text.
    void Find(bool backward);

    QString CountText() const;
    QLineEdit* Field() const { return field_; }

signals:
    // A search on the page ended: the number of matches and the 1-based active one.
    void found(int matches, int active);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnFound(const QWebEngineFindTextResult& result);

    QWebEnginePage& page_;
    QLineEdit* field_ = nullptr;
    QLabel* count_ = nullptr;
};

}  // namespace kestrova
