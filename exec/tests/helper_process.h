// A child process of the tests, driven line by line through pipes.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova::testing {

class HelperProcess {
public:
    explicit HelperProcess(const std::vector<std::string>& argv) {
        int toChild[2], fromChild[2];
        if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        pid_ = fork();
        if (pid_ < 0) throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            std::vector<char*> args;
            for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
    }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;
    ~HelperProcess() {
        if (in_ >= 0) close(in_);
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }

    pid_t Pid() const { return pid_; }

    void Send(const std::string& line) {
        std::string data = line + "\n";
        if (write(in_, data.data(), data.size()) != static_cast<ssize_t>(data.size()))
            throw std::runtime_error("write to helper failed");
    }

    // True when a whole line can be read without waiting (nothing else is consumed).
    bool HasLine() { return buffer_.find('\n') != std::string::npos || Fill(0); }

    // The next line; "" when none came within the limit (a guard against hanging, not a way
    // to order events).
    std::string ReadLine(std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (buffer_.find('\n') == std::string::npos) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !Fill(static_cast<int>(left.count()))) return {};
        }
        size_t end = buffer_.find('\n');
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
    }

    std::string Ask(const std::string& command) {
        Send(command);
        return ReadLine();
    }

    int Descriptor() const { return out_; }

    void KillHard() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    // Reads what is there, waiting at most timeoutMs; false when nothing came.
    bool Fill(int timeoutMs) {
        pollfd fd{out_, POLLIN, 0};
        if (poll(&fd, 1, timeoutMs) <= 0) return false;
        char chunk[256];
        ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffer_.append(chunk, static_cast<size_t>(n));
        return buffer_.find('\n') != std::string::npos;
    }

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
};

}  // namespace kestrova::testing
