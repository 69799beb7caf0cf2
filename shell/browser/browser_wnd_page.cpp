// The browser host's page commands: text size, print, find on page, copy, select all, the
// page's context menu and the host's keys.
#include "shell/browser/browser_page.h"
#include "shell/browser/browser_wnd.h"
#include "shell/browser/find_bar.h"

#include <QAction>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineView>

#include <iterator>

namespace kestrova {
namespace {

const QString kAddFavorite = QStringLiteral("Добавить в избранное...");

// The zoom of each text size, 2 being the page's own size.
constexpr qreal kZoom[] = {0.7, 0.85, 1.0, 1.2, 1.4};
constexpr int kTextSizes = static_cast<int>(std::size(kZoom));

// The browser's own entries that have no use in the viewer: it keeps no downloads, shows no
// page sources or developer tools, and has no tabs.
constexpr QWebEnginePage::WebAction kDropped[] = {
    QWebEnginePage::ViewSource,          QWebEnginePage::SavePage,
    QWebEnginePage::DownloadLinkToDisk,  QWebEnginePage::DownloadImageToDisk,
    QWebEnginePage::DownloadMediaToDisk, QWebEnginePage::InspectElement,
    QWebEnginePage::OpenLinkInNewTab,    QWebEnginePage::OpenLinkInNewBackgroundTab,
};

// Drops separators at the ends of the menu and every second one of a pair.
void TidySeparators(QMenu& menu) {
    bool lastWasSeparator = true;
    for (QAction* action : menu.actions()) {
        if (!action->isVisible()) continue;
        if (action->isSeparator() && lastWasSeparator) {
            menu.removeAction(action);
            continue;
        }
        lastWasSeparator = action->isSeparator();
    }
    const QList<QAction*> actions = menu.actions();
    if (!actions.isEmpty() && actions.back()->isSeparator()) menu.removeAction(actions.back());
}

}  // namespace

void CBrowserWnd::CreatePageCommands() {
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { OnContextMenu(position); });
    connect(view_, &QWebEngineView::printRequested, this, [this] { Print(); });
    connect(view_, &QWebEngineView::printFinished, this, [this](bool ok) {
        // The view may still hold the printer while it reports; it goes afterwards.
        QTimer::singleShot(0, [printer = printer_.release()] { delete printer; });
        emit PrintFinished(ok);
    });
}

int CBrowserWnd::TextSize() const { return textSize_; }

void CBrowserWnd::SetTextSize(int size) {
    if (size < 0 || size >= kTextSizes) return;
    textSize_ = size;
    ApplyTextSize();
}

void CBrowserWnd::NextTextSize() { SetTextSize(textSize_ > 3 ? 0 : textSize_ + 1); }
void CBrowserWnd::TextLarger() { SetTextSize(std::min(textSize_ + 1, kTextSizes - 1)); }
void CBrowserWnd::TextSmaller() { SetTextSize(std::max(textSize_ - 1, 0)); }

// The browser may reset the zoom when a page opens in a renderer of its own, so the size is
// applied again after every load.
void CBrowserWnd::ApplyTextSize() {
    if (!qFuzzyCompare(page_->zoomFactor(), kZoom[textSize_])) {
        page_->setZoomFactor(kZoom[textSize_]);
    }
}

bool CBrowserWnd::IsPrintAvailable() const {
    const QUrl url = page_->url();
    return !url.isEmpty() && url.toString() != QLatin1String("about:blank");
}

bool CBrowserWnd::IsFindAvailable() const { return IsPrintAvailable(); }

void CBrowserWnd::Print(const std::function<int(QDialog*)>& runModal) {
    if (printer_ || !IsPrintAvailable()) return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), this);
    dialog.setObjectName(QStringLiteral("printDialog"));
    const int result = runModal ? runModal(&dialog) : dialog.exec();
    if (result != QDialog::Accepted) return;
    PrintTo(std::move(printer));
}

void CBrowserWnd::PrintTo(std::unique_ptr<QPrinter> printer) {
    if (printer_ || !printer) {
        emit PrintFinished(false);
        return;
    }
    printer_ = std::move(printer);
    view_->print(printer_.get());
}

void CBrowserWnd::ShowFindBar() {
    if (IsFindAvailable()) findBar_->Open();
}

void CBrowserWnd::Copy() { page_->triggerAction(QWebEnginePage::Copy); }
void CBrowserWnd::SelectAll() { page_->triggerAction(QWebEnginePage::SelectAll); }

QMenu* CBrowserWnd::CreateContextMenu() {
    QMenu* menu =
        view_->lastContextMenuRequest() ? view_->createStandardContextMenu() : new QMenu(view_);
    menu->setObjectName(QStringLiteral("pageMenu"));
    for (QWebEnginePage::WebAction dropped : kDropped) menu->removeAction(page_->action(dropped));
    menu->addSeparator();
    QAction* favorite = menu->addAction(kAddFavorite);
    favorite->setObjectName(QStringLiteral("addFavoriteAction"));
    connect(favorite, &QAction::triggered, this, [this] { emit BWN_ADDFAVORITE(1); });
    TidySeparators(*menu);
    return menu;
}

void CBrowserWnd::OnContextMenu(const QPoint& position) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(view_->mapToGlobal(position));
}

}  // namespace kestrova
