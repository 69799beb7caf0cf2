// The private messages of the navigator window. Each is a QEvent whose type is QEvent::User
// plus the message number. Messages with a result are sent (SendNavMessage, a direct call on
// the user-interface thread); NAVM_MODELREADY, NAVM_SEARCHDONE and NAVM_COPYSTATE are posted.
// A message that the window cannot handle leaves its result at 0.
#pragma once

#include "shell/shell_types.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QString>

class QDialog;

namespace kestrova {

class CBrowserWnd;

inline constexpr int kWmUser = 1024;

enum NavMessageId : int {
    NAVM_KEYWORDTOPICS = kWmUser + 100,
    NAVM_NAVIGATE = kWmUser + 101,
    NAVM_GETBROWSER = kWmUser + 102,
    NAVM_MODELREADY = kWmUser + 103,
    NAVM_SEARCHDONE = kWmUser + 104,
    NAVM_COPYSTATE = kWmUser + 105,
    NAVM_OPENFILE = kWmUser + 106,
    NAVM_DOMODAL = kWmUser + 107,
    NAVM_MESSAGEBOX = kWmUser + 108,
};

// The event type of a message.
constexpr QEvent::Type NavEventType(NavMessageId id) {
    return static_cast<QEvent::Type>(static_cast<int>(QEvent::User) + static_cast<int>(id));
}

// The base of every message: its number and the result the handler leaves.
class NavMessage : public QEvent {
public:
    explicit NavMessage(NavMessageId id) : QEvent(NavEventType(id)), id_(id) {}
    NavMessageId Id() const { return id_; }
    qintptr result = 0;

private:
    NavMessageId id_;
};

// Shows the topics of an index keyword; result 1.
struct NavKeywordTopics : NavMessage {
    explicit NavKeywordTopics(QString text)
        : NavMessage(NAVM_KEYWORDTOPICS), keyword(std::move(text)) {}
    QString keyword;
};

// Navigates the browser; result 1. The request is used only during the call.
struct NavNavigate : NavMessage {
    explicit NavNavigate(const NavigateRequest& r) : NavMessage(NAVM_NAVIGATE), request(r) {}
    const NavigateRequest& request;
};

// Asks for the browser host of the window; the answer is left in `browser`.
struct NavGetBrowser : NavMessage {
    NavGetBrowser() : NavMessage(NAVM_GETBROWSER) {}
    CBrowserWnd* browser = nullptr;
};

// Opens a file given relative to the page folder; result 1.
struct NavOpenFile : NavMessage {
    explicit NavOpenFile(QString f) : NavMessage(NAVM_OPENFILE), file(std::move(f)) {}
    QString file;
};

// Runs a dialog modally (the window knows a modal dialog is open); result: the dialog's.
struct NavDoModal : NavMessage {
    explicit NavDoModal(QDialog* d) : NavMessage(NAVM_DOMODAL), dialog(d) {}
    QDialog* dialog;
};

// Shows a message box; the caption follows the icon when none is given (see MessageCaption);
// result: the button pressed (a QMessageBox::StandardButton).
struct NavMessageBox : NavMessage {
    NavMessageBox(QString t, QMessageBox::Icon i, QMessageBox::StandardButtons b = QMessageBox::Ok)
        : NavMessage(NAVM_MESSAGEBOX), text(std::move(t)), icon(i), buttons(b) {}
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QString caption;  // empty: chosen by the icon
};

// The posted messages carry nothing.
struct NavPosted : NavMessage {
    explicit NavPosted(NavMessageId id) : NavMessage(id) {}
};

// Sends a message to the navigator window and returns its result (0 when no window).
inline qintptr SendNavMessage(QObject* navWnd, NavMessage& message) {
    if (!navWnd) return 0;
    QCoreApplication::sendEvent(navWnd, &message);
    return message.result;
}

// Posts NAVM_MODELREADY, NAVM_SEARCHDONE or NAVM_COPYSTATE; any thread may call it.
inline void PostNavMessage(QObject* navWnd, NavMessageId id) {
    QCoreApplication::postEvent(navWnd, new NavPosted(id));
}

}  // namespace kestrova
