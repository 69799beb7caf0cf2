#include "shell/app/main_frame.h"

#include "platform/settings_store.h"
#include "shell/app/nav_app.h"
#include "shell/app/nav_window_params.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/texts.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrova {
namespace {

// The default size of a frame with nothing stored: most of the work area, and at least wide
// enough for the whole toolbar beside the left pane where the screen allows it.
QSize DefaultFrameSize(const std::optional<QRect>& workArea) {
    const QSize wanted(1360, 860);
    if (!workArea) return wanted;
    return QSize(
        std::min(workArea->width(), std::max(workArea->width() * 4 / 5, wanted.width())),
        std::min(workArea->height(), std::max(workArea->height() * 4 / 5, wanted.height())));
}

std::optional<QRect> PrimaryWorkArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return screen->availableGeometry();
}

// The folder of the command line made absolute against the current directory.
QString AbsoluteFolder(const QString& folder) {
    if (folder.isEmpty() || QDir::isAbsolutePath(folder)) return folder;
    return QDir::current().filePath(folder);
}

}  // namespace

CPagiroFrame::CPagiroFrame() : QWidget(nullptr, Qt::Window) {}

void CPagiroFrame::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (navWnd_) navWnd_->setFocus();
}

CMainFrame::CMainFrame(CNavApp& app) : app_(app) {
    setObjectName(QStringLiteral("mainFrame"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(texts::kAppTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/kestrova.svg")));
}

CMainFrame* CMainFrame::Create(CNavApp& app, const NavWindowParams& given, CMainFrame* source,
                               QString* error) {
    FramePlacement placement;
    if (source) {
        placement = source->CurrentPlacement();
        placement.left = placement.top = kPlacementUnset;
    } else {
        placement = ReadFramePlacement(platform::SettingsStore());
    }

    auto* frame = new CMainFrame(app);
    NavWindowParams params = given;
    params.folder = AbsoluteFolder(given.folder);
    params.profile.clear();
    params.frame = frame;
    frame->navWnd_ = CPagiroWnd::Create(frame, app.Context(), params,
                                        source ? source->NavWindow() : nullptr, error);
    if (!frame->navWnd_) {
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        delete frame;
        return nullptr;
    }
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame->navWnd_);

    std::optional<QRect> workArea = PrimaryWorkArea();
    FrameGeometry geometry = CreationGeometry(placement, workArea);
    if (geometry.rect) {
        frame->setGeometry(*geometry.rect);
    } else {
        frame->resize(geometry.size.value_or(DefaultFrameSize(workArea)));
    }
    if (placement.maximized) {
        frame->showMaximized();
    } else {
        frame->show();
    }
    return frame;
}

CMainFrame::~CMainFrame() {
    // The navigator window goes first, while the frame it reports to still exists.
    delete navWnd_;
    navWnd_ = nullptr;
    app_.OnFrameDestroyed(this);
}

void CMainFrame::SetTitle(const QString& text) {
    setWindowTitle(text.isEmpty() ? texts::kAppTitle
                                  : text + QStringLiteral(" - ") + texts::kAppTitle);
}

CPagiroWnd* CMainFrame::OpenNewWindow() {
    CMainFrame* frame = app_.CreateMainFrame(this);
    return frame ? frame->NavWindow() : nullptr;
}

FramePlacement CMainFrame::CurrentPlacement() const {
    FramePlacement p;
    p.maximized = isMaximized();
    QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    QPoint origin = PrimaryWorkArea().value_or(QRect()).topLeft();
    p.left = normal.left() - origin.x();
    p.top = normal.top() - origin.y();
    p.width = normal.width();
    p.height = normal.height();
    return p;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    WriteFramePlacement(platform::SettingsStore(), CurrentPlacement());
    QWidget::closeEvent(event);
}

}  // namespace kestrova
