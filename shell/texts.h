// The texts that several windows of the shell share. Each window keeps its own texts in one
// place of its own source file.
#pragma once

#include <QString>

namespace kestrova::texts {

inline const QString kAppTitle = QStringLiteral("Кестрова");  // the application title
// Message box captions, chosen by the icon when a message gives none.
inline const QString kCaptionError = QStringLiteral("Ошибка");
inline const QString kCaptionQuestion = QStringLiteral("Подтверждение");
inline const QString kCaptionWarning = QStringLiteral("Внимание");
inline const QString kCaptionInformation = QStringLiteral("Информация");

}  // namespace kestrova::texts
