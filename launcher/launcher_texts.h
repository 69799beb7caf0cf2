// The launcher's string table: every text it shows or passes on, under its number.
#pragma once

#include <QString>

namespace kestrova::launcher_texts {

// 101: caption of every message box.
inline const QString kCaption = QStringLiteral("Вельтра");
// 102: warning when no PDF reader is installed (two blanks after its first word, as written).
inline const QString kNoPdfReader = QStringLiteral(
    "Для отображения  документов в формате PDF\n"
    "справочник Вельтра использует компоненты программы Adobe Reader.\n\n"
    "Для полноценной работы рекомендуется установить эту программу.");
// 105: the registry key that shows a PDF reader where there is a registry. Here the desktop's
// default application for PDF documents tells instead (pdf_reader_check.h).
inline const QString kPdfReaderKey = QStringLiteral("SOFTWARE\\Adobe\\Acrobat Reader");
// 106: file name of the viewer, looked up in the launcher's own folder.
inline const QString kViewerFileName = QStringLiteral("kestrova");
// 107: start page passed to the viewer, relative to the current directory.
inline const QString kStartPage = QStringLiteral("kb\\index-law.html");
// 108: error when the viewer is missing or cannot be started.
inline const QString kMissingComponents = QStringLiteral(
    "Не обнаружены необходимые для запуска справочника Вельтра компоненты.\n"
    "Рекомендуется повторно выполнить установку.");
// 109: category switch passed to the viewer.
inline const QString kDomainSwitch = QStringLiteral("/domain=law");

}  // namespace kestrova::launcher_texts
