#pragma once
// Pieces the benchmarks over the simulated unit share: a temporary install folder whose
// settings point port 1 at the unit's pseudo-terminal, and percentiles of a run's samples.

#include "platform/install_folder.h"
#include "platform/profile_file.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
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
        m_folder = std::filesystem::temp_directory_path() / ("orvex-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        ::setenv("ORVEX_INSTALL_DIR", m_folder.c_str(), 1);
        ProfileFile(JoinPath(m_folder.string(), kSettingsFileName)).writeString("Settings", "PortDevice1", device);
    }
    ~PortSetting()
    {
        ::unsetenv("ORVEX_INSTALL_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    PortSetting(const PortSetting &) = delete;
    PortSetting &operator=(const PortSetting &) = delete;

private:
    std::filesystem::path m_folder;
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
