// A splitter bar between a pane and the browser: 5 pixels thick (scaled), with a toggle button
// in its middle. Dragging it emits SPN_MOVED with the bar's rectangle at the place where the
// mouse was released (only when the mouse moved); a double click on the bar or a click on its
// button emits SPN_TOGGLE.
#pragma once

#include "shell/toolbar/splitter_cursors.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

namespace kestrova {

class CSplitterButton;
class CSplitterOutline;

inline constexpr int SPN_CODE_MOVED = 100;
inline constexpr int SPN_CODE_TOGGLE = 101;

class CSplitterCtrl : public QWidget {
    Q_OBJECT
public:
    // A vertical bar (the left splitter, objectName "leftSplitter", its pane before it) or a
    // horizontal one (the bottom splitter, "bottomSplitter", its pane after it).
    CSplitterCtrl(QWidget* parent, Qt::Orientation orientation);
    ~CSplitterCtrl() override;

    // The rectangle (parent coordinates) the bar may move within while dragged; until it is
    // set, the parent's whole rectangle. The pane's far edge of this area (left for the
    // vertical bar, bottom for the horizontal one) is where the collapse threshold counts
    // from: an outline within 100 pixels of it shows the about-to-collapse cursor.
    void SetAllowedArea(const QRect& area);
    // The part of the bar beside the toolbar strip, drawn in the shadow colour.
    void SetToolbarHeight(int height);
    // Whether the pane of the bar is shown (chooses the button's picture and the cursor).
    void SetPaneShown(bool shown);
    bool IsPaneShown() const;
    // The bar's thickness in pixels: 5 at 96 dpi, scaled by the screen of `widget`.
    static int Thickness(const QWidget* widget);

signals:
    // The bar was dropped at `bar` (parent coordinates, the bar's own size): for the left
    // splitter its new left edge is bar.left(); for the bottom splitter its new bottom edge
    // (exclusive) is bar.top() + bar.height(). Emitted only when the place changed.
    void SPN_MOVED(const QRect& bar);
    // Double click on the bar, or a click on its button.
    void SPN_TOGGLE();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect Area() const;
    QRect DraggedRect(const QPoint& delta) const;
    bool WouldCollapse(const QRect& bar) const;
    void EndDrag();
    void PlaceButton();

    const Qt::Orientation orientation_;
    CSplitterButton* button_ = nullptr;
    QPointer<CSplitterOutline> outline_;  // a child of the parent, made at the first drag
    QRect allowedArea_;
    int toolbarHeight_ = 0;
    bool paneShown_ = true;
    // The drag in progress.
    bool dragging_ = false;
    QPoint pressPoint_;  // global
    QRect dragStart_;    // the bar's place when the drag began
    QRect dragRect_;     // the outline's place now
    SplitterCursor cursorKind_ = SplitterCursor::Resize;
};

}  // namespace kestrova
