// The browser host's command links: the commands of "cmd:" links and the programs of "exec".
#include "shell/browser/browser_page.h"
#include "shell/browser/browser_wnd.h"
#include "shell/browser/command_link.h"
#include "shell/browser/desktop_launch.h"
#include "shell/browser/page_folder_guard.h"

#include <QUrl>

namespace kestrova {

void CBrowserWnd::OnPageCommandLink(const QString& link, bool trusted) {
    // A page from anywhere but the page folder (the network, another folder, a data or blob
    // document, or a page with such a frame) cannot drive the viewer. The host's own
    // navigations never come here: Navigate carries command links out itself.
    const bool obey = trusted && navigationDepth_ == 0;
    if (obey) ExecuteCommandLink(link);
    emit CommandLinkFollowed(link, obey);
}

void CBrowserWnd::SetHomePages(const QString& home, const QString& search) {
    homePage_ = home;
    searchPage_ = search;
}

bool CBrowserWnd::ExecuteCommandLink(const QString& link) {
    const CommandLink command = ParseCommandLink(link);
    switch (command.kind) {
        case CommandLink::kBack:
            Back();
            return true;
        case CommandLink::kForward:
            Forward();
            return true;
        // A start page that is itself a command link would come back here without end.
        case CommandLink::kHome:
            if (!homePage_.isEmpty() && !IsCommandLink(homePage_)) Navigate(homePage_);
            return true;
        case CommandLink::kSearch:
            if (!searchPage_.isEmpty() && !IsCommandLink(searchPage_)) Navigate(searchPage_);
            return true;
        case CommandLink::kNewWindow:
            OpenInNewWindow();
            return true;
        case CommandLink::kNavigator:
            emit BWN_COMMAND(command.command);
            return true;
        case CommandLink::kExec:
            RunProgram(command.rest);
            return true;
        case CommandLink::kUnknown:
            break;
    }
    return false;
}

void CBrowserWnd::RunProgram(const QString& rest) {
    const std::optional<ExecCommand> command = ParseExecCommand(rest);
    if (!command) return;
    // Programs run only for the knowledge base's own pages; their relative names are taken
    // from the folder of the page shown.
    const QString shown = CurrentURL();
    if (!guard_->IsInsideFolder(QUrl(shown))) return;
    const std::optional<QString> program = ResolveProgram(command->program, shown);
    if (!program) return;
    const LaunchPlan plan = PlanLaunch(*command, *program, [this](const QString& path) {
        return guard_->IsInsideFolder(QUrl::fromLocalFile(path));
    });
    CarryOut(plan);  // a refused or failed program does nothing visible
}

}  // namespace kestrova
