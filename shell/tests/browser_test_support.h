// Support for the browser host's tests: a stand-in of the frame that opens real browser hosts
// in plain widgets answering NAVM_GETBROWSER, and waits for pages and their scripts.
#pragma once

#include "shell/app/pagiro_frame.h"
#include "shell/browser/browser_wnd.h"
#include "shell/browser/web_profile.h"
#include "shell/nav/nav_messages.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>
#include <QVariant>
#include <QWebEnginePage>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace kestrova::test {

// A window holding one browser host that answers NAVM_GETBROWSER as a navigator window does.
class BrowserWindow : public QWidget {
public:
    BrowserWindow(QWebEngineProfile& profile, const QString& pageFolder)
        : browser(new CBrowserWnd(this, profile, pageFolder)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
        resize(640, 480);
        show();
    }

    CBrowserWnd* const browser;

protected:
    bool event(QEvent* event) override {
        if (event->type() == NavEventType(NAVM_GETBROWSER)) {
            auto* message = static_cast<NavGetBrowser*>(event);
            message->browser = browser;
            message->result = 1;
            return true;
        }
        return QWidget::event(event);
    }
};

// The frame of the tests: remembers the titles it is given and opens each new window as a
// BrowserWindow on the same page folder.
class TestFrame : public IPagiroFrame {
public:
    TestFrame(QWebEngineProfile& profile, QString pageFolder)
        : profile_(profile), folder_(std::move(pageFolder)) {}

    void SetTitle(const QString& text) override { titles.append(text); }
    CPagiroWnd* OpenNewWindow() override {
        windows.push_back(std::make_unique<BrowserWindow>(profile_, folder_));
        windows.back()->browser->SetOffline(offline);
        // The browser sees the window only as the receiver of NAVM_GETBROWSER, a QWidget.
        return reinterpret_cast<CPagiroWnd*>(static_cast<QWidget*>(windows.back().get()));
    }

    bool offline = false;  // the offline mode of the windows it opens
    QStringList titles;
    std::vector<std::unique_ptr<BrowserWindow>> windows;

private:
    QWebEngineProfile& profile_;
    QString folder_;
};

// Navigates and waits for the document to complete; true when it did.
inline bool NavigateAndWait(CBrowserWnd& browser, const QString& url) {
    QSignalSpy complete(&browser, &CBrowserWnd::BWN_DOCUMENTCOMPLETE);
    browser.Navigate(url);
    return complete.wait(20000);
}

// A window whose host has a frame of its own and shows `page` of `folder` (waited for).
struct FramedWindow {
    FramedWindow(QWebEngineProfile& profile, const QString& folder, const QString& page)
        : frame(profile, folder), window(profile, folder) {
        window.browser->SetFrame(&frame);
        loaded =
            NavigateAndWait(*window.browser, QUrl::fromLocalFile(folder + '/' + page).toString());
    }
    CBrowserWnd& Browser() const { return *window.browser; }

    TestFrame frame;
    BrowserWindow window;
    bool loaded = false;
};

// The profile of a test program, with Chromium started; delete it after the last host.
inline QWebEngineProfile* StartTestProfile() {
    QWebEngineProfile* profile = CreateWebProfile(nullptr);
    StartBrowserEarly(*profile);
    return profile;
}

// The value of a script run in the page's top document (invalid when it gave none in time).
inline QVariant RunScript(QWebEnginePage* page, const QString& script) {
    auto result = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(script, [result](const QVariant& v) { *result = v; });
    QElapsedTimer timer;
    timer.start();
    while (!result->has_value() && timer.elapsed() < 20000) QTest::qWait(10);
    return result->value_or(QVariant());
}

// Waits until a script gives `expected` (compared as strings) and returns the last value.
inline QString WaitForScript(QWebEnginePage* page, const QString& script, const QString& expected,
                             int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    QString value;
    do {
        value = RunScript(page, script).toString();
        if (value == expected) break;
        QTest::qWait(20);
    } while (timer.elapsed() < timeoutMs);
    return value;
}

}  // namespace kestrova::test
