// The texts of the favorites pane and its dialog.
#pragma once

#include <QString>

namespace kestrova::favorites_texts {

// The toolbar buttons' tooltips; they are also the buttons' texts and accessible names.
inline const QString kUp = QStringLiteral("Вверх (Ctrl+PgUp)");
inline const QString kDown = QStringLiteral("Вниз (Ctrl+PgDn)");
inline const QString kAddFolder = QStringLiteral("Добавить папку (Ins)");
inline const QString kEdit = QStringLiteral("Изменить (Ctrl+Enter)");
inline const QString kDelete = QStringLiteral("Удалить (Del)");

// Captions of the favorites dialog.
inline const QString kNewBookmark = QStringLiteral("Новая закладка");
inline const QString kNewFolder = QStringLiteral("Новая папка");
inline const QString kFolder = QStringLiteral("Папка");
inline const QString kBookmark = QStringLiteral("Закладка");

// The first entry of the dialog's folder list, and how a nested folder is named there.
inline const QString kRootFolder = QStringLiteral("<Избранное - корневая папка>");
inline const QString kPathSeparator = QStringLiteral(" : ");

// The question before a folder with several bookmarks is deleted (%1: how many).
inline const QString kDeleteFolder = QStringLiteral("Удалить папку содержащую %1 закладок?");

// Accessible names of the pane's controls.
inline const QString kToolBarName = QStringLiteral("Избранное: действия");
inline const QString kTreeName = QStringLiteral("Избранное");

}  // namespace kestrova::favorites_texts
