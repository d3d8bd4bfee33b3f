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
//
// BM_ImportCost/n: one import of one file, through the same site data on a thread of its own:
// the large site; the file of 8,616 elements of 256 empty attributes (16.77 MB), which libxml2
// builds in about 500 MB; and, for each kind of node, the costliest file the import lets through:
// of the bound's size (16 MiB), with about as many copies of the kind as the admission admits,
// found by asking the admission itself. Counters: file_mb, import_ms, import_cpu_ms (of the
// thread), peak_growth_mb (the peak of VmRSS during the import over VmRSS before it),
// held_growth_mb (VmRSS after it over before), admitted (1 when the import gave S_OK).

#include "configstore/site_file_admission.h"
#include "configstore/xml_file.h"
#include "services/orvex_config_data.h"
#include "process_memory.h"
#include "site_file_text.h"
#include "support/tests/scoped_temp_folder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <malloc.h>
#include <unistd.h>

namespace {

using bench::Clock;
using bench::millisecondsSince;
using bench::residentMegabytes;
using bench::statusMegabytes;
void BM_LargeSiteMemory(benchmark::State &state)
{
    const ScopedInstallFolder install("site-memory-bench");
    const std::filesystem::path &folder = install.path();
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
}

// The large site, and one of ten cameras of 64 presets (70 KB).
BENCHMARK(BM_LargeSiteMemory)
    ->Args({100, 1400})
    ->Args({10, 64})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The file of `count` copies of `unit` that PaddedSiteText makes at the bound on site files, for
// about the largest count that the import admits, found by asking the admission itself: it
// weighs a few copies, and the count follows from the budget, then is lowered until admitted.
std::string costliestAdmitted(const std::string &unit)
{
    const auto text = [&](std::size_t count) {
        return bench::PaddedSiteText(configstore::kMaxSiteFileBytes, "", unit, count);
    };
    const auto weightOf = [&](std::size_t count) {
        std::string failure;
        std::uint64_t weight = 0;
        // Without the blanks before the root, which weigh nothing.
        const std::string copies = "<CONFIG><SITE NAME=\"Default\"><X>" + bench::Repeated(unit, count)
                                   + "</X></SITE></CONFIG>";
        (void)configstore::CheckSiteText(copies, &failure, &weight);
        return weight;
    };
    const auto admitted = [&](std::size_t count) {
        std::string failure;
        const std::string file = text(count);
        return !file.empty() && configstore::CheckSiteText(file, &failure) == S_OK;
    };
    const std::uint64_t perCopy = (weightOf(2000) - weightOf(1000)) / 1000;
    const std::uint64_t budget = configstore::SiteFileAdmission::budget(configstore::kMaxSiteFileBytes);
    std::size_t count = std::min<std::size_t>((budget - weightOf(0)) / std::max<std::uint64_t>(perCopy, 1),
                                              configstore::kMaxSiteFileBytes / unit.size());
    while (count > 0 && !admitted(count))
        count -= std::max<std::size_t>(count / 200, 1);
    return text(count);
}

struct ImportCase
{
    const char *label;
    std::string siteName;
    std::function<std::string()> text;
    bool mustImport;
};

const std::vector<ImportCase> &importCases()
{
    static const std::vector<ImportCase> cases = [] {
        const auto costliest = [](const char *label, std::string unit) {
            return ImportCase{label, "Default", [=] { return costliestAdmitted(unit); }, true};
        };
        std::string namespaces;
        for (int i = 0; i < configstore::SiteFileAdmission::kMaxAttributesPerElement; ++i)
            namespaces += " xmlns:n" + std::to_string(i) + "=\"u\"";
        return std::vector<ImportCase>{
            {"the large site", "Default", [] { return bench::LargeSiteText(100, 1400); }, true},
            {"8,616 elements of 256 empty attributes", "P",
             [] { return bench::EmptyAttributesText(8616, 256); }, false},
            costliest("elements <a/>", "<a/>"),
            costliest("elements and texts <a/>x", "<a/>x"),
            costliest("elements of the most empty attributes",
                      "<a" + bench::EmptyAttributes(configstore::SiteFileAdmission::kMaxAttributesPerElement)
                          + "/>"),
            costliest("elements of one empty attribute and texts", "<a b=\"\"/>x"),
            costliest("comments and texts <!---->x", "<!---->x"),
            costliest("processing instructions and texts <?a?>x", "<?a?>x"),
            costliest("CDATA sections and texts", "<![CDATA[x]]>y"),
            costliest("elements nested 250 deep", bench::Repeated("<a>", 250) + bench::Repeated("</a>", 250)),
            costliest("elements of the most namespace declarations", "<a" + namespaces + "/>"),
            costliest("elements of an xml:id each", "<a xml:id=\"i\"/>"),
        };
    }();
    return cases;
}

void BM_ImportCost(benchmark::State &state)
{
    const ImportCase &c = importCases().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(c.label);
    const ScopedInstallFolder install("import-cost-bench");
    const std::filesystem::path &folder = install.path();
    const std::string file = (folder / "site.ovx").string();
    {
        const std::string text = c.text();
        std::ofstream(file, std::ios::binary) << text;
        state.counters["file_mb"] = static_cast<double>(text.size()) / 1e6;
    }
    for (auto _ : state) {
        std::thread serviceThread([&] {
            services::OrvexConfigData site;
            if (site.InitializeStorage() != S_OK) {
                state.SkipWithError("no storage");
                return;
            }
            malloc_trim(0);
            const double before = residentMegabytes();
            bench::resetPeakMemory();
            const auto start = Clock::now();
            const double cpuStart = bench::threadCpuMilliseconds();
            const HRESULT hr = site.ImportSite(&c.siteName, &file);
            state.counters["import_ms"] = millisecondsSince(start);
            state.counters["import_cpu_ms"] = bench::threadCpuMilliseconds() - cpuStart;
            state.counters["peak_growth_mb"] = statusMegabytes("VmHWM:") - before;
            state.counters["held_growth_mb"] = residentMegabytes() - before;
            state.counters["admitted"] = hr == S_OK ? 1 : 0;
            if (c.mustImport && hr != S_OK)
                state.SkipWithError("a file that must import was refused");
        });
        serviceThread.join();
    }
}

BENCHMARK(BM_ImportCost)
    ->DenseRange(0, static_cast<int>(importCases().size()) - 1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
