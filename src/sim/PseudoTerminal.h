#pragma once
#include <string>

namespace tensiq::sim {

// One pseudo-terminal: the simulator keeps the master, the program under test opens the slave
// through a COM<n> link. Both go away with the object.
class PseudoTerminal {
public:
    PseudoTerminal(const std::string& linkPath);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int MasterFd() const { return m_master; }
    const std::string& SlavePath() const { return m_slave; }
    const std::string& LinkPath() const { return m_link; }

    // Whether a program has the slave open; while nobody has, output is dropped like bits on
    // a line that no one listens to.
    bool Connected() const;

private:
    int m_master = -1;
    std::string m_slave;
    std::string m_link;
};

} // namespace tensiq::sim
