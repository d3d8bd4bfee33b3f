#pragma once
// What the benchmarks of site files read of their own process: its resident memory and the peak
// of it (from /proc/self/status), elapsed times and the CPU time of a thread.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include <time.h>

namespace bench {

using Clock = std::chrono::steady_clock;

// A field of /proc/self/status given in kB ("VmRSS:", "VmHWM:"), in MB.
inline double statusMegabytes(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field))
            return std::strtod(line.c_str() + field.size(), nullptr) / 1024.0;
    }
    return 0;
}

inline double residentMegabytes()
{
    return statusMegabytes("VmRSS:");
}

// Sets the peak (VmHWM) to the present resident memory.
inline void resetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The CPU time of the calling thread, in ms: on a loaded machine a truer measure of one call's
// own work than the time elapsed.
inline double threadCpuMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace bench
