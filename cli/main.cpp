// kestrova-cli: the command-line face of the Kestrova core, for authors and scripts.
#include "cli/command.h"

#include <algorithm>
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

int RunCommand(const Command& command, int argc, char** argv) {
    CLI::App app(command.summary, "kestrova-cli " + command.name);
    command.setup(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kStatusOk;
    } catch (const CLI::ParseError& e) {
        return UsageError(command.name, e.what());
    }
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
