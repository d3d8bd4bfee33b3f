#pragma once
// Pieces the benchmarks over the simulated unit share: a temporary install folder whose
// settings point port 1 at the unit's pseudo-terminal, the unit's frame write times, and
// percentiles of a run's samples.

#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "support/tests/scoped_temp_folder.h"
#include "tools/unit-sim/frame_log.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace bench {

// Port 1 of a temporary install folder, pointed at `device` for the life of the object.
class PortSetting
{
public:
    explicit PortSetting(const std::string &device)
    {
        ProfileFile(JoinPath(m_folder.path().string(), kSettingsFileName))
            .writeString("Settings", "PortDevice1", device);
    }

private:
    ScopedInstallFolder m_folder{"orvex-bench"};
};

// When the unit wrote each of its frames (of one type, or of every type when `type` is 0): the
// moment just before it wrote the frame's bytes. The unit notes a write before making it, so a
// frame the PC has handled is noted already; at() waits for one still to come.
class FrameWrites
{
public:
    explicit FrameWrites(std::uint8_t type = 0) : m_type(type) {}

    // The unit's log observer; runs on the unit's thread.
    void note(const unitsim::LogEntry &entry)
    {
        if (entry.kind != unitsim::LogKind::FrameSent || (m_type != 0 && entry.type != m_type))
            return;
        {
            std::lock_guard lock(m_mutex);
            m_writes.push_back(entry.at);
        }
        m_noted.notify_all();
    }

    // The writes noted so far.
    [[nodiscard]] std::size_t count()
    {
        std::lock_guard lock(m_mutex);
        return m_writes.size();
    }
    // The time of write number `n` (0-based); throws when it is not noted within 2 s.
    std::chrono::steady_clock::time_point at(std::size_t n)
    {
        std::unique_lock lock(m_mutex);
        if (!m_noted.wait_for(lock, std::chrono::seconds(2), [&] { return m_writes.size() > n; }))
            throw std::runtime_error("write not logged");
        return m_writes[n];
    }

private:
    const std::uint8_t m_type;
    std::mutex m_mutex;
    std::condition_variable m_noted;
    std::vector<std::chrono::steady_clock::time_point> m_writes;
};

// The sample below which a share `p` (0..1) of the samples lie; 0 for none.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

} // namespace bench
