// The splitter bars: dragging with an outline, the collapse cursor, toggling, the button and
// the painting.
#include "shell/tests/shell_test_support.h"
#include "shell/toolbar/splitter_button.h"
#include "shell/toolbar/splitter_ctrl.h"

#include <QGuiApplication>
#include <QObject>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace kestrova;

Q_DECLARE_METATYPE(QRect)

namespace {

// A parent of 800 x 600 with a left bar at x = 250 and a bottom bar 150 above the bottom.
struct Frame {
    QWidget parent;
    CSplitterCtrl* left;
    CSplitterCtrl* bottom;
    int s;  // thickness

    Frame() {
        parent.resize(800, 600);
        left = new CSplitterCtrl(&parent, Qt::Vertical);
        bottom = new CSplitterCtrl(&parent, Qt::Horizontal);
        s = CSplitterCtrl::Thickness(&parent);
        left->setGeometry(250, 0, s, 600);
        bottom->setGeometry(250 + s, 600 - 150 - s, 800 - 250 - s, s);
        left->SetAllowedArea(parent.rect());
        bottom->SetAllowedArea(QRect(250 + s, 0, 800 - 250 - s, 600));
    }
    bool Show() {
        parent.show();
        return QTest::qWaitForWindowExposed(&parent);
    }
};

// Drags `bar` from `from` (its own coordinates) by the given steps.
void Drag(QWidget* bar, QPoint from, std::initializer_list<QPoint> moves) {
    QTest::mousePress(bar, Qt::LeftButton, {}, from);
    for (QPoint to : moves) QTest::mouseMove(bar, from + to);
    QPoint last = moves.size() ? from + *(moves.end() - 1) : from;
    QTest::mouseRelease(bar, Qt::LeftButton, {}, last);
}

QWidget* Outline(QWidget& parent) {
    return parent.findChild<QWidget*>(QStringLiteral("splitterOutline"));
}

Qt::CursorShape OverrideShape() {
    return QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape()
                                             : Qt::ArrowCursor;
}

}  // namespace

class SplitterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<QRect>(); }

    void DraggingReportsTheBarsNewRectangle() {
        Frame f;
        QVERIFY(f.Show());
        QCOMPARE(f.left->objectName(), QStringLiteral("leftSplitter"));
        QCOMPARE(f.bottom->objectName(), QStringLiteral("bottomSplitter"));
        QSignalSpy moved(f.left, &CSplitterCtrl::SPN_MOVED);
        Drag(f.left, QPoint(2, 100), {QPoint(20, 3), QPoint(50, 7)});
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved.at(0).at(0).toRect(), QRect(300, 0, f.s, 600));
        QVERIFY(Outline(f.parent) && !Outline(f.parent)->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
        // The bar itself moves only when the parent lays it out.
        QCOMPARE(f.left->x(), 250);

        QSignalSpy movedDown(f.bottom, &CSplitterCtrl::SPN_MOVED);
        Drag(f.bottom, QPoint(100, 2), {QPoint(0, -80)});
        QCOMPARE(movedDown.size(), 1);
        QCOMPARE(movedDown.at(0).at(0).toRect(),
                 QRect(250 + f.s, 600 - 150 - f.s - 80, 800 - 250 - f.s, f.s));
    }

    void AReleaseWherePressedReportsNothing() {
        Frame f;
        QVERIFY(f.Show());
        QSignalSpy moved(f.left, &CSplitterCtrl::SPN_MOVED);
        QSignalSpy toggled(f.left, &CSplitterCtrl::SPN_TOGGLE);
        Drag(f.left, QPoint(2, 100), {});
        Drag(f.left, QPoint(2, 100), {QPoint(40, 0), QPoint(0, 0)});  // there and back
        QCOMPARE(moved.size(), 0);
        QCOMPARE(toggled.size(), 0);
    }

    void TheOutlineStaysInsideTheAllowedArea() {
        Frame f;
        QVERIFY(f.Show());
        f.left->SetAllowedArea(QRect(0, 0, 700, 600));
        QSignalSpy moved(f.left, &CSplitterCtrl::SPN_MOVED);
        QTest::mousePress(f.left, Qt::LeftButton, {}, QPoint(2, 100));
        QTest::mouseMove(f.left, QPoint(2 + 900, 100));
        QWidget* outline = Outline(f.parent);
        QVERIFY(outline && outline->isVisible());
        QCOMPARE(outline->geometry(), QRect(700 - f.s, 0, f.s, 600));
        QTest::mouseMove(f.left, QPoint(2 - 400, 100));
        QCOMPARE(outline->geometry(), QRect(0, 0, f.s, 600));
        QTest::mouseRelease(f.left, Qt::LeftButton, {}, QPoint(2 - 400, 100));
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved.at(0).at(0).toRect().left(), 0);
    }

    void TheCursorWarnsWithinOneHundredPixelsOfTheEdge() {
        Frame f;
        QVERIFY(f.Show());
        QTest::mousePress(f.left, Qt::LeftButton, {}, QPoint(2, 100));
        QCOMPARE(OverrideShape(), Qt::SplitHCursor);
        QTest::mouseMove(f.left, QPoint(2 - 149, 100));  // left edge at 101
        QCOMPARE(OverrideShape(), Qt::SplitHCursor);
        QTest::mouseMove(f.left, QPoint(2 - 150, 100));  // at 100: the pane would go
        QCOMPARE(OverrideShape(), Qt::BitmapCursor);
        QTest::mouseMove(f.left, QPoint(2 - 100, 100));
        QCOMPARE(OverrideShape(), Qt::SplitHCursor);
        QTest::mouseRelease(f.left, Qt::LeftButton, {}, QPoint(2 - 100, 100));
        QVERIFY(!QGuiApplication::overrideCursor());

        // The bottom bar counts from the bottom of its area: its bottom edge is at 450 now.
        QTest::mousePress(f.bottom, Qt::LeftButton, {}, QPoint(100, 2));
        QTest::mouseMove(f.bottom, QPoint(100, 2 + 49));  // 101 above the bottom
        QCOMPARE(OverrideShape(), Qt::SplitVCursor);
        QTest::mouseMove(f.bottom, QPoint(100, 2 + 50));
        QCOMPARE(OverrideShape(), Qt::BitmapCursor);
        QTest::mouseRelease(f.bottom, Qt::LeftButton, {}, QPoint(100, 2 + 50));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void DoubleClickAndTheButtonToggle() {
        Frame f;
        QVERIFY(f.Show());
        QSignalSpy moved(f.left, &CSplitterCtrl::SPN_MOVED);
        QSignalSpy toggled(f.left, &CSplitterCtrl::SPN_TOGGLE);
        QTest::mouseDClick(f.left, Qt::LeftButton, {}, QPoint(2, 100));
        QCOMPARE(toggled.size(), 1);
        auto* button = f.left->findChild<CSplitterButton*>();
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(toggled.size(), 2);
        QCOMPARE(moved.size(), 0);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void TheButtonIsCentredAndShowsTheWayItMovesThePane() {
        Frame f;
        QVERIFY(f.Show());
        const int length = qRound(16 * f.parent.logicalDpiY() / 96.0);
        auto* leftButton = f.left->findChild<CSplitterButton*>();
        QCOMPARE(leftButton->geometry(), QRect(0, (600 - length) / 2, f.s, length));
        QCOMPARE(leftButton->accessibleName(), QStringLiteral("Левая панель"));
        QCOMPARE(leftButton->PictureName(), QStringLiteral(":/icons/splitter-left.svg"));
        f.left->SetPaneShown(false);
        QVERIFY(!f.left->IsPaneShown());
        QCOMPARE(leftButton->PictureName(), QStringLiteral(":/icons/splitter-right.svg"));
        QCOMPARE(f.left->cursor().shape(), Qt::BitmapCursor);
        f.left->SetPaneShown(true);
        QCOMPARE(f.left->cursor().shape(), Qt::SplitHCursor);

        auto* bottomButton = f.bottom->findChild<CSplitterButton*>();
        const int width = f.bottom->width();
        const QRect b = bottomButton->geometry();
        QVERIFY(qAbs(b.left() - (width - b.right() - 1)) <= 1);
        QCOMPARE(bottomButton->height(), f.s);
        QCOMPARE(bottomButton->PictureName(), QStringLiteral(":/icons/splitter-down.svg"));
        f.bottom->SetPaneShown(false);
        QCOMPARE(bottomButton->PictureName(), QStringLiteral(":/icons/splitter-up.svg"));
        // The picture really is there: the button is not a plain face.
        const QImage image = bottomButton->grab().toImage();
        QSet<QRgb> colours;
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, image.height() / 2));
        QVERIFY(colours.size() > 1);
    }

    void TheBarBesideTheToolbarIsShaded() {
        Frame f;
        QVERIFY(f.Show());
        f.left->SetToolbarHeight(30);
        const QImage image = f.left->grab().toImage();
        const QRgb dark = f.left->palette().color(QPalette::Dark).rgb();
        const QRgb face = f.left->palette().color(QPalette::Button).rgb();
        QVERIFY(dark != face);
        QCOMPARE(image.pixel(1, 10), dark);
        QCOMPARE(image.pixel(1, 29), dark);
        QCOMPARE(image.pixel(1, 30), face);
        QCOMPARE(image.pixel(1, 200), face);
        f.left->SetToolbarHeight(0);
        QCOMPARE(f.left->grab().toImage().pixel(1, 10), face);
    }
};

KESTROVA_SHELL_TEST_MAIN(SplitterTest)
#include "toolbar_splitter_test.moc"
