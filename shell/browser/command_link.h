// Command links: URLs that begin with exactly "cmd:" and drive the viewer instead of loading a
// page. This file reads such a link; the browser host (browser_wnd.h) decides whether the page
// that holds it may drive the viewer and carries the command out.
//
// Pure functions, any thread.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kestrova {

// What a command link asks for.
struct CommandLink {
    enum Kind {
        kUnknown,    // not one of the names: nothing happens
        kBack,       // "back"
        kForward,    // "forward"
        kHome,       // "home"
        kSearch,     // "search"
        kNewWindow,  // "new_window"
        kNavigator,  // "content", "index", "findcont": the navigator command `command`
        kExec,       // begins with "exec": run a program, `rest` is the text after "exec"
    };
    Kind kind = kUnknown;
    int command = 0;
    QString rest;
};

// True when `url` begins with exactly "cmd:" (lower case).
bool IsCommandLink(const QString& url);
// The command of a link; the text after "cmd:" is compared with the names exactly.
CommandLink ParseCommandLink(const QString& url);

// A program command read from the text after "exec".
struct ExecCommand {
    QString program;    // the program or document, unquoted
    QString arguments;  // the rest of the command line, as written (may be empty)
    QString verb;       // "open" unless the parenthesised form names another
};

// Reads the text after "exec": percent escapes undone, blanks trimmed, then either
// "(command line[, verb])" or ":command line"; the command line splits at the first blank
// outside double quotes into the program and its arguments. Nothing for any other form, an
// unclosed parenthesis, or an empty program.
std::optional<ExecCommand> ParseExecCommand(const QString& rest);

// The path (or URL) of the program of a command: a URL as it is; a relative path taken from
// the folder of the shown document, which must then be a local file (`shownUrl`); '\' counts
// as '/'. Nothing when a relative program has no local page to be relative to.
std::optional<QString> ResolveProgram(const QString& program, const QString& shownUrl);

// How a program command is carried out. Nothing goes to a shell.
struct LaunchPlan {
    enum Kind {
        kRefused,     // does nothing
        kOpen,        // the desktop's default application opens `target` (a file or a URL)
        kEdit,        // the user's editor opens the file `target`
        kPrint,       // the desktop's print service prints the file `target`
        kRunProgram,  // the executable file `target` starts with `arguments` as its list
    };
    Kind kind = kRefused;
    QString target;
    QStringList arguments;
};

// Decides what to do with a command whose program resolved to `resolved`:
// - a web or mail URL (http, https, mailto) is opened with the verb "open"; a file URL counts
//   as its path; any other URL is refused;
// - an executable file runs as its own process only when `insideFolder` says it lies inside
//   the page folder (links resolved) and the verb is "open"; "edit" and "print" treat it as a
//   document there; outside the folder every verb is refused; desktop entries are refused;
// - a document (any other existing file) is opened, edited or printed by its verb; a folder
//   can only be opened; a missing file and an unknown verb are refused.
// Verbs compare without regard to letter case.
LaunchPlan PlanLaunch(const ExecCommand& command, const QString& resolved,
                      const std::function<bool(const QString& path)>& insideFolder);

}  // namespace kestrova
