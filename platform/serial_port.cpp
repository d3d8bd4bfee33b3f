#include "serial_port.h"

#include "install_folder.h"
#include "profile_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::optional<speed_t> speedFor(std::uint32_t baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return std::nullopt;
    }
}

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

} // namespace

CSerialException::CSerialException(int error, std::string device)
    : m_error(error), m_device(std::move(device)), m_text(std::strerror(error))
{
}

CSerialPort::~CSerialPort()
{
    Close();
}

std::string CSerialPort::DevicePath(int portNumber)
{
    const std::string key = "PortDevice" + std::to_string(portNumber);
    const std::string configured =
        ProfileFile(JoinPath(InstallFolder(), kSettingsFileName)).readString("Settings", key, "");
    if (!configured.empty())
        return configured;
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

void CSerialPort::Open(int portNumber, std::uint32_t baud, std::uint8_t parity, std::uint8_t /*dataBits*/,
                       std::uint8_t stop, std::uint8_t flow, bool /*overlapped*/)
{
    if (portNumber < 1)
        throw CSerialException(ENOENT, "port " + std::to_string(portNumber));
    OpenDevice(DevicePath(portNumber), baud, parity, stop, flow);
}

void CSerialPort::OpenDevice(const std::string &device, std::uint32_t baud, std::uint8_t parity,
                             std::uint8_t stop, std::uint8_t flow)
{
    Close();
    m_device = device;
    const auto speed = speedFor(baud);
    if (!speed || flow != NoFlowControl || parity > SpaceParity || stop > TwoStopBits)
        fail(EINVAL);

    m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        fail(errno);
    if (::ioctl(m_fd, TIOCEXCL) != 0)
        fail(errno);

    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        fail(errno);
    ::cfmakeraw(&tio);
    // CMSPAR goes too: left on from an earlier user, it would turn even or odd into space or mark.
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    switch (parity) {
    case EvenParity: tio.c_cflag |= PARENB; break;
    case OddParity: tio.c_cflag |= PARENB | PARODD; break;
    case MarkParity: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case SpaceParity: tio.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    // Linux has no one-and-a-half stop bits; two is the nearest the line can do.
    if (stop != OneStopBit)
        tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, *speed) != 0 || ::cfsetospeed(&tio, *speed) != 0)
        fail(errno);
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
        fail(errno);

    // tcsetattr succeeds when any one of the changes took; read back what the driver kept.
    termios check{};
    if (::tcgetattr(m_fd, &check) != 0)
        fail(errno);
    if (::cfgetospeed(&check) != *speed || (check.c_cflag & CSIZE) != CS8 || (check.c_cflag & CRTSCTS) != 0)
        fail(EIO);
    // The driver's buffers are not flushed: a frame the far end sent while the port was being
    // opened is still good, and leftovers of an earlier session are garbage the framer skips.
}

void CSerialPort::Close() noexcept
{
    if (m_fd < 0)
        return;
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

void CSerialPort::SetTimeouts(const SerialTimeouts &timeouts)
{
    if (m_fd < 0)
        fail(EBADF);
    m_timeouts = timeouts;
}

void CSerialPort::fail(int error)
{
    CSerialException failure(error, m_device);
    // A port that failed half-way through opening, or whose device went away, is not left open.
    Close();
    throw failure;
}

short CSerialPort::waitFor(short events, int timeoutMs)
{
    pollfd pfd{m_fd, events, 0};
    for (;;) {
        const int n = ::poll(&pfd, 1, timeoutMs);
        if (n > 0)
            return pfd.revents;
        if (n == 0)
            return 0;
        if (errno != EINTR)
            fail(errno);
    }
}

std::size_t CSerialPort::Read(void *buffer, std::size_t count)
{
    if (m_fd < 0)
        fail(EBADF);
    auto *bytes = static_cast<std::uint8_t *>(buffer);
    const std::uint64_t total =
        std::uint64_t(m_timeouts.readTotalMultiplier) * count + m_timeouts.readTotalConstant;
    const auto deadline = Clock::now() + std::chrono::milliseconds(total);
    std::optional<Clock::time_point> lastByte;

    // -1: wait without limit; 0: the time-outs have run out.
    const auto remaining = [&]() -> int {
        int waitMs = total > 0 ? millisecondsUntil(deadline) : -1;
        if (lastByte && m_timeouts.readInterval > 0) {
            const int interval =
                millisecondsUntil(*lastByte + std::chrono::milliseconds(m_timeouts.readInterval));
            waitMs = waitMs < 0 ? interval : std::min(waitMs, interval);
        }
        return waitMs;
    };

    std::size_t got = 0;
    bool hungUp = false;
    while (got < count) {
        const ssize_t n = ::read(m_fd, bytes + got, count - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            lastByte = Clock::now();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            fail(errno);
        // A raw tty with VMIN 0 reads 0 bytes when it has none; after a hang-up it always does.
        if (hungUp)
            fail(EIO);
        const int waitMs = remaining();
        if (waitMs == 0)
            break;
        const short revents = waitFor(POLLIN, waitMs);
        // Data still buffered is read first; a hang-up with nothing left to read is the end.
        hungUp = (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }
    return got;
}

std::size_t CSerialPort::Write(const void *buffer, std::size_t count)
{
    if (m_fd < 0)
        fail(EBADF);
    const auto *bytes = static_cast<const std::uint8_t *>(buffer);
    const std::uint64_t total =
        std::uint64_t(m_timeouts.writeTotalMultiplier) * count + m_timeouts.writeTotalConstant;
    const auto deadline = Clock::now() + std::chrono::milliseconds(total);

    std::size_t sent = 0;
    while (sent < count) {
        const ssize_t n = ::write(m_fd, bytes + sent, count - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            fail(errno);
        const int waitMs = total > 0 ? millisecondsUntil(deadline) : -1;
        if (waitMs == 0)
            break;
        const short revents = waitFor(POLLOUT, waitMs);
        if (revents == 0)
            break;
        if ((revents & POLLOUT) == 0)
            fail(EIO);
    }
    return sent;
}
