// LoadSite and Save of the service's in-process site data (OrvexConfigData over the
// configuration store), for sites whose numbered lists are long or hold items no number finds:
//
// LoadSiteBarePresets: site "P", one camera of 10,000 `<PRESET/>` without NUMBER (90 KB),
//   stored by ImportSite. The camera counts 10,000 presets and none answers to a number, so the
//   scan tries every number up to 32767.
// LoadSiteAttributePresets: the same camera with 8,616 presets of 256 attributes each
//   (16.77 MB). The import's bounds may come to refuse such a file, so the site gets into the
//   store without the import: the benchmark's own store parses the text with libxml2 into a
//   store document, as the import parses a file but without its look at the file first, and
//   hands OrvexConfigData the store's own site view of it.
// LoadSiteUnnumberedCameras: site "P" of 32,768 cameras, each of one `<PRESET/>` without NUMBER
//   (2.4 MB), stored by ImportSite: each camera counts a preset that no number finds.
//   LoadSiteUnnumberedCamerasAndDispensers: the same with 32,768 dispensers as well, each of one
//   preset event `<EVENT/>` without NUMBER (5.5 MB).
// LoadSiteLarge: the large valid site (100 cameras of 1,400 presets, 14.6 MB), stored by
//   ImportSite. SaveSiteLarge: Save of that site once loaded, which deletes every stored item
//   and creates each again, then writes the configuration file (synced).
//
// Counters: cameras and presets loaded, so that a run shows what was read, not only how fast.

#include "configstore/site.h"
#include "configstore/xml_document.h"
#include "services/orvex_config_data.h"
#include "site_file_text.h"
#include "support/tests/scoped_temp_folder.h"

#include "interfaces/configstore/iorvex_config.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>


namespace {

using services::OrvexConfigData;

// The install folder of the run, removed at its end.
const std::filesystem::path &benchFolder()
{
    static const ScopedInstallFolder folder("site-load-bench");
    return folder.path();
}

// A store of the one site that `text` holds, parsed into a store document in that document's
// dictionary, as the import parses a file. Serves LoadAndParse and GetSite only.
class ParsedSiteStore final : public configstore::IOrvexConfig
{
public:
    explicit ParsedSiteStore(const std::string &text) : m_document(configstore::XmlDocument::create())
    {
        xmlDocPtr doc = m_document->get();
        const std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                                   xmlFreeParserCtxt);
        xmlDictFree(context->dict);
        context->dict = doc->dict;
        xmlDictReference(doc->dict);
        // XML_PARSE_HUGE: read from memory in one piece, 16 MB pass libxml2's look-ahead limit,
        // which the import's reading of a file in chunks never meets.
        const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> parsed(
            xmlCtxtReadMemory(context.get(), text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                              XML_PARSE_NONET | XML_PARSE_HUGE),
            xmlFreeDoc);
        const xmlNodePtr fileRoot = parsed ? xmlDocGetRootElement(parsed.get()) : nullptr;
        m_site = fileRoot ? xmlFirstElementChild(fileRoot) : nullptr;
        if (m_site == nullptr)
            throw std::runtime_error("the text holds no site");
        const xmlNodePtr root = xmlNewDocNode(doc, nullptr, BAD_CAST "CONFIG", nullptr);
        xmlDocSetRootElement(doc, root);
        xmlUnlinkNode(m_site);
        xmlDOMWrapAdoptNode(nullptr, parsed.get(), m_site, doc, root, 0);
        xmlAddChild(root, m_site);
    }

    HRESULT GetSite(const std::string *, std::shared_ptr<configstore::ISite> *pISite) override
    {
        *pISite = std::make_shared<configstore::Site>(configstore::NodeRef(m_document, m_site));
        return S_OK;
    }
    HRESULT LoadAndParse() override { return S_OK; }
    HRESULT NewSite(const std::string *, std::shared_ptr<configstore::ISite> *) override { return E_NOTIMPL; }
    HRESULT DeleteSite(const std::string *) override { return E_NOTIMPL; }
    HRESULT ExportSite(const std::string *, const std::string *) override { return E_NOTIMPL; }
    HRESULT ImportSite(const std::string *, const std::string *) override { return E_NOTIMPL; }
    HRESULT EnumSites(std::vector<std::string> *, std::int32_t *) override { return E_NOTIMPL; }
    HRESULT SaveSite() override { return E_NOTIMPL; }

private:
    std::shared_ptr<configstore::XmlDocument> m_document;
    xmlNodePtr m_site = nullptr;
};

// Site data with storage, holding the site of `text` as `name` by ImportSite.
void importText(benchmark::State &state, OrvexConfigData &site, const std::string &name, const std::string &text)
{
    const std::string file = (benchFolder() / "site.ovx").string();
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    state.counters["file_bytes"] = static_cast<double>(text.size());
    if (site.InitializeStorage() != S_OK || site.ImportSite(&name, &file) != S_OK)
        state.SkipWithError("the site could not be imported");
}

void countLoaded(benchmark::State &state, OrvexConfigData &site)
{
    std::shared_ptr<services::ICameraData> cameras;
    site.RetrieveCamera(&cameras);
    std::int16_t count = 0;
    cameras->CountCameras(&count);
    double presets = 0;
    // An int, since a table may hold 32,767 records, the last 16-bit index.
    for (int camera = 1; camera <= count; ++camera) {
        std::int16_t n = 0;
        cameras->CountPresets(static_cast<std::int16_t>(camera), &n);
        presets += n;
    }
    state.counters["cameras"] = count;
    state.counters["presets"] = presets;
    std::shared_ptr<services::IDispenserData> dispensers;
    site.RetrieveDispenser(&dispensers);
    dispensers->CountDispensers(&count);
    state.counters["dispensers"] = count;
}

// LoadSite of `name`, then (untimed) UnloadSite, per iteration.
void loadSite(benchmark::State &state, OrvexConfigData &site, const std::string &name)
{
    for (auto _ : state) {
        if (site.LoadSite(&name) != S_OK) {
            state.SkipWithError("LoadSite failed");
            break;
        }
        state.PauseTiming();
        countLoaded(state, site);
        site.UnloadSite();
        state.ResumeTiming();
    }
}

// LoadSite of the site `name` that ImportSite stored from `text`.
void loadImported(benchmark::State &state, const std::string &name, const std::string &text)
{
    OrvexConfigData site;
    importText(state, site, name, text);
    loadSite(state, site, name);
}

void BM_LoadSiteBarePresets(benchmark::State &state)
{
    loadImported(state, "P", bench::EmptyAttributesText(10000, 0));
}

void BM_LoadSiteAttributePresets(benchmark::State &state)
{
    const std::string text = bench::EmptyAttributesText(8616, 256);
    state.counters["file_bytes"] = static_cast<double>(text.size());
    benchFolder();
    OrvexConfigData site{nullptr, {}, [&] { return std::make_shared<ParsedSiteStore>(text); }};
    if (site.InitializeStorage() != S_OK)
        state.SkipWithError("no storage");
    loadSite(state, site, "P");
}

void BM_LoadSiteUnnumberedCameras(benchmark::State &state)
{
    loadImported(state, "P", bench::UnnumberedListsText(32768, 0));
}

void BM_LoadSiteUnnumberedCamerasAndDispensers(benchmark::State &state)
{
    loadImported(state, "P", bench::UnnumberedListsText(32768, 32768));
}

void BM_LoadSiteLarge(benchmark::State &state)
{
    loadImported(state, "Default", bench::LargeSiteText(100, 1400));
}

void BM_SaveSiteLarge(benchmark::State &state)
{
    OrvexConfigData site;
    const std::string name = "Default";
    importText(state, site, name, bench::LargeSiteText(100, 1400));
    if (site.LoadSite(&name) != S_OK)
        state.SkipWithError("LoadSite failed");
    for (auto _ : state) {
        if (site.Save() != S_OK) {
            state.SkipWithError("Save failed");
            break;
        }
    }
    countLoaded(state, site);
}

BENCHMARK(BM_LoadSiteBarePresets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSiteAttributePresets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSiteUnnumberedCameras)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSiteUnnumberedCamerasAndDispensers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSiteLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSiteLarge)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
