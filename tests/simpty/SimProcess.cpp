#include "simpty/SimProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace qpx::test {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

int CodeOf(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

} // namespace

SimProcess::SimProcess(const std::vector<std::string>& arguments) {
    const char* program = std::getenv("QPX_SIM");
    if (program == nullptr) {
        return;
    }
    char errorName[] = "/tmp/qpx-sim-stderr-XXXXXX";
    const int errorFd = ::mkstemp(errorName);
    errorFile_ = errorName;
    int out[2];
    if (errorFd < 0 || ::pipe(out) != 0) {
        return;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(errorFd, STDERR_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execv(program, argv.data());
        ::_exit(126);
    }
    ::close(out[1]);
    ::close(errorFd);
    output_ = out[0];
    firstLine_ = readLine(5000);
}

SimProcess::~SimProcess() {
    if (pid_ > 0 && !exitCode_) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    if (output_ >= 0) {
        ::close(output_);
    }
    if (!errorFile_.empty()) {
        ::unlink(errorFile_.c_str());
    }
}

std::string SimProcess::readLine(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pending_.find('\n') == std::string::npos) {
        pollfd fd{output_, POLLIN, 0};
        if (::poll(&fd, 1, MsLeft(deadline)) <= 0) {
            return {};
        }
        char buffer[256];
        const ssize_t n = ::read(output_, buffer, sizeof buffer);
        if (n <= 0) {
            return {};
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t end = pending_.find('\n');
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

std::string SimProcess::restOfOutput(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd fd{output_, POLLIN, 0};
        if (::poll(&fd, 1, MsLeft(deadline)) <= 0) {
            break;
        }
        char buffer[256];
        const ssize_t n = ::read(output_, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
    return std::exchange(pending_, {});
}

std::string SimProcess::errors() const {
    std::ifstream file(errorFile_);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void SimProcess::signal(int signalNumber) const {
    if (pid_ > 0 && !exitCode_) {
        ::kill(pid_, signalNumber);
    }
}

std::optional<int> SimProcess::waitExit(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pid_ > 0 && !exitCode_) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            exitCode_ = CodeOf(status);
            break;
        }
        if (MsLeft(deadline) == 0) {
            break;
        }
        ::usleep(5000);
    }
    return exitCode_;
}

HostPort::HostPort(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ >= 0) {
        termios raw{};
        ::tcgetattr(fd_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd_, TCSANOW, &raw);
    }
}

HostPort::~HostPort() {
    close();
}

void HostPort::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool HostPort::send(std::string_view text) {
    return ::write(fd_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

std::string HostPort::readUntil(std::string_view pattern, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (got.find(pattern) == std::string::npos) {
        pollfd fd{fd_, POLLIN, 0};
        if (::poll(&fd, 1, MsLeft(deadline)) <= 0) {
            break;
        }
        char buffer[512];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

std::string HostPort::readCount(std::size_t count, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (got.size() < count) {
        pollfd fd{fd_, POLLIN, 0};
        if (::poll(&fd, 1, MsLeft(deadline)) <= 0) {
            break;
        }
        char buffer[512];
        const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0) {
            break;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

bool HostPort::hangsUp(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd fd{fd_, POLLIN, 0};
        if (::poll(&fd, 1, MsLeft(deadline)) <= 0) {
            return false;
        }
        if ((fd.revents & POLLHUP) != 0) {
            return true;
        }
        char buffer[512];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno == EIO)) {
            return true;
        }
    }
}

double ProcessCpuMs(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // Fields after the parenthesised name: state is field 3, utime 14, stime 15.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return -1.0;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long ticks = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index >= 14) {
            ticks += std::stoll(field);
        }
    }
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

} // namespace qpx::test
