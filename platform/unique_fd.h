#pragma once
// An owned POSIX file descriptor, closed when the owner goes, and a write that does not stop
// half-way on a short write or a signal.
//
// Not thread-safe; move-only. close() reports whether the kernel accepted the close, which for a
// file written without a sync is the last chance to learn that the data did not land.

#include <string_view>

#include <unistd.h>

class UniqueFd
{
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd &&other) noexcept : m_fd(other.release()) {}
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        if (this != &other) {
            close();
            m_fd = other.release();
        }
        return *this;
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;
    ~UniqueFd() { close(); }

    [[nodiscard]] bool valid() const { return m_fd >= 0; }
    [[nodiscard]] int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    // True when there was nothing to close or the close succeeded.
    bool close()
    {
        if (m_fd < 0)
            return true;
        const int fd = release();
        return ::close(fd) == 0;
    }

private:
    int m_fd = -1;
};

// Writes all of `data`, retrying short writes and EINTR; false on the first real failure.
[[nodiscard]] bool WriteAll(int fd, std::string_view data);
