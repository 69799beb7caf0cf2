// Subcommands of kestrova-cli. Each command lives in its own cmd_*.cpp and registers
// itself with a static CommandRegistration; main() dispatches on the first argument.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace kestrova::cli {

// One subcommand. `setup` declares its options on the CLI11 app; `run` does the work
// after a successful parse and returns the process status.
struct Command {
    std::string name;
    std::string summary;
    std::function<void(CLI::App&)> setup;
    std::function<int()> run;
};

// Adds a command to the table at static-initialisation time.
struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

// All registered commands, sorted by name.
const std::vector<Command>& Commands();

// Status codes shared by every command.
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusFailed = 1;  // the work itself failed (a bad page, a failed search)
inline constexpr int kStatusUsage = 2;   // a wrong argument or a missing file

// Prints "kestrova-cli NAME: MESSAGE" on standard error and returns kStatusUsage.
int UsageError(const std::string& command, const std::string& message);

}  // namespace kestrova::cli
