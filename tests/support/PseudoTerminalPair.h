#pragma once
// A pseudo-terminal whose far end a test drives by hand: the master side here, the slave's path
// for the code under test to open.

#include <fcntl.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace tensiq::test {

class PseudoTerminalPair {
public:
    PseudoTerminalPair() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
            ::ptsname_r(m_master, name, sizeof name) != 0) {
            Close();
            return;
        }
        m_slavePath = name;
    }
    ~PseudoTerminalPair() { Close(); }
    PseudoTerminalPair(const PseudoTerminalPair&) = delete;
    PseudoTerminalPair& operator=(const PseudoTerminalPair&) = delete;

    bool IsOpen() const { return m_master >= 0; }
    int Master() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }
    // The far end hangs up.
    void Close() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_slavePath;
};

} // namespace tensiq::test
