#pragma once
// The line between the PC and the simulated unit: a pseudo-terminal whose master side the unit
// keeps, and whose slave path the PC opens as its serial port.
//
// The unit also holds the slave side open itself, in raw mode, so that the master reads no
// hang-up while the PC's port is closed or being reopened, and nothing is echoed back.
//
// Not copyable; closes both sides on destruction. Throws std::system_error when the system will
// not make one.

#include <string>

namespace unitsim {

class PseudoTerminal
{
public:
    PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;
    ~PseudoTerminal();

    // Non-blocking.
    [[nodiscard]] int masterFd() const { return m_master; }
    [[nodiscard]] const std::string &slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace unitsim
