// The navigator window's controller: the commands on the page shown (find, print, text size,
// offline mode, highlighting) and the choice of a frame.
#include "shell/browser/browser_wnd.h"
#include "shell/commands.h"
#include "shell/dialogs/select_frame_dlg.h"
#include "shell/dialogs/wait_dlg.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"

namespace kestrova {
namespace {

const QString kHighlighting = QStringLiteral("Выполняется подсветка результатов поиска...");

}  // namespace

void CPagiroWnd_impl_::OnPageCommand(int id) {
    switch (id) {
        case ID_FIND_ON_PAGE:
            browser_->ShowFindBar();
            break;
        case ID_PRINT_PAGE:
            browser_->Print([this](QDialog* dialog) { return DoModal(dialog); });
            break;
        case ID_FONT_SIZE:
            browser_->NextTextSize();
            break;
        case ID_ZOOM_IN:
            browser_->TextLarger();
            break;
        case ID_ZOOM_OUT:
            browser_->TextSmaller();
            break;
        case ID_ZOOM_0:
        case ID_ZOOM_1:
        case ID_ZOOM_2:
        case ID_ZOOM_3:
        case ID_ZOOM_4:
            browser_->SetTextSize(id - ID_ZOOM_0);
            break;
        case ID_OFFLINE_MODE:
            browser_->SetOffline(!browser_->IsOffline());
            break;
        case ID_HIGHLIGHT:
            ToggleHighlight();
            break;
        default:
            break;
    }
}

void CPagiroWnd_impl_::ToggleHighlight() {
    if (!browser_->IsHighlightFor(browser_->CurrentURL())) return;
    if (browser_->IsHighlightShown()) {
        browser_->RemoveHighlighting();
        return;
    }
    // The dialog blocks the frame while it is shown; it closes when the marks are placed or
    // the user cancelled (which removes them).
    auto wait = std::make_shared<wait_dlg_>(wnd_.window(), kHighlighting);
    browser_->HighlightNow(wait, [wait](bool) {
        if (CWaitDlg* dialog = wait->Dialog()) dialog->hide();
    });
}

std::optional<QString> CPagiroWnd_impl_::ChooseDocumentUrl() {
    const std::vector<FrameEntry> frames = browser_->Frames();
    if (frames.empty()) return browser_->CurrentURL();
    CSelectFrameDlg dialog(&wnd_, frames, browser_->CurrentURL());
    if (DoModal(&dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.SelectedUrl();
}

}  // namespace kestrova
