#include "shell/browser/find_bar.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>

namespace kestrova {
namespace {

const QString kPlaceholder = QStringLiteral("Найти на странице");
const QString kPrevious = QStringLiteral("Предыдущее совпадение");
const QString kNext = QStringLiteral("Следующее совпадение");
const QString kClose = QStringLiteral("Закрыть");
const QString kCount = QStringLiteral("%1 из %2");
const QString kNotFound = QStringLiteral("Не найдено");

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& tip,
                        QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAutoRaise(true);
    return button;
}

}  // namespace

CFindBar::CFindBar(QWebEnginePage& page, QWidget* parent) : QWidget(parent), page_(page) {
    setObjectName(QStringLiteral("findBar"));
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("findText"));
    field_->setPlaceholderText(kPlaceholder);
    field_->setAccessibleName(kPlaceholder);
    field_->setClearButtonEnabled(true);
    auto* previous = MakeButton(this, "findPrevious", kPrevious, QStyle::SP_ArrowUp);
    auto* next = MakeButton(this, "findNext", kNext, QStyle::SP_ArrowDown);
    auto* close = MakeButton(this, "findClose", kClose, QStyle::SP_DialogCloseButton);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("findCount"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(field_, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(count_);
    layout->addStretch(1);
    layout->addWidget(close);

    connect(previous, &QToolButton::clicked, this, [this] { Find(true); });
    connect(next, &QToolButton::clicked, this, [this] { Find(false); });
    connect(close, &QToolButton::clicked, this, &CFindBar::Close);
    connect(field_, &QLineEdit::textEdited, this, [this] { Find(false); });
    connect(&page_, &QWebEnginePage::findTextFinished, this, &CFindBar::OnFound);
    hide();
}

void CFindBar::Open() {
    show();
    field_->setFocus();
    field_->selectAll();
    if (!field_->text().isEmpty()) Find(false);
}

void CFindBar::Close() {
    hide();
    count_->clear();
    page_.findText(QString());
    if (parentWidget()) parentWidget()->setFocus();
}

void CFindBar::Find(bool backward) {
    const QString text = field_->text();
    if (text.isEmpty()) {
        count_->clear();
        page_.findText(QString());
        return;
    }
    page_.findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

QString CFindBar::CountText() const { return count_->text(); }

void CFindBar::OnFound(const QWebEngineFindTextResult& result) {
    if (field_->text().isEmpty()) return;
    const int matches = result.numberOfMatches();
    count_->setText(matches > 0 ? kCount.arg(result.activeMatch()).arg(matches) : kNotFound);
    emit found(matches, result.activeMatch());
}

void CFindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Find(event->modifiers() & Qt::ShiftModifier);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace kestrova

#include "moc_find_bar.cpp"
