// Export, import and save of a large site through the configuration store, against libxml2
// parsing and saving the same file raw.
//
// The site: 48 dispensers with camera presets for 13 events, 10 cameras of 64 presets, 3 points
// of sale, 7 devices (tasks), 20 interest zones and 13 event priorities. The store's writes go
// through a synced temporary file; the raw saves are shown both without and with that sync, so
// that the cost of the file handling and of the store itself can be told apart.
//
// StoreImportFifteenMegabytes: the import of a site file of about 15 MB (100 cameras of 1,400
// presets), just under the bound on site files. RefuseManyAttributes/n: the import of a file
// whose one element has n attributes (40,000: 430 KB; 200,000: 2.3 MB), which libxml2 2.9
// would parse in time quadratic in n. RefuseErrorFlood: the import of 15 MB of a comment that
// is one error every three bytes, which libxml2 2.9 parses on after.

#include "interfaces/configstore/orvex_config_factory.h"
#include "site_file_text.h"
#include "support/tests/scoped_temp_folder.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace configstore;

const std::string kSiteName = "Large forecourt";

std::filesystem::path benchFolder()
{
    static const ScopedInstallFolder folder("configstore-bench");
    return folder.path();
}

void buildLargeSite(ISite &site)
{
    for (std::int16_t event = 1; event <= 13; ++event) {
        std::shared_ptr<IEvent> priority;
        site.NewEvent(event, &priority);
        priority->SetPriority(static_cast<std::int16_t>(event % 5 + 1));
    }
    for (std::int16_t number = 1; number <= 48; ++number) {
        std::shared_ptr<IDispenser> dispenser;
        site.NewDispenser(number, &dispenser);
        std::shared_ptr<IDispenserMap> map;
        dispenser->GetDispenserMap(&map);
        map->SetLoop(static_cast<std::int16_t>(number / 16 + 1));
        map->SetAddress(number);
        std::shared_ptr<ICameraPresets> presets;
        dispenser->GetCameraPresets(&presets);
        for (std::int16_t event = 1; event <= 13; ++event) {
            std::shared_ptr<IPresetEvent> preset;
            presets->NewPresetEvent(event, &preset);
            preset->SetCamera(static_cast<std::int16_t>(number % 10 + 1));
            preset->SetPresetValue(static_cast<std::int16_t>(event + number % 50));
        }
    }
    for (std::int16_t number = 0; number < 7; ++number) {
        std::shared_ptr<ITask> task;
        site.NewTask(number, &task);
        task->SetType(static_cast<std::int16_t>(20 + number));
        task->SetInport(static_cast<std::int16_t>(number + 1));
    }
    for (std::int16_t number = 1; number <= 20; ++number) {
        std::shared_ptr<IInterestZone> zone;
        site.NewInterestZone(number, &zone);
        const std::string text = "Zone " + std::to_string(number) + " & kiosk";
        zone->SetText(&text);
    }
    for (std::int16_t number = 1; number <= 10; ++number) {
        std::shared_ptr<ICamera> camera;
        site.NewCamera(number, &camera);
        camera->SetType(80);
        for (std::int16_t presetNum = 1; presetNum <= 64; ++presetNum) {
            std::shared_ptr<IPreset> preset;
            camera->NewPreset(presetNum, &preset);
            preset->SetComment(("Preset " + std::to_string(presetNum)).c_str());
        }
    }
    for (std::int16_t number = 1; number <= 3; ++number) {
        std::shared_ptr<IPOS> pos;
        site.NewPOS(number, &pos);
        pos->SetCamera(number);
        pos->SetMovableFlag(number == 1);
    }
}

// One store holding the large site, and its exported file.
struct Fixture
{
    std::shared_ptr<IOrvexConfig> config;
    std::string siteFile;

    Fixture()
    {
        siteFile = (benchFolder() / "large.ovx").string();
        CreateOrvexConfig(&config);
        config->LoadAndParse();
        std::shared_ptr<ISite> site;
        config->NewSite(&kSiteName, &site);
        buildLargeSite(*site);
        config->ExportSite(&kSiteName, &siteFile);
    }
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void reportFileSize(benchmark::State &state)
{
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(fixture().siteFile));
}

void BM_StoreExport(benchmark::State &state)
{
    Fixture &f = fixture();
    const std::string out = (benchFolder() / "export.ovx").string();
    for (auto _ : state) {
        if (f.config->ExportSite(&kSiteName, &out) != S_OK)
            state.SkipWithError("export failed");
    }
    reportFileSize(state);
}

void BM_StoreImport(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        if (f.config->ImportSite(&kSiteName, &f.siteFile) != S_OK)
            state.SkipWithError("import failed");
    }
    reportFileSize(state);
}

void BM_StoreSave(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        if (f.config->SaveSite() != S_OK)
            state.SkipWithError("save failed");
    }
    reportFileSize(state);
}

void BM_RawParse(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadFile(f.siteFile.c_str(), nullptr, XML_PARSE_NONET);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    reportFileSize(state);
}

void rawSave(benchmark::State &state, bool sync)
{
    Fixture &f = fixture();
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(xmlReadFile(f.siteFile.c_str(), nullptr, XML_PARSE_NONET),
                                                       xmlFreeDoc);
    const std::string out = (benchFolder() / "raw.ovx").string();
    for (auto _ : state) {
        if (xmlSaveFormatFileEnc(out.c_str(), doc.get(), "UTF-8", 1) < 0)
            state.SkipWithError("raw save failed");
        if (sync) {
            const int fd = ::open(out.c_str(), O_RDONLY);
            ::fsync(fd);
            ::close(fd);
        }
    }
    reportFileSize(state);
}

void BM_RawSave(benchmark::State &state)
{
    rawSave(state, false);
}

void BM_RawSaveSynced(benchmark::State &state)
{
    rawSave(state, true);
}

// Imports `text`, written to a file of the bench folder, into the fixture's store, expecting `hr`.
void importText(benchmark::State &state, const std::string &name, const std::string &text, HRESULT expected)
{
    Fixture &f = fixture();
    const std::string file = (benchFolder() / name).string();
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    const std::string site = "Default";
    for (auto _ : state) {
        if (f.config->ImportSite(&site, &file) != expected)
            state.SkipWithError(("import gave another code: " + f.config->LastFileError()).c_str());
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
}

void BM_StoreImportFifteenMegabytes(benchmark::State &state)
{
    importText(state, "fifteen.ovx", bench::LargeSiteText(100, 1400), S_OK);
}

void BM_RefuseManyAttributes(benchmark::State &state)
{
    importText(state, "attributes.ovx", bench::ManyAttributesText(static_cast<int>(state.range(0))), E_ABORT);
}

void BM_RefuseErrorFlood(benchmark::State &state)
{
    importText(state, "errors.ovx", bench::ErrorFloodText(15U << 20U), E_ABORT);
}

BENCHMARK(BM_StoreExport)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreSave)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawSave)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawSaveSynced)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreImport)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawParse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreImportFifteenMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseManyAttributes)->Arg(40000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseErrorFlood)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
