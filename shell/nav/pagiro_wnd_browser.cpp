// The navigator window's controller: navigation, the page file watch, the commands that act on
// the page shown, and the modal helpers.
#include "shell/nav/pagiro_wnd_impl.h"

#include "model/content.h"
#include "model/url_provider.h"
#include "shell/browser/browser_wnd.h"
#include "shell/browser/desktop_launch.h"
#include "shell/commands.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/tabs_pane.h"
#include "shell/texts.h"
#include "shell/toolbar/domain_combo_box.h"
#include "shell/toolbar/nav_toolbar.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace kestrova {
namespace {

constexpr qint64 kHighlightAtOnceBelow = 51200;  // bytes

const QString kNotInContents =
    QStringLiteral("Страница \"%1\" не найдена в содержании для категории \"%2\".");

// The local file of a URL (the '#' part dropped), or empty.
QString LocalFileOf(const QString& url) {
    QUrl u(url);
    if (!u.isLocalFile()) return QString();
    return u.toLocalFile();
}

QString CaptionFor(QMessageBox::Icon icon) {
    switch (icon) {
        case QMessageBox::Critical:
            return texts::kCaptionError;
        case QMessageBox::Question:
            return texts::kCaptionQuestion;
        case QMessageBox::Warning:
            return texts::kCaptionWarning;
        default:
            return texts::kCaptionInformation;
    }
}

}  // namespace

bool CPagiroWnd_impl_::Navigate(const NavigateRequest& request) {
    const bool accepted = browser_->Navigate(request.url);
    if (request.highlight) {
        HighlightRecord record;
        record.url = request.url;
        record.query = request.highlight->text;
        record.relatedWords = (request.highlight->options & kSearchRelatedWords) != 0;
        QFileInfo file(LocalFileOf(request.url));
        record.atOnce = file.isFile() && file.size() < kHighlightAtOnceBelow;
        browser_->SetHighlight(record);
    } else {
        browser_->ClearHighlight();
    }
    if (accepted && (request.flags & kNavigateSelectTopic) && request.topic && model_) {
        if (IContent* content = model_->GetContent()) {
            if (IContentNode* node = content->FindNodeByTopic(request.topic)) {
                tabs_->Contents()->SelectNode(node);
            }
        }
    }
    return accepted;
}

void CPagiroWnd_impl_::OpenFile(const QString& relative) {
    QString path = relative;
    path.replace(u'\\', u'/');
    NavigateRequest request;
    request.url = QUrl::fromLocalFile(QDir(folder_).filePath(path)).toString();
    Navigate(request);
}

void CPagiroWnd_impl_::OnCommandState(int command, bool enable) {
    if (!created_) return;
    if (command == kBrowserCommandForward) {
        toolBar_->EnableButton(ID_GO_FORWARD, enable);
    } else if (command == kBrowserCommandBack) {
        toolBar_->EnableButton(ID_GO_BACK, enable);
    } else {
        const bool isFile = QUrl(browser_->CurrentURL()).isLocalFile();
        toolBar_->EnableButton(ID_FIND_IN_CONTENTS, isFile);
        toolBar_->EnableButton(ID_ADD_FAVORITE, isFile);
        toolBar_->EnableButton(ID_FIND_ON_PAGE, browser_->IsFindAvailable());
        toolBar_->EnableButton(ID_PRINT_PAGE, browser_->IsPrintAvailable());
    }
}

void CPagiroWnd_impl_::OnDocumentComplete(const QString& url) {
    watchTimer_.stop();
    watchedFile_.clear();
    const QString file = LocalFileOf(url);
    QFileInfo info(file);
    if (file.isEmpty() || !info.isFile()) return;
    watchedFile_ = info.absoluteFilePath();
    watchedTime_ = info.lastModified();
    watchTimer_.start();
}

void CPagiroWnd_impl_::OnWatchTick() {
    QFileInfo info(watchedFile_);
    if (!info.isFile()) {
        watchTimer_.stop();
        watchedFile_.clear();
        return;
    }
    const QDateTime time = info.lastModified();
    if (time != watchedTime_) {
        watchedTime_ = time;
        browser_->Reload();
    }
}

void CPagiroWnd_impl_::FindInContents() {
    if (!model_) return;
    IURLProvider* urls = model_->GetURLProvider();
    IContent* content = model_->GetContent();
    if (!urls || !content) return;
    const std::optional<QString> page = ChooseDocumentUrl();
    if (!page) return;
    const std::u16string url = page->toStdU16String();
    const char16_t* relative = urls->GetRelativePath(url.c_str());
    if (!relative) return;
    IContentNode* node = content->FindNodeByPage(relative);
    if (!node) return;
    const bool found = tabs_->Contents()->SelectNode(node);
    ShowTab(kTabContents);
    if (!found) {
        const char16_t* text = node->GetText();
        MessageBox(kNotInContents.arg(text ? QString::fromUtf16(text) : QString(),
                                      toolBar_->DomainBox()->currentText()),
                   QMessageBox::Information, QMessageBox::Ok);
    }
}

void CPagiroWnd_impl_::EditPage() {
    const QString file = LocalFileOf(browser_->CurrentURL());
    if (!file.isEmpty()) EditFile(file);
}

int CPagiroWnd_impl_::MessageBox(const QString& text, QMessageBox::Icon icon,
                                 QMessageBox::StandardButtons buttons, const QString& caption) {
    QString title = caption.isEmpty() ? CaptionFor(icon) : caption;
    if (title.isEmpty()) title = texts::kCaptionInformation;
    QMessageBox box(icon, title, text, buttons, &wnd_);
    box.setObjectName(QStringLiteral("navMessageBox"));
    return DoModal(&box);
}

int CPagiroWnd_impl_::DoModal(QDialog* dialog) {
    if (!dialog) return 0;
    modal_ = true;
    const int result = dialog->exec();
    modal_ = false;
    return result;
}

}  // namespace kestrova
