#include "regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int kindError(mode_t mode)
{
    if (S_ISREG(mode))
        return 0;
    return S_ISDIR(mode) ? EISDIR : kNotRegularFileError;
}

} // namespace

UniqueFd OpenRegularFile(const std::string &path, int *error)
{
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; it changes nothing for
    // a plain file. O_NOCTTY: a terminal given by mistake never becomes ours.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        *error = errno;
        return {};
    }
    struct stat status{};
    if (::fstat(fd.get(), &status) != 0) {
        *error = errno;
        return {};
    }
    if (const int kind = kindError(status.st_mode); kind != 0) {
        *error = kind;
        return {};
    }
    *error = 0;
    return fd;
}

int ReadRegularFile(const std::string &path, std::size_t maxBytes, std::string *contents)
{
    int err = 0;
    const UniqueFd fd = OpenRegularFile(path, &err);
    if (!fd.valid())
        return err;
    struct stat status{};
    if (::fstat(fd.get(), &status) != 0)
        return errno;
    if (static_cast<std::uintmax_t>(status.st_size) > maxBytes)
        return EFBIG;
    std::string data;
    data.resize(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    // The file may grow or shrink while it is read: read to its end, within the bound.
    for (;;) {
        if (done == data.size()) {
            if (data.size() >= maxBytes) {
                char probe = 0;
                const ssize_t more = ::read(fd.get(), &probe, 1);
                if (more > 0)
                    return EFBIG;
                if (more < 0 && errno == EINTR)
                    continue;
                if (more < 0)
                    return errno;
                break;
            }
            data.resize(std::min(maxBytes, std::max<std::size_t>(data.size() * 2, 4096)));
        }
        const ssize_t n = ::read(fd.get(), data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    data.resize(done);
    *contents = std::move(data);
    return 0;
}

int CheckReplaceableFile(const std::string &path)
{
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0)
        return 0;
    return kindError(status.st_mode);
}

std::string DescribeFileError(int error)
{
    switch (error) {
    case EISDIR: return "it is a folder";
    case kNotRegularFileError: return "it is not a plain file (a FIFO, a device or a socket)";
    case EFBIG: return "the file is too large";
    default: break;
    }
    char buffer[128];
    return strerror_r(error, buffer, sizeof buffer);
}
