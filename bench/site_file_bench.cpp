// Site files at the edges of what the import admits, through the service's site data on a thread
// of its own, as on the service thread.
//
// BM_DenseSiteRoundTrip: a site of 32,767 cameras, 32,767 devices and 32,767 points of sale, as
// a client builds one (NewCamera, Append, NewPOS), saved, exported, imported back and loaded.
// Counters: file_mb, save_ms, export_ms, import_ms, load_ms, the same in the thread's CPU time
// (save_cpu_ms...), and round_trip (1 when every step answered S_OK and the loaded site counts what
// was built).
//
// BM_HostileImport/n: one import of a file made to cost libxml2 out of proportion to its size:
// a document type giving every element `<a/>` a namespace by default whose URI is 8,109
// characters long (1 MiB and 4 MiB files), and elements of 1.68 million distinct names (16 MiB).
// Counters: file_mb, import_ms, import_cpu_ms (of the thread), peak_growth_mb (VmHWM during the
// import over VmRSS before it),
// held_growth_mb (VmRSS after it over before), admitted (1 when the import gave S_OK).
//
// BM_LetGoOfStorage: the large site (14.6 MB) imported and loaded, then UnInitializeStorage and
// InitializeStorage again. Counters, VmRSS in MB: rss_before, rss_loaded, rss_uninitialised,
// rss_initialised_again.
//
// BM_FailingImports: ten imports of a site that none of ten different files holds, each file of
// 120,000 distinct names of 70 characters (8.9 MB). Counters: first_ms, tenth_ms, the same in the
// thread's CPU time (first_cpu_ms, tenth_cpu_ms), growth_mb (VmRSS after the tenth over before the
// first).

#include "services/orvex_config_data.h"
#include "process_memory.h"
#include "site_file_text.h"
#include "support/tests/scoped_temp_folder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <malloc.h>

namespace {

using bench::Clock;
using bench::millisecondsSince;
using bench::residentMegabytes;
using bench::statusMegabytes;

constexpr int kMaxRecords = 32767;
// Runs `body` on a thread of its own with fresh site data whose storage is initialised.
void onServiceThread(benchmark::State &state, const std::function<void(services::OrvexConfigData &)> &body)
{
    std::thread serviceThread([&] {
        services::OrvexConfigData site;
        if (site.InitializeStorage() != S_OK) {
            state.SkipWithError("no storage");
            return;
        }
        body(site);
    });
    serviceThread.join();
}

void writeFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

void BM_DenseSiteRoundTrip(benchmark::State &state)
{
    const ScopedInstallFolder install("dense-site-bench");
    const std::string file = install.file("dense.ovx");
    const std::string name = "Default";
    for (auto _ : state) {
        onServiceThread(state, [&](services::OrvexConfigData &site) {
            std::shared_ptr<services::ICameraData> cameras;
            std::shared_ptr<services::IDeviceData> devices;
            std::shared_ptr<services::IPOSData> points;
            if (site.NewSite(&name) != S_OK || site.LoadSite(&name) != S_OK
                || site.RetrieveCamera(&cameras) != S_OK || site.RetrieveDevice(&devices) != S_OK
                || site.RetrievePOS(&points) != S_OK) {
                state.SkipWithError("no site to fill");
                return;
            }
            std::int16_t index = 0;
            for (int n = 1; n <= kMaxRecords; ++n) {
                cameras->NewCamera(static_cast<std::int16_t>(n), &index);
                devices->Append(&index);
                points->NewPOS(static_cast<std::int16_t>(n), &index);
            }
            // Each step's time elapsed and its CPU time on this thread.
            const auto timed = [&](const std::string &step, const std::function<HRESULT()> &call) {
                const auto start = Clock::now();
                const double cpuStart = bench::threadCpuMilliseconds();
                const HRESULT hr = call();
                state.counters[step + "_ms"] = millisecondsSince(start);
                state.counters[step + "_cpu_ms"] = bench::threadCpuMilliseconds() - cpuStart;
                return hr;
            };
            const HRESULT saved = timed("save", [&] { return site.Save(); });
            const HRESULT exported = timed("export", [&] { return site.ExportSite(&name, &file); });
            std::error_code error;
            state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(file, error)) / 1e6;
            site.UnloadSite();
            const HRESULT imported = timed("import", [&] { return site.ImportSite(&name, &file); });
            const HRESULT loaded = timed("load", [&] { return imported == S_OK ? site.LoadSite(&name) : imported; });
            std::int16_t cameraCount = 0;
            std::int16_t deviceCount = 0;
            std::int16_t pointCount = 0;
            if (loaded == S_OK) {
                site.RetrieveCamera(&cameras);
                site.RetrieveDevice(&devices);
                site.RetrievePOS(&points);
                cameras->CountCameras(&cameraCount);
                devices->Count(&deviceCount);
                points->Count(&pointCount);
            }
            state.counters["round_trip"] = saved == S_OK && exported == S_OK && loaded == S_OK
                                                   && cameraCount == kMaxRecords && deviceCount == kMaxRecords
                                                   && pointCount == kMaxRecords
                                               ? 1
                                               : 0;
        });
    }
}

BENCHMARK(BM_DenseSiteRoundTrip)->Iterations(1)->Unit(benchmark::kMillisecond);

// `<CONFIG><SITE NAME="Default">`, then `element(i)` for i = 0, 1, ... (at most `count` of
// them) while the file stays within `bytes`, then the end of the site, after `prolog`.
std::string filledSite(std::size_t bytes, const std::string &prolog,
                       const std::function<std::string(std::size_t)> &element,
                       std::size_t count = SIZE_MAX)
{
    const std::string tail = "</SITE></CONFIG>\n";
    std::string text = prolog + "<CONFIG><SITE NAME=\"Default\">";
    for (std::size_t i = 0; i < count; ++i) {
        const std::string next = element(i);
        if (text.size() + next.size() + tail.size() > bytes)
            break;
        text += next;
    }
    return text + tail;
}

// `width` decimal digits of `n`, with leading zeros.
std::string digits(std::size_t n, int width)
{
    std::string text(static_cast<std::size_t>(width), '0');
    for (auto at = text.rbegin(); at != text.rend() && n > 0; ++at, n /= 10)
        *at = static_cast<char>('0' + n % 10);
    return text;
}

std::string namespaceDefaultText(std::size_t bytes)
{
    const std::string uri = "http://x/" + std::string(8100, 'u');
    return filledSite(bytes, "<!DOCTYPE CONFIG [<!ATTLIST a xmlns:p CDATA \"" + uri + "\">]>",
                      [](std::size_t) { return std::string("<a/>"); });
}

std::string distinctNamesText(std::size_t bytes)
{
    return filledSite(bytes, "", [](std::size_t i) { return "<z" + digits(i, 6) + "/>"; });
}

struct HostileCase
{
    const char *label;
    std::function<std::string()> text;
};

const std::vector<HostileCase> kHostileCases = {
    {"namespace default of 8,109 characters, 1 MiB", [] { return namespaceDefaultText(1U << 20U); }},
    {"namespace default of 8,109 characters, 4 MiB", [] { return namespaceDefaultText(4U << 20U); }},
    {"distinct names, 16 MiB", [] { return distinctNamesText(16U << 20U); }},
};

void BM_HostileImport(benchmark::State &state)
{
    const HostileCase &c = kHostileCases.at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(c.label);
    const ScopedInstallFolder install("hostile-import-bench");
    const std::string file = install.file("site.ovx");
    {
        const std::string text = c.text();
        writeFile(file, text);
        state.counters["file_mb"] = static_cast<double>(text.size()) / 1e6;
    }
    const std::string name = "Default";
    for (auto _ : state) {
        onServiceThread(state, [&](services::OrvexConfigData &site) {
            malloc_trim(0);
            const double before = residentMegabytes();
            bench::resetPeakMemory();
            const auto start = Clock::now();
            const double cpuStart = bench::threadCpuMilliseconds();
            const HRESULT hr = site.ImportSite(&name, &file);
            state.counters["import_ms"] = millisecondsSince(start);
            state.counters["import_cpu_ms"] = bench::threadCpuMilliseconds() - cpuStart;
            state.counters["peak_growth_mb"] = statusMegabytes("VmHWM:") - before;
            state.counters["held_growth_mb"] = residentMegabytes() - before;
            state.counters["admitted"] = hr == S_OK ? 1 : 0;
        });
    }
}

BENCHMARK(BM_HostileImport)
    ->DenseRange(0, static_cast<int>(kHostileCases.size()) - 1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_LetGoOfStorage(benchmark::State &state)
{
    const ScopedInstallFolder install("let-go-bench");
    const std::string file = install.file("large.ovx");
    writeFile(file, bench::LargeSiteText(100, 1400));
    const std::string name = "Default";
    for (auto _ : state) {
        std::thread serviceThread([&] {
            services::OrvexConfigData site;
            malloc_trim(0);
            state.counters["rss_before"] = residentMegabytes();
            if (site.InitializeStorage() != S_OK || site.ImportSite(&name, &file) != S_OK
                || site.LoadSite(&name) != S_OK) {
                state.SkipWithError("the site did not load");
                return;
            }
            state.counters["rss_loaded"] = residentMegabytes();
            site.UnInitializeStorage();
            state.counters["rss_uninitialised"] = residentMegabytes();
            site.InitializeStorage();
            state.counters["rss_initialised_again"] = residentMegabytes();
        });
        serviceThread.join();
    }
}

BENCHMARK(BM_LetGoOfStorage)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FailingImports(benchmark::State &state)
{
    constexpr int kFiles = 10;
    constexpr int kNames = 120000;
    const ScopedInstallFolder install("failing-imports-bench");
    std::vector<std::string> files;
    for (int f = 0; f < kFiles; ++f) {
        files.push_back(install.file("names" + std::to_string(f) + ".ovx"));
        const auto element = [&](std::size_t i) {
            return "<n" + digits(static_cast<std::size_t>(f), 2) + digits(i, 67) + "/>";
        };
        writeFile(files.back(), filledSite(SIZE_MAX, "", element, kNames));
    }
    const std::string name = "NOSUCH";
    for (auto _ : state) {
        onServiceThread(state, [&](services::OrvexConfigData &site) {
            malloc_trim(0);
            const double before = residentMegabytes();
            for (int f = 0; f < kFiles; ++f) {
                const auto start = Clock::now();
                const double cpuStart = bench::threadCpuMilliseconds();
                if (site.ImportSite(&name, &files[static_cast<std::size_t>(f)]) == S_OK)
                    state.SkipWithError("a file without the site imported");
                const double ms = millisecondsSince(start);
                const double cpuMs = bench::threadCpuMilliseconds() - cpuStart;
                if (f == 0) {
                    state.counters["first_ms"] = ms;
                    state.counters["first_cpu_ms"] = cpuMs;
                }
                if (f == kFiles - 1) {
                    state.counters["tenth_ms"] = ms;
                    state.counters["tenth_cpu_ms"] = cpuMs;
                }
            }
            state.counters["growth_mb"] = residentMegabytes() - before;
        });
    }
}

BENCHMARK(BM_FailingImports)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
