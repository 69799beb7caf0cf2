// The texts of the navigator window's drop-down menus.
#pragma once

#include <QString>

namespace kestrova::menu_texts {

// The search options menu (under the arrow of "Поиск").
inline const QString kTitlesOnly = QStringLiteral("Только в заголовках");
inline const QString kRelatedWords = QStringLiteral("Похожие слова");
inline const QString kQueryLanguage = QStringLiteral("Использовать язык запросов");

// The text size menu (under the arrow of "Размер шрифта"), smallest to largest.
inline const QString kTextSizes[5] = {
    QStringLiteral("Самый мелкий"), QStringLiteral("Мелкий"),        QStringLiteral("Средний"),
    QStringLiteral("Крупный"),      QStringLiteral("Самый крупный"),
};

// The main menu (under "Меню").
inline const QString kOpenNewWindow = QStringLiteral("Открыть в новом окне");
inline const QString kOfflineMode = QStringLiteral("Режим offline");
inline const QString kHighlight = QStringLiteral("Подсветка результатов поиска");
inline const QString kLeftPane = QStringLiteral("Левая панель");
inline const QString kResultPane = QStringLiteral("Панель результатов поиска");
inline const QString kToolbarText = QStringLiteral("Текст в панели инструментов");
inline const QString kContentIcons = QStringLiteral("Картинки в содержании");
inline const QString kDatabase = QStringLiteral("База данных");
inline const QString kDbInfo = QStringLiteral("Информация...");
inline const QString kDbExportXml = QStringLiteral("Выгрузка в XML...");
inline const QString kDbRebuild = QStringLiteral("Принудительное обновление");
inline const QString kClearHistory = QStringLiteral("Очистить историю поиска");
// The text after the tab is shown in the menu's column of keys.
inline const QString kEditCurrentPage =
    QStringLiteral("Редактировать текущую страницу\tCtrl+Shift+A");
inline const QString kAbout = QStringLiteral("Информация о версии...");

}  // namespace kestrova::menu_texts
