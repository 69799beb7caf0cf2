#include "shell/toolbar/splitter_button.h"

#include <QIcon>
#include <QPainter>

namespace kestrova {

namespace {

constexpr int kLength = 16;  // along the bar, at 96 dpi

}  // namespace

CSplitterButton::CSplitterButton(QWidget* bar, Qt::Orientation orientation)
    : QAbstractButton(bar), orientation_(orientation) {
    setObjectName(QStringLiteral("splitterButton"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void CSplitterButton::SetPaneShown(bool shown) {
    if (shown == paneShown_) return;
    paneShown_ = shown;
    update();
}

QString CSplitterButton::PictureName() const {
    // The left pane lies before a vertical bar, the bottom pane after a horizontal one.
    const char* name = orientation_ == Qt::Vertical ? (paneShown_ ? "left" : "right")
                                                    : (paneShown_ ? "down" : "up");
    return QStringLiteral(":/icons/splitter-%1.svg").arg(QLatin1String(name));
}

QSize CSplitterButton::sizeHint() const {
    const int along = orientation_ == Qt::Vertical ? qRound(kLength * logicalDpiY() / 96.0)
                                                   : qRound(kLength * logicalDpiX() / 96.0);
    return orientation_ == Qt::Vertical ? QSize(parentWidget()->width(), along)
                                        : QSize(along, parentWidget()->height());
}

void CSplitterButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor face = palette().color(QPalette::Button);
    if (isDown()) {
        face = palette().color(QPalette::Dark);
    } else if (underMouse()) {
        face = palette().color(QPalette::Midlight).darker(108);
    }
    painter.fillRect(rect(), face);
    // The pictures are square and keep their drawing to the strip from 5 to 10 (of 16) across
    // the bar; the square is placed so that this strip falls on the bar (at 96 dpi the
    // offset is (5 - 16) / 2 = -5), and the rest is clipped.
    const int side = qMax(width(), height());
    const QPixmap picture = QIcon(PictureName()).pixmap(QSize(side, side), devicePixelRatioF());
    const QRect target((width() - side) / 2, (height() - side) / 2, side, side);
    painter.drawPixmap(target, picture);
}

}  // namespace kestrova

#include "moc_splitter_button.cpp"
