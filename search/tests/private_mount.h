// Tests on a file system of their own: a child process in a private mount namespace with a
// small tmpfs on a folder, so a test can fill the disk or make it read-only without touching
// the machine. Needs root (or the right to make a mount namespace); otherwise the test skips.
#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

namespace kestrova::testing {

// Runs `body` in a child process that sees a fresh tmpfs of `bytes` bytes on `folder` (which
// must exist). The body returns "" when all went well, else what went wrong. The result is the
// body's answer, "child ended abnormally: ..." when the child crashed, or nullopt with
// `skipped` set when no private mount could be had.
inline std::optional<std::string> RunOnTmpfs(const std::string& folder, size_t bytes,
                                             const std::function<std::string()>& body,
                                             std::string& skipped) {
    if (::geteuid() != 0) {
        skipped = "needs root for a private tmpfs";
        return std::nullopt;
    }
    int answer[2];
    if (::pipe(answer) != 0) {
        skipped = "pipe failed";
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(answer[0]);
        std::string text;
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0,
                    ("size=" + std::to_string(bytes)).c_str()) != 0) {
            text = std::string("SKIP no private tmpfs: ") + std::strerror(errno);
        } else {
            text = body();
        }
        (void)!::write(answer[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(answer[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(answer[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(answer[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "child ended abnormally: " +
               (WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                    : "status " + std::to_string(WEXITSTATUS(status))) +
               (text.empty() ? "" : " after: " + text);
    }
    if (text.rfind("SKIP ", 0) == 0) {
        skipped = text.substr(5);
        return std::nullopt;
    }
    return text;
}

// Makes the tmpfs of RunOnTmpfs read-only (inside the body); false when it cannot.
inline bool RemountReadOnly(const std::string& folder) {
    return ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace kestrova::testing
