// kestrova-cli: the command-line face of the Kestrova core, for authors and scripts.
#include "cli/command.h"

#include "platform/lock_wait.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>

namespace kestrova::cli {
namespace {

std::vector<Command>& Table() {
    static std::vector<Command> table;
    return table;
}

void PrintOverview() {
    std::cout << "usage: kestrova-cli COMMAND [ARGS...]\n\ncommands:\n";
    for (const Command& c : Commands()) {
        std::cout << "  " << c.name << std::string(c.name.size() < 12 ? 12 - c.name.size() : 1, ' ')
                  << c.summary << "\n";
    }
    std::cout << "\n'kestrova-cli COMMAND --help' describes one command.\n";
}

// Waits for a lock that another process keeps (a copy stopped with Ctrl-Z keeps its locks for
// ever) are told on standard error after a while and given up after `seconds`.
void LimitLockWaits(const std::string& command, double seconds) {
    platform::LockWaitLimits limits;
    limits.reportAfter = std::chrono::seconds(2);
    // Beyond a year the wait has no end; a wait of 0 gives up at once.
    constexpr double kNoEnd = 365.0 * 24 * 3600;
    if (!(seconds < kNoEnd)) {
        limits.giveUpAfter = std::chrono::milliseconds(0);
    } else {
        limits.giveUpAfter =
            std::max(std::chrono::milliseconds(1),
                     std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000)));
    }
    limits.report = [command](const std::string& text) {
        const std::string line = "kestrova-cli " + command + ": " + text + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);  // one write: threads never interleave
        std::fflush(stderr);
    };
    platform::SetLockWaitLimits(std::move(limits));
}

int RunCommand(const Command& command, int argc, char** argv) {
    CLI::App app(command.summary, "kestrova-cli " + command.name);
    command.setup(app);
    double waitSeconds = 600;
    app.add_option("--wait", waitSeconds,
                   "give up after SECONDS when another process keeps a lock of the knowledge "
                   "base (default 600)")
        ->check(CLI::NonNegativeNumber);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kStatusOk;
    } catch (const CLI::ParseError& e) {
        return UsageError(command.name, e.what());
    }
    LimitLockWaits(command.name, waitSeconds);
    return command.run();
}

}  // namespace

CommandRegistration::CommandRegistration(Command command) { Table().push_back(std::move(command)); }

const std::vector<Command>& Commands() {
    std::vector<Command>& table = Table();
    std::sort(table.begin(), table.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    return table;
}

int UsageError(const std::string& command, const std::string& message) {
    std::cerr << "kestrova-cli " << command << ": " << message << "\n";
    return kStatusUsage;
}

}  // namespace kestrova::cli

int main(int argc, char** argv) {
    using namespace kestrova::cli;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        PrintOverview();
        return argc < 2 ? kStatusUsage : kStatusOk;
    }
    const std::string name = argv[1];
    for (const Command& c : Commands()) {
        if (c.name == name) return RunCommand(c, argc - 1, argv + 1);
    }
    std::cerr << "kestrova-cli: unknown command '" << name << "' (see kestrova-cli --help)\n";
    return kStatusUsage;
}
