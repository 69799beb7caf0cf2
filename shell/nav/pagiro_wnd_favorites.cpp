// The navigator window's controller: the favorites pane and adding the page shown to it.
#include "shell/nav/pagiro_wnd_impl.h"

#include "model/url_provider.h"
#include "platform/url.h"
#include "shell/browser/browser_wnd.h"
#include "shell/favorites/favorites_pane.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/panes/pane_guard.h"
#include "shell/panes/tabs_pane.h"

#include <QLayout>

namespace kestrova {
namespace {

// The path of a page relative to the page folder (parts joined with '\'), as the model's
// URL provider gives it; empty for anything that is not a local file.
QString RelativePage(IModel* model, const QString& folder, const QString& url) {
    const std::u16string text = url.toStdU16String();
    if (model) {
        if (IURLProvider* urls = model->GetURLProvider()) {
            const char16_t* relative = urls->GetRelativePath(text.c_str());
            return relative ? QString::fromUtf16(relative) : QString();
        }
    }
    // No model yet: the same rule straight from the folder.
    std::optional<std::u16string> path = platform::PathFromFileUrl(text);
    if (!path) return QString();
    std::optional<std::u16string> relative =
        platform::RelativePathTo(folder.toStdU16String(), *path);
    if (!relative) return QString();
    if (relative->starts_with(u".\\")) relative->erase(0, 2);
    return QString::fromStdU16String(*relative);
}

}  // namespace

void CPagiroWnd_impl_::OpenFavorites() {
    QWidget* page = tabs_->Favorites();
    favorites_ = new CFavoritesPane(page);
    page->layout()->addWidget(favorites_);
    page->setFocusProxy(favorites_);
    favorites_->SetNavWindow(&wnd_);
    QObject::connect(browser_, &CBrowserWnd::BWN_ADDFAVORITE, &wnd_, [this](int flag) {
        if (created_) RunGuarded("add to favorites", [&] { AddToFavorites(flag); });
    });
    favorites_->Open(folder_);
}

void CPagiroWnd_impl_::CloseFavorites() {
    if (favorites_) favorites_->Close();
}

void CPagiroWnd_impl_::AddToFavorites(int flag) {
    if (!favorites_) return;
    // A page of frames asks which of its documents to keep.
    const std::optional<QString> url = ChooseDocumentUrl();
    if (!url) return;
    const QString relative = RelativePage(model_.get(), folder_, *url);
    if (relative.isEmpty()) return;
    if (favorites_->AddBookmark(flag, relative, browser_->CurrentTitle())) ShowTab(kTabFavorites);
}

void CPagiroWnd_impl_::FavoritesCommand(int id) {
    if (favorites_) favorites_->OnCommand(id);
}

}  // namespace kestrova
