#include "shell/toolbar/box_place.h"

#include <QComboBox>
#include <QEvent>

namespace kestrova {

namespace {

constexpr int kBoxLeftGap = 7;        // from the separator's left edge to the box
constexpr int kBoxRightGap = 2;       // from the box to the separator's right edge
constexpr int kDropListHeight = 200;  // the drop-down list's height at 96 dpi

}  // namespace

CBoxPlace::CBoxPlace(QWidget* parent, QComboBox* box, int width)
    : QWidget(parent), box_(box), width_(width) {
    box_->setParent(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    // The list opens about 200 pixels tall, as many rows as fit.
    const int rowHeight = box_->fontMetrics().height() + 4;
    box_->setMaxVisibleItems(
        qMax(1, qRound(kDropListHeight * logicalDpiY() / 96.0) / qMax(1, rowHeight)));
    box_->installEventFilter(this);
    PlaceBox();
}

QSize CBoxPlace::sizeHint() const { return QSize(width_, box_->sizeHint().height()); }

void CBoxPlace::resizeEvent(QResizeEvent*) { PlaceBox(); }

bool CBoxPlace::eventFilter(QObject* watched, QEvent* event) {
    // A box whose font or style changes asks for another height.
    if (watched == box_ &&
        (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)) {
        updateGeometry();
        PlaceBox();
    }
    return QWidget::eventFilter(watched, event);
}

void CBoxPlace::PlaceBox() {
    QRect place = rect().adjusted(kBoxLeftGap, 0, -kBoxRightGap, 0);
    const int boxHeight = box_->sizeHint().height();
    const int top = boxHeight < place.height() ? (place.height() - boxHeight) / 2 : 0;
    box_->setGeometry(place.left(), top, qMax(0, place.width()), boxHeight);
}

}  // namespace kestrova

#include "moc_box_place.cpp"
