// The texts of the toolbar and its boxes.
#pragma once

#include <QString>

namespace kestrova::toolbar_texts {

// The buttons' tooltips (string resources 10001 to 10012); they are also the buttons' texts
// and accessible names.
inline const QString kGoBack = QStringLiteral("Назад");
inline const QString kGoForward = QStringLiteral("Вперед");
inline const QString kShowContents = QStringLiteral("Содержание");
inline const QString kShowIndex = QStringLiteral("Указатель");
inline const QString kFindInContents = QStringLiteral("Найти страницу в содержании");
inline const QString kSearch = QStringLiteral("Поиск");
inline const QString kFindOnPage = QStringLiteral("Найти текст на странице");
inline const QString kPrintPage = QStringLiteral("Печать текущей страницы");
inline const QString kMainMenu = QStringLiteral("Меню");
inline const QString kAddFavorite = QStringLiteral("Добавить страницу в \"Избранное\"");
inline const QString kFontSize = QStringLiteral("Размер шрифта");

// The first entry of the category box.
inline const QString kAllDomains = QStringLiteral("Все категории");

// Accessible names of the boxes (screen readers only).
inline const QString kSearchBoxName = kSearch;
inline const QString kDomainBoxName = QStringLiteral("Категория");

}  // namespace kestrova::toolbar_texts
