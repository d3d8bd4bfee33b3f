// The configuration tool's core: reading the metadata file; the XML scanner on a 1 MB document
// against libxml2's reader on the same bytes; and connecting to the real service on a private
// bus and opening a large site (48 dispensers with presets for 13 events, 10 cameras of 64
// presets), from the first call until every iterator has read its records as the tabs do.

#include "bus_test_support.h"
#include "large_site_file.h"

#include "configtool/model/bus_service_backend.h"
#include "configtool/model/camera_iterator.h"
#include "configtool/model/device_iterator.h"
#include "configtool/model/dispenser_iterator.h"
#include "configtool/model/event_preset_iterator.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/pos_iterator.h"
#include "configtool/model/preset_iterator.h"
#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/model/xml_scanner.h"
#include "configtool/testing/recording_host.h"
#include "serviceclient/service_bus.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <libxml/xmlreader.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace {

using namespace configtool;

const QString kShippedMetaData = QStringLiteral(ORVEX_SOURCE_DIR "/data/OrvexMetaData.xml");

void BM_ReadMetaData(benchmark::State &state)
{
    for (auto _ : state) {
        OrvexMetaData metaData;
        if (!metaData.ReadMetaData(kShippedMetaData).ok())
            state.SkipWithError("the metadata file cannot be read");
        benchmark::DoNotOptimize(metaData.GetDeviceCount());
    }
}
BENCHMARK(BM_ReadMetaData)->Unit(benchmark::kMicrosecond);

// About 1 MB of what an XML file of the suite holds: elements with attributes, text, comments.
const std::string &oneMegabyte()
{
    static const std::string text = [] {
        std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n";
        for (int i = 0; doc.size() < (1u << 20); ++i) {
            doc += "  <DISPENSER NUMBER=\"" + std::to_string(i) + "\" LOOP=\"2\" ADDRESS=\"7\">\n";
            doc += "    <PRESET EVENT=\"4\" CAMERA=\"3\" VALUE=\"17\"/>\n";
            doc += "    <COMMENT>Pump " + std::to_string(i)
                   + " &amp; kiosk caf\xC3\xA9</COMMENT>\n";
            doc += "    <!-- checked -->\n  </DISPENSER>\n";
        }
        return doc + "</CONFIG>\n";
    }();
    return text;
}

// Every tag, attribute and text reaches a handler, as a reader of the whole file would.
void BM_XmlScanner1MB(benchmark::State &state)
{
    std::size_t seen = 0;
    xml::XmlScanner scanner;
    scanner.OnStartTag = [&](const std::string &name, const xml::AttrList &attributes) {
        seen += name.size();
        for (const auto &attribute : attributes)
            seen += attribute.value.size();
    };
    scanner.OnEmptyTag = scanner.OnStartTag;
    scanner.OnEndTag = [&](const std::string &name) { seen += name.size(); };
    scanner.OnContent = [&](const std::string &text) { seen += text.size(); };
    scanner.OnComment = [&](const std::string &text) { seen += text.size(); };
    for (auto _ : state) {
        scanner.LoadText(oneMegabyte());
        scanner.Execute();
    }
    benchmark::DoNotOptimize(seen);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * oneMegabyte().size()));
}
BENCHMARK(BM_XmlScanner1MB)->Unit(benchmark::kMillisecond);

// libxml2's streaming reader over the same bytes, reading the same names, values and texts.
void BM_Libxml2Reader1MB(benchmark::State &state)
{
    std::size_t seen = 0;
    const std::string &doc = oneMegabyte();
    for (auto _ : state) {
        xmlTextReaderPtr reader = xmlReaderForMemory(doc.data(), static_cast<int>(doc.size()),
                                                     nullptr, nullptr, XML_PARSE_NONET);
        while (xmlTextReaderRead(reader) == 1) {
            if (const xmlChar *name = xmlTextReaderConstName(reader))
                seen += static_cast<std::size_t>(xmlStrlen(name));
            if (xmlTextReaderHasValue(reader) == 1)
                seen += static_cast<std::size_t>(xmlStrlen(xmlTextReaderConstValue(reader)));
            while (xmlTextReaderMoveToNextAttribute(reader) == 1)
                seen += static_cast<std::size_t>(xmlStrlen(xmlTextReaderConstValue(reader)));
        }
        xmlFreeTextReader(reader);
    }
    benchmark::DoNotOptimize(seen);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size()));
}
BENCHMARK(BM_Libxml2Reader1MB)->Unit(benchmark::kMillisecond);

// Every record of every iterator read, as the tabs fill their grids; the value keeps the
// compiler from dropping the reads.
int loadEveryIterator(OrvexConfigManager &manager)
{
    int read = 0;
    DeviceIterator devices(manager);
    devices.Reload();
    for (devices.First(); !devices.Eof(); devices.Next())
        read += devices.GetDeviceName().size() + devices.GetProtocolName().size()
                + devices.GetPort();
    DispenserIterator dispensers(manager);
    dispensers.Reload();
    for (dispensers.First(); !dispensers.Eof(); dispensers.Next())
        read += dispensers.GetNumber() + dispensers.GetLoop() + dispensers.GetAddress();
    CameraIterator cameras(manager);
    cameras.Reload();
    for (cameras.First(); !cameras.Eof(); cameras.Next())
        read += cameras.GetCameraNumber() + cameras.HasPresets();
    PresetIterator presets(manager);
    presets.Reload();
    for (presets.First(); !presets.Eof(); presets.Next())
        read += presets.GetPresetNumber() + presets.GetComment().size();
    EventPresetIterator entries(manager);
    entries.Reload();
    for (entries.First(); !entries.Eof(); entries.Next())
        read += entries.GetEventName().size() + entries.GetPriority() + entries.GetCameraNumber()
                + entries.GetPresetNumber();
    read += entries.GetPresetComment().size();
    POSIterator points(manager);
    points.Reload();
    for (points.First(); !points.Eof(); points.Next())
        read += points.GetPOSNumber() + points.GetCamera() + points.IsFixed();
    return read;
}

void BM_ConnectAndOpenLargeSiteOnTheBus(benchmark::State &state)
{
    bustest::PrivateBus bus;
    const QString site = QString::fromStdString(bench::largeSiteFile(bus.installDir()));
    serviceclient::ServiceBus client(QString::fromStdString(bus.address()));
    OrvexMetaData metaData;
    metaData.ReadMetaData(kShippedMetaData);
    bool first = true;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        BusServiceBackend backend(client);
        configtool::testing::RecordingHost host;
        ThreadsafeStringQueue queue;
        OrvexConfigManager manager(metaData, host);
        if (!manager.Connect(backend, queue, 1)) {
            state.SkipWithError("cannot connect");
            break;
        }
        manager.OpenSiteFile(site);
        if (!manager.IsSiteOpen()) {
            state.SkipWithError("the site did not open");
            break;
        }
        benchmark::DoNotOptimize(loadEveryIterator(manager));
        if (first) {
            // The first round also starts the service on the bus.
            state.counters["first_with_activation_ms"]
                = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now()
                                                            - start)
                      .count();
            first = false;
        }
    }
}
BENCHMARK(BM_ConnectAndOpenLargeSiteOnTheBus)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
