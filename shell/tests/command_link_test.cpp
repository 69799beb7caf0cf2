// Reading command links and deciding how a program command is carried out, on real files.
#include "shell/browser/command_link.h"
#include "shell/browser/page_folder_guard.h"
#include "shell/commands.h"
#include "shell/tests/shell_test_support.h"

#include <QFile>
#include <QObject>
#include <QTest>
#include <QUrl>

using namespace kestrova;
using namespace kestrova::test;

namespace {

ExecCommand Exec(const QString& rest) {
    const std::optional<ExecCommand> command = ParseExecCommand(rest);
    if (!command) return ExecCommand{QStringLiteral("<failed>"), {}, {}};
    return *command;
}

void MakeExecutable(const QString& path, const QByteArray& text) {
    WriteFile(path, text);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

}  // namespace

class CommandLinkTest : public QObject {
    Q_OBJECT
private slots:
    void NamesAreWholeAndCaseSensitive() {
        QCOMPARE(ParseCommandLink("cmd:back").kind, CommandLink::kBack);
        QCOMPARE(ParseCommandLink("cmd:forward").kind, CommandLink::kForward);
        QCOMPARE(ParseCommandLink("cmd:home").kind, CommandLink::kHome);
        QCOMPARE(ParseCommandLink("cmd:search").kind, CommandLink::kSearch);
        QCOMPARE(ParseCommandLink("cmd:new_window").kind, CommandLink::kNewWindow);
        QCOMPARE(ParseCommandLink("cmd:content").command, int(ID_SHOW_CONTENTS));
        QCOMPARE(ParseCommandLink("cmd:index").command, int(ID_SHOW_INDEX));
        QCOMPARE(ParseCommandLink("cmd:findcont").command, int(ID_FIND_IN_CONTENTS));
        const CommandLink exec = ParseCommandLink("cmd:exec(a.txt, print)");
        QCOMPARE(exec.kind, CommandLink::kExec);
        QCOMPARE(exec.rest, QStringLiteral("(a.txt, print)"));
        for (const char* unknown : {"cmd:Back", "cmd:back ", "cmd:back%20", "cmd:backs",
                                    "cmd:", "cmd:Exec:a.txt", "CMD:back", "Cmd:back"}) {
            QCOMPARE(ParseCommandLink(unknown).kind, CommandLink::kUnknown);
        }
        QVERIFY(IsCommandLink("cmd:x"));
        QVERIFY(!IsCommandLink("CMD:back"));
        QVERIFY(!IsCommandLink(" cmd:back"));
    }

    void ExecFormsAreRead() {
        ExecCommand c = Exec(":ref/forms/a.txt");
        QCOMPARE(c.program, QStringLiteral("ref/forms/a.txt"));
        QCOMPARE(c.verb, QStringLiteral("open"));
        QVERIFY(c.arguments.isEmpty());
        c = Exec("%3Aref/forms/a.txt");  // the colon escaped
        QCOMPARE(c.program, QStringLiteral("ref/forms/a.txt"));
        c = Exec("(ref/forms/a.txt)");
        QCOMPARE(c.program, QStringLiteral("ref/forms/a.txt"));
        QCOMPARE(c.verb, QStringLiteral("open"));
        c = Exec("(%20ref/forms/a.txt%20,%20edit%20)");  // blanks as the browser escapes them
        QCOMPARE(c.program, QStringLiteral("ref/forms/a.txt"));
        QCOMPARE(c.verb, QStringLiteral("edit"));
        c = Exec(" \t(a.txt, print, x)\r\n");  // the verb is everything after the first comma
        QCOMPARE(c.verb, QStringLiteral("print, x"));
        c = Exec("(\"my tool.sh\" one \"two three\")");
        QCOMPARE(c.program, QStringLiteral("my tool.sh"));
        QCOMPARE(c.arguments, QStringLiteral("one \"two three\""));
        c = Exec(":%D0%B1%D0%BB%D0%B0%D0%BD%D0%BA.txt");
        QCOMPARE(c.program, QStringLiteral("бланк.txt"));
        for (const char* bad :
             {"(a.txt", "a.txt", "", "   ", "()", "(, print)", ": a.txt", "x:a"}) {
            QVERIFY2(!ParseExecCommand(bad), bad);
        }
    }

    void RelativeProgramsComeFromTheFolderOfThePageShown() {
        const QString page = QUrl::fromLocalFile("/kb/ref/forms/forms.html").toString();
        QCOMPARE(*ResolveProgram("a.txt", page), QStringLiteral("/kb/ref/forms/a.txt"));
        QCOMPARE(*ResolveProgram("..\\law\\b.txt", page), QStringLiteral("/kb/ref/law/b.txt"));
        QCOMPARE(*ResolveProgram("/opt/x", page), QStringLiteral("/opt/x"));
        QCOMPARE(*ResolveProgram("https://example.org/", page),
                 QStringLiteral("https://example.org/"));
        QVERIFY(!ResolveProgram("a.txt", "https://example.org/page.html"));
        QVERIFY(!ResolveProgram("a.txt", "about:blank"));
    }

    void ProgramsRunOnlyFromThePageFolderAndNeverThroughAShell() {
        const QString root = TestHome().path() + "/launch";
        const QString kb = root + "/kb", outside = root + "/outside";
        WriteFile(kb + "/doc.txt", "text\n");
        MakeExecutable(kb + "/tools/run.sh", "#!/bin/sh\n");
        MakeExecutable(outside + "/evil.sh", "#!/bin/sh\n");
        WriteFile(kb + "/app.desktop", "[Desktop Entry]\nExec=/bin/true\n");
        QVERIFY(QFile::link(outside + "/evil.sh", kb + "/tools/link.sh"));
        PageFolderGuard guard(kb);
        auto inside = [&](const QString& path) {
            return guard.IsInsideFolder(QUrl::fromLocalFile(path));
        };
        auto plan = [&](const QString& rest, const QString& program) {
            return PlanLaunch(Exec(rest), program, inside);
        };

        LaunchPlan p = plan(":doc.txt", kb + "/doc.txt");
        QCOMPARE(p.kind, LaunchPlan::kOpen);
        QCOMPARE(p.target, kb + "/doc.txt");
        QCOMPARE(plan("(doc.txt, EDIT)", kb + "/doc.txt").kind, LaunchPlan::kEdit);
        QCOMPARE(plan("(doc.txt, print)", kb + "/doc.txt").kind, LaunchPlan::kPrint);
        QCOMPARE(plan("(doc.txt, runas)", kb + "/doc.txt").kind, LaunchPlan::kRefused);
        QCOMPARE(plan(":missing.txt", kb + "/missing.txt").kind, LaunchPlan::kRefused);

        p = plan("(tools/run.sh alpha \"beta gamma\" ;rm -rf $HOME `x`)", kb + "/tools/run.sh");
        QCOMPARE(p.kind, LaunchPlan::kRunProgram);
        QCOMPARE(p.arguments, (QStringList{"alpha", "beta gamma", ";rm", "-rf", "$HOME", "`x`"}));
        QCOMPARE(plan("(tools/run.sh, edit)", kb + "/tools/run.sh").kind, LaunchPlan::kEdit);

        for (const char* rest : {":evil.sh", "(evil.sh, edit)", "(evil.sh, print)"}) {
            QCOMPARE(plan(rest, outside + "/evil.sh").kind, LaunchPlan::kRefused);
        }
        // A link inside the folder to a program outside it counts where the program is.
        QCOMPARE(plan(":tools/link.sh", kb + "/tools/link.sh").kind, LaunchPlan::kRefused);
        QCOMPARE(plan(":app.desktop", kb + "/app.desktop").kind, LaunchPlan::kRefused);

        QCOMPARE(plan(":tools", kb + "/tools").kind, LaunchPlan::kOpen);
        QCOMPARE(plan("(tools, print)", kb + "/tools").kind, LaunchPlan::kRefused);
        QCOMPARE(plan(":https://example.org/", "https://example.org/").kind, LaunchPlan::kOpen);
        QCOMPARE(plan("(https://example.org/, print)", "https://example.org/").kind,
                 LaunchPlan::kRefused);
        QCOMPARE(plan(":javascript:alert(1)", "javascript:alert(1)").kind, LaunchPlan::kRefused);
        const QString fileUrl = QUrl::fromLocalFile(outside + "/evil.sh").toString();
        QCOMPARE(plan(":" + fileUrl, fileUrl).kind, LaunchPlan::kRefused);
    }
};

KESTROVA_SHELL_TEST_MAIN(CommandLinkTest)
#include "command_link_test.moc"
