#pragma once
// One running service per install folder at a time. The bus starts a new service as soon as the
// one before has given up its name, which that one does before it closes the unit's serial port
// (it first answers the calls that reached it); a new service that opened the port meanwhile
// would share the line with it, or lose its settings when that one lets go of the port. So a
// service waits, before it builds anything, until the one before it has ended.
//
// The mark of a running service is an advisory lock (flock) on the install folder itself, which
// the kernel lets go when the process ends, however it ends; no file is written.
//
// Ownership: holds the folder's descriptor for the life of the process' service. Threads: any.
// Errors: none thrown; a folder that cannot be opened, or a service before that has not ended
// within the limit, is reported on stderr and the new service goes on without waiting longer.

#include "platform/unique_fd.h"

#include <chrono>
#include <string>

namespace services {

class PredecessorWait
{
public:
    // Waits up to `limit` for the service before to end, then marks this one as running.
    PredecessorWait(const std::string &installFolder, std::chrono::milliseconds limit);

    // This service holds the mark (the one before has ended, or there was none).
    [[nodiscard]] bool held() const { return m_held; }

private:
    UniqueFd m_folder;
    bool m_held = false;
};

} // namespace services
