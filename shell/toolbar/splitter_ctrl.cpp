#include "shell/toolbar/splitter_ctrl.h"

#include "shell/toolbar/splitter_button.h"
#include "shell/toolbar/splitter_cursors.h"
#include "shell/toolbar/splitter_outline.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

namespace kestrova {

namespace {

// A bar whose outline comes this close (pixels, unscaled) to the pane's far edge collapses
// the pane when dropped there.
constexpr int kCollapseThreshold = 100;

const QString kLeftPaneName = QStringLiteral("Левая панель");
const QString kBottomPaneName = QStringLiteral("Панель результатов поиска");

}  // namespace

CSplitterCtrl::CSplitterCtrl(QWidget* parent, Qt::Orientation orientation)
    : QWidget(parent), orientation_(orientation) {
    const bool vertical = orientation == Qt::Vertical;
    setObjectName(vertical ? QStringLiteral("leftSplitter") : QStringLiteral("bottomSplitter"));
    button_ = new CSplitterButton(this, orientation);
    button_->setAccessibleName(vertical ? kLeftPaneName : kBottomPaneName);
    button_->setToolTip(button_->accessibleName());
    connect(button_, &CSplitterButton::clicked, this, &CSplitterCtrl::SPN_TOGGLE);
    setCursor(SplitterCursorFor(orientation_, SplitterCursor::Resize));
}

CSplitterCtrl::~CSplitterCtrl() {
    if (dragging_) QGuiApplication::restoreOverrideCursor();
    delete outline_.data();
}

void CSplitterCtrl::SetAllowedArea(const QRect& area) { allowedArea_ = area; }

void CSplitterCtrl::SetToolbarHeight(int height) {
    if (height == toolbarHeight_) return;
    toolbarHeight_ = height;
    update();
}

void CSplitterCtrl::SetPaneShown(bool shown) {
    if (shown == paneShown_) return;
    paneShown_ = shown;
    button_->SetPaneShown(shown);
    setCursor(SplitterCursorFor(orientation_,
                                shown ? SplitterCursor::Resize : SplitterCursor::Collapsed));
}

bool CSplitterCtrl::IsPaneShown() const { return paneShown_; }

int CSplitterCtrl::Thickness(const QWidget* widget) {
    return qMax(1, qRound(5 * widget->logicalDpiX() / 96.0));
}

QRect CSplitterCtrl::Area() const {
    if (allowedArea_.isValid()) return allowedArea_;
    return parentWidget() ? parentWidget()->rect() : QRect();
}

// The bar moved by `delta` from where the drag began, kept inside the allowed area.
QRect CSplitterCtrl::DraggedRect(const QPoint& delta) const {
    const QRect area = Area();
    QRect bar = dragStart_;
    if (orientation_ == Qt::Vertical) {
        const int last = qMax(area.left(), area.left() + area.width() - bar.width());
        bar.moveLeft(qBound(area.left(), dragStart_.left() + delta.x(), last));
    } else {
        const int last = qMax(area.top(), area.top() + area.height() - bar.height());
        bar.moveTop(qBound(area.top(), dragStart_.top() + delta.y(), last));
    }
    return bar;
}

bool CSplitterCtrl::WouldCollapse(const QRect& bar) const {
    const QRect area = Area();
    if (orientation_ == Qt::Vertical) return bar.left() - area.left() <= kCollapseThreshold;
    return (area.top() + area.height()) - (bar.top() + bar.height()) <= kCollapseThreshold;
}

void CSplitterCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragging_ || !parentWidget()) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    dragging_ = true;
    pressPoint_ = event->globalPosition().toPoint();
    dragStart_ = geometry();
    dragRect_ = dragStart_;
    if (!outline_) outline_ = new CSplitterOutline(parentWidget());
    outline_->Place(dragRect_);
    cursorKind_ = SplitterCursor::Resize;
    QGuiApplication::setOverrideCursor(SplitterCursorFor(orientation_, cursorKind_));
}

void CSplitterCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    dragRect_ = DraggedRect(event->globalPosition().toPoint() - pressPoint_);
    outline_->Place(dragRect_);
    const SplitterCursor kind =
        WouldCollapse(dragRect_) ? SplitterCursor::AboutToCollapse : SplitterCursor::Resize;
    if (kind != cursorKind_) {
        cursorKind_ = kind;
        QGuiApplication::changeOverrideCursor(SplitterCursorFor(orientation_, kind));
    }
}

void CSplitterCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    dragRect_ = DraggedRect(event->globalPosition().toPoint() - pressPoint_);
    EndDrag();
}

void CSplitterCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    if (dragging_) EndDrag();
    emit SPN_TOGGLE();
}

// The drag ends: the outline goes, and the parent hears of the new place when there is one.
void CSplitterCtrl::EndDrag() {
    if (!dragging_) return;
    dragging_ = false;
    if (outline_) outline_->hide();
    QGuiApplication::restoreOverrideCursor();
    if (dragRect_ != dragStart_) emit SPN_MOVED(dragRect_);
}

bool CSplitterCtrl::event(QEvent* event) {
    // Losing the mouse to another window or a popup ends a drag as a release would.
    if (dragging_ && (event->type() == QEvent::Hide || event->type() == QEvent::WindowDeactivate ||
                      event->type() == QEvent::UngrabMouse)) {
        EndDrag();
    }
    return QWidget::event(event);
}

void CSplitterCtrl::resizeEvent(QResizeEvent*) { PlaceButton(); }

void CSplitterCtrl::PlaceButton() {
    QSize size = button_->sizeHint();
    QRect place(QPoint(0, 0), size);
    if (orientation_ == Qt::Vertical) {
        place.setWidth(width());
        place.moveTop((height() - size.height()) / 2);
    } else {
        place.setHeight(height());
        place.moveLeft((width() - size.width()) / 2);
    }
    button_->setGeometry(place);
}

void CSplitterCtrl::paintEvent(QPaintEvent*) {
    // The part beside the toolbar strip in the shadow colour, the rest in the button face.
    QPainter painter(this);
    const int shadow = qBound(0, toolbarHeight_, height());
    if (shadow > 0) painter.fillRect(0, 0, width(), shadow, palette().color(QPalette::Dark));
    painter.fillRect(0, shadow, width(), height() - shadow, palette().color(QPalette::Button));
}

}  // namespace kestrova

#include "moc_splitter_ctrl.cpp"
