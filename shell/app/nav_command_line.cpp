#include "shell/app/nav_command_line.h"

namespace kestrova {

void CNavCommandLineInfo::ParseParam(const QString& param, bool isSwitch, bool /*isLast*/) {
    static const QString kDomain = QStringLiteral("domain=");
    static const QString kFolder = QStringLiteral("folder=");
    if (isSwitch && param.startsWith(kDomain)) {
        domain = param.mid(kDomain.size());
    } else if (isSwitch && param.startsWith(kFolder)) {
        folder = param.mid(kFolder.size());
    } else if (!isSwitch && startPage.isEmpty()) {
        startPage = param;
    }
}

void CNavCommandLineInfo::Parse(const QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        bool isSwitch = arg.startsWith(u'/') || arg.startsWith(u'-');
        ParseParam(isSwitch ? arg.mid(1) : arg, isSwitch, i + 1 == arguments.size());
    }
}

}  // namespace kestrova
