#include "shell/browser/command_link.h"

#include "platform/url.h"
#include "shell/commands.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace kestrova {
namespace {

const QString kPrefix = QStringLiteral("cmd:");
const QString kExec = QStringLiteral("exec");
const QString kOpenVerb = QStringLiteral("open");
const QString kEditVerb = QStringLiteral("edit");
const QString kPrintVerb = QStringLiteral("print");

struct NamedCommand {
    const char* name;
    CommandLink::Kind kind;
    int command;
};
const NamedCommand kNames[] = {
    {"back", CommandLink::kBack, 0},
    {"forward", CommandLink::kForward, 0},
    {"home", CommandLink::kHome, 0},
    {"search", CommandLink::kSearch, 0},
    {"new_window", CommandLink::kNewWindow, 0},
    {"content", CommandLink::kNavigator, ID_SHOW_CONTENTS},
    {"index", CommandLink::kNavigator, ID_SHOW_INDEX},
    {"findcont", CommandLink::kNavigator, ID_FIND_IN_CONTENTS},
};

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

// Splits a command line the way the desktop shell of the original platform does: the program
// ends at the first space outside double quotes; quotes around the whole program go.
void SplitCommandLine(const QString& line, ExecCommand& command) {
    bool quoted = false;
    qsizetype space = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'"') {
            quoted = !quoted;
        } else if (line[i] == u' ' && !quoted) {
            space = i;
            break;
        }
    }
    QString program = space < 0 ? line : line.left(space);
    command.arguments = space < 0 ? QString() : line.mid(space + 1);
    if (program.size() >= 2 && program.startsWith(u'"') && program.endsWith(u'"')) {
        program = program.mid(1, program.size() - 2);
    }
    command.program = program;
}

// Desktop entries start whatever they name; they are never run from a page.
bool IsDesktopEntry(const QString& path) {
    return path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive);
}

LaunchPlan Plan(LaunchPlan::Kind kind, const QString& target, QStringList arguments = {}) {
    LaunchPlan plan;
    plan.kind = kind;
    plan.target = target;
    plan.arguments = std::move(arguments);
    return plan;
}

}  // namespace

bool IsCommandLink(const QString& url) { return url.startsWith(kPrefix, Qt::CaseSensitive); }

CommandLink ParseCommandLink(const QString& url) {
    CommandLink link;
    if (!IsCommandLink(url)) return link;
    const QString command = url.mid(kPrefix.size());
    for (const NamedCommand& named : kNames) {
        if (command == QLatin1String(named.name)) {
            link.kind = named.kind;
            link.command = named.command;
            return link;
        }
    }
    if (command.startsWith(kExec)) {
        link.kind = CommandLink::kExec;
        link.rest = command.mid(kExec.size());
    }
    return link;
}

std::optional<ExecCommand> ParseExecCommand(const QString& rest) {
    const QString text =
        TrimBlanks(QString::fromStdU16String(platform::Unescape(rest.toStdU16String())));
    if (text.isEmpty()) return std::nullopt;
    ExecCommand command;
    QString line;
    if (text.startsWith(u'(')) {
        if (!text.endsWith(u')') || text.size() < 2) return std::nullopt;
        const QString inside = text.mid(1, text.size() - 2);
        const qsizetype comma = inside.indexOf(u',');
        if (comma >= 0) {
            line = TrimBlanks(inside.left(comma));
            command.verb = TrimBlanks(inside.mid(comma + 1));
        } else {
            line = TrimBlanks(inside);
            command.verb = kOpenVerb;
        }
    } else if (text.startsWith(u':')) {
        line = text.mid(1);
        command.verb = kOpenVerb;
    } else {
        return std::nullopt;
    }
    SplitCommandLine(line, command);
    if (command.program.isEmpty()) return std::nullopt;
    return command;
}

std::optional<QString> ResolveProgram(const QString& program, const QString& shownUrl) {
    if (platform::IsUrl(program.toStdU16String())) return program;
    QString path = program;
    path.replace(u'\\', u'/');
    if (QDir::isAbsolutePath(path)) return QDir::cleanPath(path);
    const QUrl shown(shownUrl);
    if (!shown.isLocalFile()) return std::nullopt;
    const QString folder = QFileInfo(shown.toLocalFile()).absolutePath();
    return QDir::cleanPath(folder + QLatin1Char('/') + path);
}

LaunchPlan PlanLaunch(const ExecCommand& command, const QString& resolved,
                      const std::function<bool(const QString& path)>& insideFolder) {
    const QString verb = command.verb.toLower();
    const bool open = verb == kOpenVerb;
    if (!open && verb != kEditVerb && verb != kPrintVerb) return {};
    QString path = resolved;
    if (platform::IsUrl(resolved.toStdU16String())) {
        const QUrl url(resolved);
        if (!url.isLocalFile()) {
            const QString scheme = url.scheme().toLower();
            const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto");
            return web && open ? Plan(LaunchPlan::kOpen, url.toString()) : LaunchPlan{};
        }
        path = url.toLocalFile();
    }
    const QFileInfo file(path);
    if (!file.exists()) return {};
    const QString target = file.absoluteFilePath();
    if (file.isDir()) return open ? Plan(LaunchPlan::kOpen, target) : LaunchPlan{};
    if (IsDesktopEntry(target)) return {};
    if (file.isExecutable()) {
        if (!insideFolder || !insideFolder(target)) return {};
        if (open) {
            return Plan(LaunchPlan::kRunProgram, target, QProcess::splitCommand(command.arguments));
        }
    }
    if (open) return Plan(LaunchPlan::kOpen, target);
    return Plan(verb == kEditVerb ? LaunchPlan::kEdit : LaunchPlan::kPrint, target);
}

}  // namespace kestrova
