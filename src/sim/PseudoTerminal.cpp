#include "PseudoTerminal.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace tensiq::sim {

PseudoTerminal::PseudoTerminal(const std::string& linkPath) : m_link(linkPath) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        throw std::runtime_error(std::string("posix_openpt: ") + std::strerror(errno));
    char name[PATH_MAX] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        ::close(m_master);
        throw std::runtime_error(std::string("pseudo-terminal: ") + std::strerror(errno));
    }
    m_slave = name;
    // Raw from the start: a canonical, echoing slave would feed the simulator's own output back
    // to it before the program under test has set its line up.
    if (const int s = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC); s >= 0) {
        termios tio{};
        if (::tcgetattr(s, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(s, TCSANOW, &tio);
        }
        ::close(s);
    }
    ::unlink(m_link.c_str());
    if (::symlink(m_slave.c_str(), m_link.c_str()) != 0) {
        const int error = errno;
        ::close(m_master);
        throw std::runtime_error("cannot link " + m_link + ": " + std::strerror(error));
    }
}

PseudoTerminal::~PseudoTerminal() {
    ::unlink(m_link.c_str());
    if (m_master >= 0)
        ::close(m_master);
}

bool PseudoTerminal::Connected() const {
    pollfd p{m_master, 0, 0};
    return ::poll(&p, 1, 0) >= 0 && (p.revents & POLLHUP) == 0;
}

} // namespace tensiq::sim
