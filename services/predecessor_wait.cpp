#include "services/predecessor_wait.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>

namespace services {

PredecessorWait::PredecessorWait(const std::string &installFolder, std::chrono::milliseconds limit)
    : m_folder(::open(installFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (!m_folder.valid()) {
        std::fprintf(stderr, "OrvexServices: cannot open the install folder %s to wait for the service before: %s\n",
                     installFolder.c_str(), std::strerror(errno));
        return;
    }
    // A service before ends within milliseconds of giving up its name; the limit is for one
    // that hangs in its tear-down.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (::flock(m_folder.get(), LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            std::fprintf(stderr, "OrvexServices: the service before has not ended (%s): starting without waiting "
                                 "longer\n",
                         std::strerror(errno));
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_held = true;
}

} // namespace services
