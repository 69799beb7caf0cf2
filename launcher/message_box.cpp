#include "launcher/message_box.h"

#include "launcher/launcher_texts.h"

namespace kestrova {

std::unique_ptr<QMessageBox> CreateLauncherBox(const QString& text, QMessageBox::Icon icon) {
    auto box = std::make_unique<QMessageBox>(icon, launcher_texts::kCaption, text, QMessageBox::Ok,
                                             nullptr);
    box->setObjectName(QStringLiteral("launcher_message"));
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return box;
}

void CLauncherMessageBox::Show(const QString& text, QMessageBox::Icon icon) {
    CreateLauncherBox(text, icon)->exec();
}

}  // namespace kestrova
