#include "shell/dialogs/about_dlg.h"

#include "shell/texts.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrova {
namespace {

const QString kCaption = QStringLiteral("Информация о версии");
const QString kVersion = QStringLiteral("Версия 1.1");
// The pages are shown by Qt WebEngine; the label names it.
const QString kBrowserLabel = QStringLiteral("Используется Qt WebEngine версии:");
const QString kOk = QStringLiteral("ОК");

constexpr int kIconSide = 48;  // at 96 dpi

QLabel* Label(QWidget* parent, const QString& text, const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

QString CAboutDlg::BrowserVersion() {
    return QStringLiteral("%1 (Chromium %2)")
        .arg(QString::fromLatin1(qWebEngineVersion()),
             QString::fromLatin1(qWebEngineChromiumVersion()));
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(kCaption);
    setModal(true);

    const int side = qRound(kIconSide * logicalDpiX() / 96.0);
    QLabel* icon = Label(this, QString(), "aboutIcon");
    icon->setPixmap(QIcon(QStringLiteral(":/icons/kestrova.svg"))
                        .pixmap(QSize(side, side), devicePixelRatioF()));
    icon->setFixedSize(side, side);
    icon->setAccessibleName(texts::kAppTitle);

    QLabel* title = Label(this, texts::kAppTitle, "aboutTitle");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    QLabel* version = Label(this, kVersion, "aboutVersion");

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    QLabel* browserLabel = Label(this, kBrowserLabel, "aboutBrowserLabel");
    QLabel* browserVersion = Label(this, BrowserVersion(), "aboutBrowserVersion");
    browserVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    browserVersion->setAccessibleName(kBrowserLabel);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(kOk);
    ok->setObjectName(QStringLiteral("aboutOk"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* head = new QGridLayout;
    head->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    head->addWidget(title, 0, 1);
    head->addWidget(version, 1, 1);
    head->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(line);
    layout->addWidget(browserLabel);
    layout->addWidget(browserVersion);
    layout->addWidget(buttons);
}

}  // namespace kestrova

#include "moc_about_dlg.cpp"
