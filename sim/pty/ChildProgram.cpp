#include "sim/pty/ChildProgram.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qpx::sim {

bool ChildProgram::start(const std::vector<std::string>& command, const std::string& device,
                         const sigset_t& childMask, std::string& error) {
    if (command.empty()) {
        error = "no command to run";
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    // An error pipe that closes on a successful exec: the parent learns whether it worked.
    int report[2] = {-1, -1};
    if (::pipe(report) != 0) {
        error = std::string("cannot start ") + command.front() + ": " + std::strerror(errno);
        return false;
    }
    ::fcntl(report[1], F_SETFD, FD_CLOEXEC);
    const pid_t pid = ::fork();
    if (pid < 0) {
        error = std::string("cannot start ") + command.front() + ": " + std::strerror(errno);
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (pid == 0) {
        ::close(report[0]);
        ::setenv("DEPLOYQPX_PORTS", device.c_str(), 1);
        for (const int signalNumber : {SIGINT, SIGTERM, SIGCHLD, SIGPIPE}) {
            std::signal(signalNumber, SIG_DFL);
        }
        ::sigprocmask(SIG_SETMASK, &childMask, nullptr);
        ::execvp(argv[0], argv.data());
        const int failure = errno;
        [[maybe_unused]] const ssize_t ignored = ::write(report[1], &failure, sizeof failure);
        ::_exit(127);
    }
    ::close(report[1]);
    int failure = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    pid_ = pid;
    if (got == static_cast<ssize_t>(sizeof failure)) {
        wait();
        error = std::string("cannot run ") + command.front() + ": " + std::strerror(failure);
        return false;
    }
    return true;
}

void ChildProgram::signal(int signalNumber) const {
    if (running()) {
        ::kill(pid_, signalNumber);
    }
}

void ChildProgram::take(int status) {
    status_ = status;
}

bool ChildProgram::poll() {
    if (pid_ <= 0 || status_) {
        return status_.has_value();
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        take(status);
    }
    return status_.has_value();
}

void ChildProgram::wait() {
    while (pid_ > 0 && !status_) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, 0);
        if (done == pid_) {
            take(status);
        } else if (done < 0 && errno != EINTR) {
            status_ = 0;
        }
    }
}

int ChildProgram::exitCode() const {
    if (!status_) {
        return 1;
    }
    if (WIFEXITED(*status_)) {
        return WEXITSTATUS(*status_);
    }
    if (WIFSIGNALED(*status_)) {
        return 128 + WTERMSIG(*status_);
    }
    return 1;
}

} // namespace qpx::sim
