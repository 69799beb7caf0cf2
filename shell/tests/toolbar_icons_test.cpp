// The pictures other windows ask for by name are all there and render.
#include "shell/tests/shell_test_support.h"

#include <QImage>
#include <QObject>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

class IconsTest : public QObject {
    Q_OBJECT
private slots:
    void EveryNamedIconRendersOnItsSixteenPixelGrid() {
        const char* const names[] = {"go-back",
                                     "go-forward",
                                     "contents",
                                     "keyword-index",
                                     "find-on-page",
                                     "find-in-contents",
                                     "add-favorite",
                                     "text-size",
                                     "search",
                                     "print",
                                     "menu",
                                     "favorites",
                                     "page",
                                     "heading-closed",
                                     "heading-open",
                                     "heading-page-closed",
                                     "heading-page-open",
                                     "folder-closed",
                                     "folder-open",
                                     "bookmark",
                                     "bookmark-missing",
                                     "move-up",
                                     "move-down",
                                     "new-folder",
                                     "edit",
                                     "delete",
                                     "splitter-left",
                                     "splitter-right",
                                     "splitter-up",
                                     "splitter-down",
                                     "kestrova",
                                     "veltra"};
        for (const char* name : names) {
            const QString path = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
            QSvgRenderer renderer(path);
            QVERIFY2(renderer.isValid(), qPrintable(path));
            QCOMPARE(renderer.viewBox(), QRect(0, 0, 16, 16));
            QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            int opaque = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) opaque += qAlpha(image.pixel(x, y)) > 128;
            }
            QVERIFY2(opaque >= 8, qPrintable(path));
        }
    }
};

KESTROVA_SHELL_TEST_MAIN(IconsTest)
#include "toolbar_icons_test.moc"
