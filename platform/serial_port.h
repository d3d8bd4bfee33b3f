#pragma once
// A serial port on termios, in place of the Windows communications device.
//
// Problem and conditions: the link thread reads the unit one byte at a time and must never hang
// on a silent or vanished device. So the descriptor is non-blocking (O_NONBLOCK|O_NOCTTY) and
// every wait is a poll() bounded by the time-outs, which keep the Windows meaning:
//   - a read waits at most readTotalMultiplier * count + readTotalConstant ms in all, and, once
//     a byte has come, at most readInterval ms for the next one; it returns what it has then;
//   - a write waits at most writeTotalMultiplier * count + writeTotalConstant ms (0 and 0: no
//     limit) and returns how many bytes went out.
// All zero read time-outs make a read wait until `count` bytes have come.
//
// The port is opened exclusively (TIOCEXCL, lifted again on Close so that a peer holding the
// other end of a pseudo-terminal can let the next link in), in raw mode (cfmakeraw), with the
// speed and frame read back after setting them.
//
// Port number n names the device in `PortDevice<n>` of section `Settings` of OrvexSettings.ini in
// the install folder, else /dev/ttyS<n-1>; tests point it at a pseudo-terminal.
//
// Errors: every failing system call throws CSerialException with errno and strerror's text.
// Thread affinity: none; one thread uses a port at a time. Not copyable; closes on destruction.

#include "platform/export.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

class ORVEX_INTERFACE CSerialException : public std::exception
{
public:
    // `error` is an errno value; the text is strerror's for it.
    CSerialException(int error, std::string device);

    [[nodiscard]] int errorCode() const noexcept { return m_error; }
    [[nodiscard]] const std::string &device() const noexcept { return m_device; }
    [[nodiscard]] const char *what() const noexcept override { return m_text.c_str(); }

private:
    int m_error;
    std::string m_device;
    std::string m_text;
};

struct SerialTimeouts
{
    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
};

class CSerialPort
{
public:
    // Parity codes, stop codes and flow codes as the link passes them.
    enum Parity : std::uint8_t { EvenParity = 0, MarkParity = 1, NoParity = 2, OddParity = 3, SpaceParity = 4 };
    enum StopBits : std::uint8_t { OneStopBit = 0, OnePointFiveStopBits = 1, TwoStopBits = 2 };
    enum FlowControl : std::uint8_t { NoFlowControl = 0 };

    CSerialPort() = default;
    CSerialPort(const CSerialPort &) = delete;
    CSerialPort &operator=(const CSerialPort &) = delete;
    ~CSerialPort();

    // The device that port number `portNumber` stands for (see above).
    [[nodiscard]] static std::string DevicePath(int portNumber);

    // Opens port `portNumber`. The data-bits argument is ignored: bytes are always 8 bits.
    // `overlapped` has no meaning here: every wait is already bounded. Flow codes other than
    // NoFlowControl (hardware handshakes, XON/XOFF) are refused with EINVAL; nothing selects them.
    void Open(int portNumber, std::uint32_t baud, std::uint8_t parity, std::uint8_t dataBits,
              std::uint8_t stop, std::uint8_t flow, bool overlapped);
    // As Open, on a device path.
    void OpenDevice(const std::string &device, std::uint32_t baud, std::uint8_t parity,
                    std::uint8_t stop, std::uint8_t flow);
    void Close() noexcept;
    [[nodiscard]] bool IsOpen() const noexcept { return m_fd >= 0; }
    [[nodiscard]] const std::string &device() const noexcept { return m_device; }

    void SetTimeouts(const SerialTimeouts &timeouts);
    [[nodiscard]] const SerialTimeouts &timeouts() const noexcept { return m_timeouts; }

    // Bytes read, 0 when the time-outs ran out first. Throws on a failed read (for example EIO
    // when the far end of a pseudo-terminal has gone).
    std::size_t Read(void *buffer, std::size_t count);
    // Bytes written; fewer than `count` when the write time-out ran out.
    std::size_t Write(const void *buffer, std::size_t count);

private:
    [[noreturn]] void fail(int error);
    // Waits for `events` until `timeoutMs` (-1: no limit); the poll events, 0 when the time ran out.
    short waitFor(short events, int timeoutMs);

    int m_fd = -1;
    std::string m_device;
    SerialTimeouts m_timeouts;
};
