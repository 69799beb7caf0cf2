#include "shell/nav/pagiro_wnd.h"

#include "shell/app/nav_window_params.h"
#include "shell/nav/nav_messages.h"
#include "shell/nav/pagiro_wnd_impl.h"

#include <QResizeEvent>

#include <cstdio>
#include <exception>

namespace kestrova {
namespace {

// Runs `work` and drops whatever it throws: a failing handler leaves the window as it was.
template <typename Work>
void Guarded(const char* what, Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrova: %s: %s\n", what, e.what());
    } catch (...) {
        std::fprintf(stderr, "kestrova: %s: unknown failure\n", what);
    }
}

}  // namespace

CPagiroWnd::CPagiroWnd(QWidget* frame, ShellContext& context)
    : QWidget(frame), impl_(std::make_unique<CPagiroWnd_impl_>(*this, context)) {
    setObjectName(QStringLiteral("navigator"));
    setFocusPolicy(Qt::StrongFocus);
}

CPagiroWnd* CPagiroWnd::Create(QWidget* frame, ShellContext& context, const NavWindowParams& params,
                               CPagiroWnd* source, QString* error) {
    auto* wnd = new CPagiroWnd(frame, context);
    bool ok = false;
    Guarded("creating the navigator window", [&] {
        if (source) {
            wnd->impl_->InitAsCopy(source->Impl(), params.frame);
            ok = true;
        } else {
            ok = wnd->impl_->InitFromParams(params, error);
        }
        ok = ok && wnd->impl_->Create();
    });
    if (!ok) {
        delete wnd;
        return nullptr;
    }
    return wnd;
}

CPagiroWnd::~CPagiroWnd() {
    // The children still exist here: the controller saves what they hold.
    Guarded("closing the navigator window", [&] { impl_->Destroy(); });
}

void CPagiroWnd::ExecuteCommand(int id) {
    Guarded("command", [&] { impl_->OnCommand(id); });
}

bool CPagiroWnd::event(QEvent* event) {
    const int type = event->type();
    if (type >= NavEventType(NAVM_KEYWORDTOPICS) && type <= NavEventType(NAVM_MESSAGEBOX)) {
        auto* message = static_cast<NavMessage*>(event);
        bool handled = false;
        Guarded("message", [&] { handled = impl_->HandleMessage(*message); });
        return handled || QWidget::event(event);
    }
    return QWidget::event(event);
}

void CPagiroWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded("layout", [&] { impl_->Layout(); });
}

void CPagiroWnd::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    const QEvent::Type type = event->type();
    if (type == QEvent::StyleChange || type == QEvent::ThemeChange || type == QEvent::FontChange) {
        Guarded("layout", [&] { impl_->Layout(); });
    }
}

void CPagiroWnd::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    Guarded("focus", [&] { impl_->FocusMain(); });
}

}  // namespace kestrova
