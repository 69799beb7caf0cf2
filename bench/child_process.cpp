#include "bench/child_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

extern char** environ;

namespace kestrova::bench {
namespace {

// Starts the child with its standard output on a pipe; the pid, or -1.
pid_t Spawn(const char* program, const std::vector<std::string>& args, int& readEnd) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return -1;
    }
    readEnd = fds[0];
    return pid;
}

// The next line of the child's output without its line end; false at the end.
bool ReadLine(FILE* in, std::string& line) {
    line.clear();
    for (int c = std::fgetc(in); c != EOF; c = std::fgetc(in)) {
        if (c == '\n') return true;
        line += static_cast<char>(c);
    }
    return !line.empty();
}

}  // namespace

double TimeChildUntilReady(const char* program, const std::vector<std::string>& args,
                           std::vector<std::string>* output) {
    const auto start = std::chrono::steady_clock::now();
    int fd = -1;
    const pid_t pid = Spawn(program, args, fd);
    if (pid < 0) return -1;
    FILE* in = fdopen(fd, "r");
    double ms = -1;
    std::string line;
    while (ReadLine(in, line)) {
        if (line == "ready") {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
            break;
        }
        if (output) output->push_back(line);
    }
    kill(pid, SIGTERM);
    std::fclose(in);
    int status = 0;
    waitpid(pid, &status, 0);
    return ms;
}

bool RunChild(const char* program, const std::vector<std::string>& args) {
    int fd = -1;
    const pid_t pid = Spawn(program, args, fd);
    if (pid < 0) return false;
    FILE* in = fdopen(fd, "r");
    std::string line;
    while (ReadLine(in, line)) std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    std::fclose(in);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace kestrova::bench
