// The launcher's message boxes: a text with the caption "Вельтра" and an icon, above all
// windows, with no owner. The launcher talks to IMessageBox so that tests can see what it says.
#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>

namespace kestrova {

class IMessageBox {
public:
    IMessageBox() = default;
    IMessageBox(const IMessageBox&) = delete;
    IMessageBox& operator=(const IMessageBox&) = delete;
    virtual ~IMessageBox() = default;

    // Shows `text` with `icon` and returns when the user has closed the box. UI thread only.
    virtual void Show(const QString& text, QMessageBox::Icon icon) = 0;
};

// The box as the launcher shows it: caption "Вельтра", an OK button, application-modal and
// always on top (the nearest Qt has to a system-modal box), no parent. The caller owns it.
std::unique_ptr<QMessageBox> CreateLauncherBox(const QString& text, QMessageBox::Icon icon);

// Shows boxes made by CreateLauncherBox. Needs a QApplication.
class CLauncherMessageBox final : public IMessageBox {
public:
    void Show(const QString& text, QMessageBox::Icon icon) override;
};

}  // namespace kestrova
