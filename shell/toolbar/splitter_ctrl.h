// A splitter bar between a pane and the browser: 5 pixels thick (scaled), with a toggle button
// in its middle. Dragging it emits SPN_MOVED with the bar's rectangle at the place where the
// mouse was released (only when the mouse moved); a double click on the bar or a click on its
// button emits SPN_TOGGLE.
#pragma once

#include <QRect>
#include <QWidget>

namespace kestrova {

inline constexpr int SPN_CODE_MOVED = 100;
inline constexpr int SPN_CODE_TOGGLE = 101;

class CSplitterCtrl : public QWidget {
    Q_OBJECT
public:
    // A vertical bar (the left splitter, objectName "leftSplitter", its pane before it) or a
    // horizontal one (the bottom splitter, "bottomSplitter", its pane after it).
    CSplitterCtrl(QWidget* parent, Qt::Orientation orientation);

    // The rectangle (parent coordinates) the bar may move within while dragged.
    void SetAllowedArea(const QRect& area);
    // The part of the bar beside the toolbar strip, drawn in the shadow colour.
    void SetToolbarHeight(int height);
    // Whether the pane of the bar is shown (chooses the button's picture and the cursor).
    void SetPaneShown(bool shown);
    bool IsPaneShown() const;

signals:
    void SPN_MOVED(const QRect& bar);
    void SPN_TOGGLE();
};

}  // namespace kestrova
