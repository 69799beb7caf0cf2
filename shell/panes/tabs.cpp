#include "shell/panes/tabs.h"

#include "shell/panes/basic_pane.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/index_pane.h"

#include <QFile>
#include <QVBoxLayout>

namespace kestrova {
namespace {

const QString kTabContents = QStringLiteral("Содержание");
const QString kTabIndex = QStringLiteral("Указатель");
const QString kTabFavorites = QStringLiteral("Избранное");

// The picture of a tab; none when the resources lack it.
QIcon TabPicture(const char* file) {
    const QString name = QString::fromLatin1(file);
    return QFile::exists(name) ? QIcon(name) : QIcon();
}

}  // namespace

CTabs::CTabs(QWidget* parent)
    : CStretchTabCtrl(parent),
      contents_(new CContentPane(this)),
      index_(new CIndexPane(this)),
      favorites_(new CBasicPane(this)) {
    setObjectName(QStringLiteral("tabs"));
    favorites_->setObjectName(QStringLiteral("favoritesPage"));
    // The favorites pane is put into this layout when it is made.
    auto* favoritesLayout = new QVBoxLayout(favorites_);
    favoritesLayout->setContentsMargins(0, 0, 0, 0);
    setIconSize(QSize(ScaledX(this, 16), ScaledY(this, 16)));
    AddTab(contents_, TabPicture(":/icons/contents.svg"), kTabContents);
    AddTab(index_, TabPicture(":/icons/keyword-index.svg"), kTabIndex);
    AddTab(favorites_, TabPicture(":/icons/favorites.svg"), kTabFavorites);
    contents_->setAccessibleName(kTabContents);
    index_->setAccessibleName(kTabIndex);
    favorites_->setAccessibleName(kTabFavorites);
}

}  // namespace kestrova

#include "moc_tabs.cpp"
