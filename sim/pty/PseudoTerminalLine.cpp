#include "sim/pty/PseudoTerminalLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#ifdef __APPLE__
#include <util.h>
#else
#include <pty.h>
#endif

namespace qpx::sim {

PseudoTerminalLine::PseudoTerminalLine() {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    // Raw from the start, so that whatever the host does before it sets its own line settings,
    // the line discipline neither echoes nor translates a byte.
    termios raw{};
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    if (::openpty(&master, &slave, name, &raw, nullptr) != 0) {
        error_ = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return;
    }
    for (const int fd : {master, slave}) {
        ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    master_ = master;
    heldSlave_ = slave;
    path_ = name;
}

PseudoTerminalLine::~PseudoTerminalLine() {
    close();
}

void PseudoTerminalLine::close() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (heldSlave_ >= 0) {
        ::close(heldSlave_);
        heldSlave_ = -1;
    }
}

} // namespace qpx::sim
