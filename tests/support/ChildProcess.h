#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <tuple>
#include <vector>

extern char** environ;

namespace orvane::test {

// One of our programs started by a test, its output collected through pipes.
// Killed when the object goes, so a failing test leaves nothing running.
class Program {
  public:
    static constexpr std::chrono::milliseconds kPatience{10000};

    explicit Program(std::vector<std::string> words) {
        int out[2];
        int err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        outFd = out[0];
        errFd = err[0];
    }
    ~Program() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        closeFd(outFd);
        closeFd(errFd);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return pid > 0; }

    // Reads standard output until `marker` shows up or it closes.
    bool outputShows(const std::string& marker) {
        while (out.find(marker) == std::string::npos) {
            if (!readMore()) {
                return false;
            }
        }
        return true;
    }

    // Reads both outputs to their end (the program closes them as it ends),
    // then collects the exit status.
    int exitStatus() {
        while (readMore()) {
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // Waits at most `patience` for the program to end, without reading its
    // output: its exit status, or -1 while it still runs.
    int exitStatusWithin(std::chrono::milliseconds patience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            int status = 0;
            const pid_t ended = ::waitpid(pid, &status, WNOHANG);
            if (ended == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (ended < 0 || std::chrono::steady_clock::now() > deadline) {
                return -1;
            }
            ::usleep(20000);
        }
    }

    void signal(int number) { ::kill(pid, number); }

    std::string out;
    std::string err;

  private:
    static void closeFd(int& fd) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }

    bool readMore() {
        pollfd entries[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        const int waiting = (outFd >= 0 ? 1 : 0) + (errFd >= 0 ? 1 : 0);
        if (waiting == 0 || ::poll(entries, 2, static_cast<int>(kPatience.count())) <= 0) {
            return false;
        }
        for (auto [entry, fd, text] :
             {std::tuple(&entries[0], &outFd, &out), std::tuple(&entries[1], &errFd, &err)}) {
            if (entry->revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t got = ::read(*fd, buffer, sizeof buffer);
            if (got > 0) {
                text->append(buffer, static_cast<std::size_t>(got));
            } else {
                closeFd(*fd);
            }
        }
        return true;
    }

    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
};

}  // namespace orvane::test
