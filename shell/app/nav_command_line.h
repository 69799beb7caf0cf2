// The viewer's command line: the start page (the first argument that is not a switch), the
// switches "domain=" and "folder=" (after "/" or "-", exact and case-sensitive; a later one
// replaces an earlier one). Other switches and later non-switch arguments have no effect.
#pragma once

#include <QString>
#include <QStringList>

namespace kestrova {

class CNavCommandLineInfo {
public:
    // Handles one argument: `param` without its switch character, whether it was a switch,
    // and whether it is the last argument.
    void ParseParam(const QString& param, bool isSwitch, bool isLast);
    // Handles every argument in order (the program name not included).
    void Parse(const QStringList& arguments);

    QString startPage;
    QString domain;
    QString folder;
};

}  // namespace kestrova
