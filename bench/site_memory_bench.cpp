// The service's resident memory (VmRSS) over the life of a large site, as clients drive it: the
// configuration tool opens a site file of about 15 MB (just under the bound on site files; and a
// small one for comparison) with InitializeStorage, ImportSite and LoadSite, closes it with
// UnloadSite and opens it again, which replaces the stored site; then the site is closed and
// deleted (UnloadSite, DeleteSite), and a copy of the file cut short is imported, which fails
// once all of it is parsed. The calls run on a thread of their own, as on the service thread.
// Counters, in MB: rss_before, rss_loaded (one site in the tables and the store), rss_reopened
// (after the second ImportSite and LoadSite), rss_let_go (after UnloadSite and DeleteSite),
// rss_trimmed (after a further malloc_trim(0)), rss_failed_import. In ms: import_ms and
// reimport_ms (ImportSite alone), delete_ms (DeleteSite), trim_ms (that further malloc_trim),
// failed_import_ms.

#include "services/orvex_config_data.h"
#include "site_file_text.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <malloc.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:"))
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return 0;
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BM_LargeSiteMemory(benchmark::State &state)
{
    const auto folder
        = std::filesystem::temp_directory_path() / ("site-memory-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ::setenv("ORVEX_INSTALL_DIR", folder.c_str(), 1);
    const std::string file = (folder / "large.ovx").string();
    const std::string brokenFile = (folder / "broken.ovx").string();
    {
        const std::string text
            = bench::LargeSiteText(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        std::ofstream(file, std::ios::binary) << text;
        std::ofstream(brokenFile, std::ios::binary) << text.substr(0, text.size() - 20);
        state.counters["file_mb"] = static_cast<double>(text.size()) / 1e6;
    }
    for (auto _ : state) {
        std::thread serviceThread([&] {
            services::OrvexConfigData site;
            const std::string name = "Default";
            malloc_trim(0);
            state.counters["rss_before"] = residentMegabytes();
            const auto open = [&](const char *counter) {
                const auto start = Clock::now();
                const bool imported = site.ImportSite(&name, &file) == S_OK;
                state.counters[counter] = millisecondsSince(start);
                return imported && site.LoadSite(&name) == S_OK;
            };
            if (site.InitializeStorage() != S_OK || !open("import_ms")) {
                state.SkipWithError("the site did not load");
                return;
            }
            state.counters["rss_loaded"] = residentMegabytes();
            site.UnloadSite();
            if (!open("reimport_ms")) {
                state.SkipWithError("the site did not load again");
                return;
            }
            state.counters["rss_reopened"] = residentMegabytes();
            site.UnloadSite();
            auto start = Clock::now();
            site.DeleteSite(&name);
            state.counters["delete_ms"] = millisecondsSince(start);
            state.counters["rss_let_go"] = residentMegabytes();
            start = Clock::now();
            malloc_trim(0);
            state.counters["trim_ms"] = millisecondsSince(start);
            state.counters["rss_trimmed"] = residentMegabytes();
            start = Clock::now();
            if (site.ImportSite(&name, &brokenFile) != E_ABORT)
                state.SkipWithError("the cut file imported");
            state.counters["failed_import_ms"] = millisecondsSince(start);
            state.counters["rss_failed_import"] = residentMegabytes();
        });
        serviceThread.join();
    }
    ::unsetenv("ORVEX_INSTALL_DIR");
    std::filesystem::remove_all(folder);
}

// The large site, and one of ten cameras of 64 presets (70 KB).
BENCHMARK(BM_LargeSiteMemory)
    ->Args({100, 1400})
    ->Args({10, 64})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
