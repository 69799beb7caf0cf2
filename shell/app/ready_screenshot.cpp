#include "shell/app/ready_screenshot.h"

#include "shell/app/main_frame.h"
#include "shell/app/nav_app.h"
#include "shell/browser/browser_wnd.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace kestrova {
namespace {

bool IsReady(CNavApp& app) {
    if (app.Frames().empty()) return false;
    CPagiroWnd_impl_& nav = app.Frames().front()->NavWindow()->Impl();
    return nav.ShownModel() && !nav.Browser()->CurrentTitle().isEmpty();
}

// The frame as the screen shows it (the browser's page is drawn by Chromium, which a widget's
// own rendering does not include).
QPixmap Picture(QWidget& frame) {
    if (QScreen* screen = frame.screen()) {
        QPixmap shot = screen->grabWindow(frame.winId());
        if (!shot.isNull()) return shot;
    }
    return frame.grab();
}

}  // namespace

void ScreenshotWhenReady(CNavApp& app, const QString& path, int timeoutMs) {
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [&app, path, timeoutMs, timer, clock] {
        if (clock->elapsed() > timeoutMs) {
            std::fprintf(stderr, "kestrova: the window was not ready after %d ms\n", timeoutMs);
            timer->stop();
            QApplication::exit(1);
            return;
        }
        if (!IsReady(app)) return;
        timer->stop();
        // One more moment for the page to be painted after it reported its title.
        QTimer::singleShot(500, qApp, [&app, path] {
            if (app.Frames().empty() || !Picture(*app.Frames().front()).save(path, "PNG")) {
                std::fprintf(stderr, "kestrova: cannot save the screenshot %s\n", qPrintable(path));
                QApplication::exit(1);
                return;
            }
            std::printf("screenshot: %s\n", qPrintable(path));
            std::fflush(stdout);
            QApplication::exit(0);
        });
    });
    timer->start(100);
}

}  // namespace kestrova
