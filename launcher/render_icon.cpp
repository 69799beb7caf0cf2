// render_icon SVG DIR NAME SIZE...: draws the picture SVG as square PNG files
// DIR/SIZExSIZE/apps/NAME.png, one per size, the way an icon theme lays them out. Used by the
// build for the programs' icons. Exit status 1 with one line on standard error on failure.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "render_icon: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing into an image needs no application object and no screen.
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    if (args.size() < 5) return Fail("usage: render_icon SVG DIR NAME SIZE...");
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) return Fail(args[1] + ": not a readable SVG picture");
    for (const QString& sizeText : args.mid(4)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size < 1 || size > 4096) return Fail(sizeText + ": not an icon size");
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        if (!QDir().mkpath(folder)) return Fail(folder + ": cannot create the folder");
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        const QString path = QStringLiteral("%1/%2.png").arg(folder, args[3]);
        if (!image.save(path, "PNG")) return Fail(path + ": cannot write the picture");
    }
    return 0;
}
