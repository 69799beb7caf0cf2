#include "shell/dialogs/model_info_dlg.h"

#include "model/model.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrova {
namespace {

const QString kCaption = QStringLiteral("Информация о базе данных");
const QString kHtmlGroup = QStringLiteral("Папка исходных HTML файлов");
const QString kPages = QStringLiteral("Количество страниц:");
const QString kDatabaseGroup = QStringLiteral("База данных");
const QString kDataFolder = QStringLiteral("Папка файлов базы данных");
const QString kDomains = QStringLiteral("Количество категорий:");
const QString kChapters = QStringLiteral("Количество разделов в содержании:");
const QString kKeywords = QStringLiteral("Количество слов в указателе:");
const QString kOk = QStringLiteral("ОК");

constexpr int kWidth = 420;  // the dialog's width at 96 dpi

QString Text(const char16_t* text) { return text ? QString::fromUtf16(text) : QString(); }

QLineEdit* Field(QWidget* parent, const char* name, const QString& text,
                 const QString& accessibleName) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setAccessibleName(accessibleName);
    field->setCursorPosition(0);
    return field;
}

}  // namespace

CModelInfoDlg::CModelInfoDlg(QWidget* parent, const ModelInfo& info) : QDialog(parent) {
    setObjectName(QStringLiteral("modelInfoDialog"));
    setWindowTitle(kCaption);
    setModal(true);

    auto* html = new QGroupBox(kHtmlGroup, this);
    auto* htmlLayout = new QFormLayout(html);
    htmlLayout->addRow(Field(html, "infoHtmlFolder", Text(info.htmlFolder), kHtmlGroup));
    htmlLayout->addRow(kPages, Field(html, "infoPages", QString::number(info.pages), kPages));

    auto* database = new QGroupBox(kDatabaseGroup, this);
    auto* dbLayout = new QFormLayout(database);
    // The folder gets the whole width, below its label, as the page folder does above.
    dbLayout->addRow(new QLabel(kDataFolder, database));
    dbLayout->addRow(Field(database, "infoDataFolder", Text(info.dataFolder), kDataFolder));
    dbLayout->addRow(kDomains,
                     Field(database, "infoDomains", QString::number(info.domains), kDomains));
    dbLayout->addRow(kChapters,
                     Field(database, "infoChapters", QString::number(info.chapters), kChapters));
    dbLayout->addRow(kKeywords,
                     Field(database, "infoKeywords", QString::number(info.keywords), kKeywords));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(kOk);
    ok->setObjectName(QStringLiteral("infoOk"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(html);
    layout->addWidget(database);
    layout->addWidget(buttons);
    setMinimumWidth(qRound(kWidth * logicalDpiX() / 96.0));
}

}  // namespace kestrova

#include "moc_model_info_dlg.cpp"
