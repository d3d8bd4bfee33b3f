#include "link_fixture.h"

#include "platform/serial_port.h"
#include "tools/unit-sim/pseudo_terminal.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace linktest;

namespace {

class ASerialPort : public InstallFolderFixture
{
protected:
    void open(CSerialPort &port)
    {
        port.OpenDevice(m_line.slavePath(), 4800, CSerialPort::NoParity, CSerialPort::OneStopBit,
                        CSerialPort::NoFlowControl);
        port.SetTimeouts({50, 50, 50, 50, 50});
    }

    unitsim::PseudoTerminal m_line;
};

} // namespace

TEST_F(ASerialPort, NamesItsDeviceInTheSettingsFileElseTtyS)
{
    EXPECT_EQ(CSerialPort::DevicePath(3), "/dev/ttyS2");
    pointPortAt(3, "/dev/ttyUSB7");
    EXPECT_EQ(CSerialPort::DevicePath(3), "/dev/ttyUSB7");
    EXPECT_EQ(CSerialPort::DevicePath(1), "/dev/ttyS0");
}

TEST_F(ASerialPort, ThrowsErrnoAndTheSystemsTextWhenTheDeviceIsMissing)
{
    pointPortAt(2, (m_folder / "absent").string());
    CSerialPort port;
    try {
        port.Open(2, 4800, CSerialPort::NoParity, 8, CSerialPort::OneStopBit, CSerialPort::NoFlowControl, false);
        FAIL() << "opened a missing device";
    } catch (const CSerialException &error) {
        EXPECT_EQ(error.errorCode(), ENOENT);
        EXPECT_STREQ(error.what(), std::strerror(ENOENT));
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_THROW(port.Open(0, 4800, CSerialPort::NoParity, 8, CSerialPort::OneStopBit,
                           CSerialPort::NoFlowControl, false),
                 CSerialException);
}

TEST_F(ASerialPort, RefusesHandshakesItNeverUses)
{
    CSerialPort port;
    EXPECT_THROW(port.OpenDevice(m_line.slavePath(), 4800, CSerialPort::NoParity, CSerialPort::OneStopBit, 1),
                 CSerialException);
}

TEST_F(ASerialPort, ReturnsNothingFromASilentLineAndReadsWhatArrives)
{
    CSerialPort port;
    open(port);
    std::uint8_t byte = 0;
    EXPECT_EQ(port.Read(&byte, 1), 0u);

    const std::uint8_t sent[] = {0x02, 0x10, 0x03};
    ASSERT_EQ(::write(m_line.masterFd(), sent, sizeof sent), 3);
    std::uint8_t got[3] = {};
    EXPECT_EQ(port.Read(got, 3), 3u);
    EXPECT_EQ(std::memcmp(got, sent, 3), 0);

    EXPECT_EQ(port.Write(sent, 3), 3u);
    std::uint8_t echoed[3] = {};
    ASSERT_TRUE(waitUntil([&] { return ::read(m_line.masterFd(), echoed, 3) == 3; }));
    EXPECT_EQ(std::memcmp(echoed, sent, 3), 0);
}

TEST_F(ASerialPort, IsExclusiveWhileOpenAndFreeAfterClose)
{
    // The superuser passes the lock, so the lock is read back rather than only tried.
    const auto exclusive = [&]() -> int {
        const int fd = ::open(m_line.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return errno == EBUSY ? 1 : -1;
        int locked = 0;
        const int rc = ::ioctl(fd, TIOCGEXCL, &locked);
        ::close(fd);
        return rc == 0 ? (locked != 0 ? 1 : 0) : -1;
    };
    CSerialPort port;
    open(port);
    EXPECT_EQ(exclusive(), 1);
    port.Close();
    EXPECT_EQ(exclusive(), 0);
}

TEST_F(ASerialPort, SetsTheParityItIsAskedForWhateverTheLineWasLeftIn)
{
    // An earlier user left the line on mark parity.
    termios before{};
    ASSERT_EQ(::tcgetattr(m_line.masterFd(), &before), 0);
    before.c_cflag |= PARENB | PARODD | CMSPAR;
    ASSERT_EQ(::tcsetattr(m_line.masterFd(), TCSANOW, &before), 0);

    CSerialPort port;
    port.OpenDevice(m_line.slavePath(), 4800, CSerialPort::EvenParity, CSerialPort::OneStopBit,
                    CSerialPort::NoFlowControl);
    termios after{};
    ASSERT_EQ(::tcgetattr(m_line.masterFd(), &after), 0);
    // A pseudo-terminal keeps no parity enable bit of its own, but it keeps the mark/space one.
    EXPECT_EQ(after.c_cflag & CMSPAR, tcflag_t{0});
}
