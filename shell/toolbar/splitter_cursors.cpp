#include "shell/toolbar/splitter_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>

namespace kestrova {

namespace {

constexpr int kSide = 32;  // cursor bitmaps are 32 x 32, hot spot in the middle

// A wall (a short thick line) and an arrow, drawn for a vertical bar whose pane lies to the
// left: `towardsWall` points the arrow at the wall on the left (the pane is about to go),
// otherwise away from a wall (the collapsed pane can be pulled out to the right).
QPainterPath WallAndArrow(bool towardsWall) {
    QPainterPath path;
    const qreal mid = kSide / 2.0;
    if (towardsWall) {
        path.addRect(QRectF(mid - 8, mid - 9, 3, 18));
        QPolygonF arrow({{mid - 4, mid},
                         {mid + 1, mid - 5},
                         {mid + 1, mid - 2},
                         {mid + 8, mid - 2},
                         {mid + 8, mid + 2},
                         {mid + 1, mid + 2},
                         {mid + 1, mid + 5}});
        path.addPolygon(arrow);
    } else {
        path.addRect(QRectF(mid - 8, mid - 9, 3, 18));
        QPolygonF arrow({{mid + 8, mid},
                         {mid + 3, mid - 5},
                         {mid + 3, mid - 2},
                         {mid - 3, mid - 2},
                         {mid - 3, mid + 2},
                         {mid + 3, mid + 2},
                         {mid + 3, mid + 5}});
        path.addPolygon(arrow);
    }
    path.closeSubpath();
    return path;
}

QCursor PaintedCursor(Qt::Orientation orientation, bool towardsWall) {
    QPainterPath path = WallAndArrow(towardsWall);
    if (orientation == Qt::Horizontal) {
        // The same picture turned so that the wall lies at the bottom.
        QTransform turn;
        turn.translate(kSide / 2.0, kSide / 2.0);
        turn.rotate(-90);
        turn.translate(-kSide / 2.0, -kSide / 2.0);
        path = turn.map(path);
    }
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::black);
    painter.drawPath(path.simplified());
    painter.end();
    return QCursor(pixmap, kSide / 2, kSide / 2);
}

}  // namespace

QCursor SplitterCursorFor(Qt::Orientation orientation, SplitterCursor kind) {
    switch (kind) {
        case SplitterCursor::AboutToCollapse:
            return PaintedCursor(orientation, true);
        case SplitterCursor::Collapsed:
            return PaintedCursor(orientation, false);
        case SplitterCursor::Resize:
            break;
    }
    return QCursor(orientation == Qt::Vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
}

}  // namespace kestrova
