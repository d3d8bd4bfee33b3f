#include "configtool/model/orvex_meta_data.h"
#include "configtool/testing/recording_host.h"
#include "configtool/testing/test_meta_data.h"
#include "support/tests/scoped_temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace configtool {
namespace {

OrvexMetaData fromText(const std::string &text, MetaDataReadResult *result = nullptr)
{
    OrvexMetaData metaData;
    const MetaDataReadResult read
        = metaData.ReadMetaDataText(text, QStringLiteral("OrvexMetaData.xml"));
    if (result)
        *result = read;
    else
        EXPECT_TRUE(read.ok()) << read.message.toStdString();
    return metaData;
}

TEST(AMetaDataReader, ScopesCategoriesAndPortsByTheirStartTags)
{
    const OrvexMetaData m = fromText(R"(<?xml version="1.0" encoding="UTF-8"?>
        <Root>
          <Device Name="Loose" ID="5" PreferredPort="2"/>
          <Protocol Name="LooseProtocol" ID="9"/>
          <Capability Name="RS232"/>
          <DeviceCategory Name="Cameras"/>
          <DeviceCategory Name="Cameras">
            <Device Name="Camera" ID="3" PreferredPort="1"/>
            <CameraProtocol Name="Pelco P" ID="40" MaxPreset="94"/>
            <Device Name="Inside" ID="7" PreferredPort="3"></Device>
            <device Name="lower" ID="8" PreferredPort="3"/>
          </DeviceCategory>
          <CameraProtocol Name="Outside" ID="41" MaxPreset="12"/>
          <Port ID="4"><Capability Name="RS485"/></Port>
          <Capability Name="CurrentLoop"/>
          <Port ID="5"/>
          <Capability Name="RS232"/>
        </Root>)");

    EXPECT_EQ(m.GetDeviceCount(), 2);
    EXPECT_EQ(m.GetDeviceCategory(5), "");
    EXPECT_EQ(m.GetProtocolNames("Loose"), (QStringList{"LooseProtocol", "Outside"}));
    EXPECT_EQ(m.GetDeviceCategory(3), "Cameras");
    EXPECT_EQ(m.GetDeviceId("Inside"), 0);
    EXPECT_EQ(m.GetDeviceId("lower"), 0);
    EXPECT_EQ(m.GetMaxPreset(40), 94);
    EXPECT_EQ(m.GetMaxPreset(41), 1);
    EXPECT_EQ(m.GetProtocolName(5, 41), "Outside");

    // A capability before any Port belongs to port 0; a Port end tag keeps the port, and a
    // self-closing Port changes nothing.
    EXPECT_TRUE(m.PortHasCapability(0, "RS232"));
    EXPECT_TRUE(m.PortHasCapability(4, "RS485"));
    EXPECT_TRUE(m.PortHasCapability(4, "CurrentLoop"));
    EXPECT_TRUE(m.PortHasCapability(4, "RS232"));
    EXPECT_FALSE(m.PortHasCapability(5, "RS232"));
}

TEST(AMetaDataReader, AnswersEveryLookupOfEmptyMetadataWithItsDefault)
{
    const OrvexMetaData m;
    EXPECT_EQ(m.GetDeviceName(3), "Unknown");
    EXPECT_EQ(m.GetDeviceId("Camera"), 0);
    EXPECT_EQ(m.GetDeviceCategory(3), "Unknown");
    EXPECT_EQ(m.GetPreferredPort("Camera"), 1);
    EXPECT_EQ(m.GetProtocolName(3, 40), "");
    EXPECT_EQ(m.GetProtocolId("Camera", "Pelco P"), 0);
    EXPECT_TRUE(m.GetProtocolNames("Camera").isEmpty());
    EXPECT_EQ(m.GetMaxPreset(40), 1);
    EXPECT_EQ(m.GetEventName(0), "Unknown");
    EXPECT_EQ(m.GetEventId("Idle"), 0);
    EXPECT_EQ(m.GetDefaultDwellTime(1), 1);
    EXPECT_EQ(m.GetDefaultIntervisitTime(5), 1);
    EXPECT_EQ(m.GetPortCount(), 7);
    for (int port = 1; port <= 7; ++port)
        EXPECT_TRUE(m.CheckPortCapability(port, "Camera", nullptr));
}

TEST(AMetaDataReader, AnswersTheTestCataloguesLookups)
{
    const OrvexMetaData m = testing::testMetaData();
    EXPECT_EQ(m.GetDeviceName(10), "Dispenser Loop 1");
    EXPECT_EQ(m.GetProtocolId("Dispenser Loop 2", "Extended"), 2);
    EXPECT_EQ(m.GetProtocolName(3, 80), "Nibble Address");
    EXPECT_EQ(m.GetProtocolNames("Camera"), (QStringList{"Pelco P", "Nibble Address"}));
    EXPECT_EQ(m.GetMaxPreset(80), 16);
    EXPECT_EQ(m.GetEventNames().first(), "Idle");
    EXPECT_EQ(m.GetEventId("Delivery Start"), 4);

    EXPECT_EQ(m.GetDefaultDeviceCount(), 3);
    EXPECT_EQ(m.GetDefaultDeviceName(0), "Dispenser Loop 1");
    EXPECT_EQ(m.GetDefaultDeviceProtocol(0), "Standard");
    EXPECT_EQ(m.GetDefaultDeviceProtocol(2), "UNKNOWN");
    EXPECT_EQ(m.GetDefaultDevicePreferredPort(1), 1);
    EXPECT_EQ(m.GetDefaultEventName(2), "Delivery Start");
    EXPECT_EQ(m.GetDefaultEventInitialPriority(2), 2);
    EXPECT_EQ(m.GetDefaultEventRevisitPriority(2), 4);
    EXPECT_EQ(m.GetDefaultDwellTime(3), 15);
    EXPECT_EQ(m.GetDefaultIntervisitTime(5), 60);
}

TEST(AMetaDataReader, ChecksOnlyTheFirstRequirementAndWordsItsRefusal)
{
    const OrvexMetaData m = fromText(R"(
        <DeviceCategory Name="Dispensers"><Device Name="Loop" ID="10" PreferredPort="5"/>
          <PortRequirement Name="RS485"/><PortRequirement Name="CurrentLoop"/></DeviceCategory>
        <DeviceCategory Name="Cameras"><Device Name="Camera" ID="3" PreferredPort="1"/>
          <PortRequirement Name="RS232"/><PortRequirement Name="RS485"/></DeviceCategory>
        <DeviceCategory Name="Free"><Device Name="Free" ID="30" PreferredPort="1"/></DeviceCategory>
        <Port ID="1"><Capability Name="RS485"/></Port>
        <Port ID="2"><Capability Name="CurrentLoop"/></Port>)");

    struct Row
    {
        int port;
        const char *device;
        bool fits;
        const char *message;
    };
    for (const Row &row :
         {Row{1, "Loop", false, "Port 1 does not support current loop"}, Row{2, "Loop", true, ""},
          Row{1, "Camera", true, ""}, Row{2, "Camera", false, "Port 2 does not support RS485"},
          Row{3, "Free", true, ""}, Row{3, "Nothing", true, ""}}) {
        QString message;
        EXPECT_EQ(m.CheckPortCapability(row.port, row.device, &message), row.fits)
            << row.device << row.port;
        EXPECT_EQ(message, row.message) << row.device << row.port;
    }

    const OrvexMetaData pos
        = fromText(R"(<DeviceCategory Name="POSes"><Device Name="POS 1" ID="20" PreferredPort="1"/>
        <PortRequirement Name="RS232"/></DeviceCategory>)");
    QString message;
    EXPECT_FALSE(pos.CheckPortCapability(4, "POS 1", &message));
    EXPECT_EQ(message, "Port 4 does not support RS232");
}

TEST(AMetaDataReader, KeepsTheFirstOfDuplicatesAndTakesSignedNumbersWithBlanks)
{
    const OrvexMetaData m
        = fromText(R"(<Event Name="A" ID=" 4 "/><Event Name="B" ID="4"/><Event Name="A" ID="+5"/>
        <Event Name="Minus" ID="-3"/>)");
    EXPECT_EQ(m.GetEventName(4), "A");
    EXPECT_EQ(m.GetEventId("A"), 4);
    EXPECT_EQ(m.GetEventId("Minus"), -3);
}

TEST(AMetaDataReader, StopsAtABadNumberKeepingWhatCameBefore)
{
    for (const char *bad : {"x2", "70000", "0x10", "", "4.5", "+-1"}) {
        MetaDataReadResult result;
        const OrvexMetaData m
            = fromText(std::string("<Event Name=\"First\" ID=\"1\"/><Event Name=\"Bad\" ID=\"")
                           + bad + "\"/><Event Name=\"Later\" ID=\"3\"/>",
                       &result);
        EXPECT_EQ(result.status, MetaDataReadResult::Status::InvalidNumber) << bad;
        EXPECT_EQ(result.message,
                  QStringLiteral("Invalid number \"%1\" for ID in OrvexMetaData.xml").arg(bad));
        EXPECT_EQ(m.GetEventNames(), QStringList{"First"}) << bad;
    }
}

// Whatever is in the file's place, the read returns at once: a FIFO without a writer, a device
// that never ends, a folder.
TEST(AMetaDataReader, RefusesWhatIsNoPlainFileWithoutWaiting)
{
    namespace fs = std::filesystem;
    const ScopedTempFolder folder("orvex-metadata");
    const fs::path path = folder / "OrvexMetaData.xml";
    const std::vector<std::pair<const char *, std::function<void()>>> rows = {
        {"fifo", [&] { ::mkfifo(path.c_str(), 0644); }},
        {"link to /dev/zero", [&] { fs::create_symlink("/dev/zero", path); }},
        {"folder", [&] { fs::create_directory(path); }},
    };
    for (const auto &[legend, make] : rows) {
        fs::remove(path);
        make();
        OrvexMetaData m;
        const MetaDataReadResult result = m.ReadMetaData(QString::fromStdString(path.string()));
        EXPECT_EQ(result.status, MetaDataReadResult::Status::Unreadable) << legend;
        EXPECT_EQ(result.message.toStdString(), "Unable to read " + path.string()) << legend;
        EXPECT_EQ(m.GetEventCount(), 0) << legend;
    }
}

TEST(AMetaDataReader, ReportsAnUnreadableFileOnceAndStaysEmpty)
{
    OrvexMetaData m;
    const MetaDataReadResult result = m.ReadMetaData("/nonexistent/OrvexMetaData.xml");
    EXPECT_EQ(result.status, MetaDataReadResult::Status::Unreadable);
    EXPECT_EQ(m.GetDeviceCount(), 0);

    testing::ScriptedPrompter prompter;
    ReportMetaDataResult(result, prompter);
    ReportMetaDataResult({MetaDataReadResult::Status::InvalidNumber, "Invalid number"}, prompter);
    ReportMetaDataResult({}, prompter);
    EXPECT_EQ(prompter.shown, (QStringList{"warning: Unable to read /nonexistent/OrvexMetaData.xml",
                                           "error: Invalid number"}));
}

// The file the tool ships holds what the tool, the service, the unit and the recorder side rely
// on; every rule here names what breaks without it.
TEST(TheShippedMetaData, HoldsWhatTheToolAndTheUnitRelyOn)
{
    OrvexMetaData m;
    const MetaDataReadResult result = m.ReadMetaData(testing::shippedMetaDataPath());
    ASSERT_TRUE(result.ok()) << result.message.toStdString();

    // Every value travels to the unit as one byte and comes back signed.
    const auto fitsByte = [](int value) { return value >= 0 && value <= 127; };
    std::set<int> deviceIds;
    std::set<QString> deviceNames;
    for (const Mapping &device : m.devices()) {
        EXPECT_TRUE(fitsByte(device.id)) << device.name.toStdString();
        // Hidden types could be added but never seen or deleted.
        EXPECT_FALSE(device.id == 0 || device.id == 1 || device.id == 2 || device.id == 6)
            << device.name.toStdString();
        EXPECT_TRUE(deviceIds.insert(device.id).second) << "duplicate device ID " << device.id;
        EXPECT_TRUE(deviceNames.insert(device.name).second)
            << "duplicate device " << device.name.toStdString();
        EXPECT_GE(device.first, 1);
        EXPECT_LE(device.first, 7);
    }
    const std::map<QString, QStringList> needed
        = {{"Dispensers", {"Dispenser Loop 1", "Dispenser Loop 2", "Dispenser Loop 3"}},
           {"Cameras", {"Camera"}},
           {"POSes", {"POS 1", "POS 2", "POS 3"}}};
    for (const auto &[category, names] : needed) {
        for (const QString &name : names)
            EXPECT_EQ(m.GetDeviceCategory(m.GetDeviceId(name)), category) << name.toStdString();
    }
    EXPECT_EQ(m.GetDeviceId("Camera"), 3);

    // Camera protocols are the unit's camera codes; presets stop below the menu preset.
    const std::map<int, int> maxPresetLimit = {{40, 94}, {90, 94}, {80, 93}, {95, 127}};
    std::set<QString> cameraProtocols;
    for (const Mapping &protocol : m.protocols()) {
        EXPECT_TRUE(fitsByte(protocol.id)) << protocol.name.toStdString();
        if (protocol.category != "Cameras")
            continue;
        ASSERT_TRUE(maxPresetLimit.count(protocol.id)) << "camera code " << protocol.id;
        EXPECT_GE(protocol.first, 1);
        EXPECT_LE(protocol.first, maxPresetLimit.at(protocol.id)) << protocol.id;
        EXPECT_TRUE(cameraProtocols.insert(protocol.name).second) << protocol.name.toStdString();
    }
    EXPECT_FALSE(m.GetProtocolName(3, 40).isEmpty()) << "the first activation sets camera type 40";
    EXPECT_FALSE(m.GetProtocolName(3, 80).isEmpty()) << "the service's default camera type";

    // Events: the recorder side drops numbers from 19 on; 2..5 are the pump events.
    std::set<int> eventIds;
    std::set<QString> eventNames;
    for (const Mapping &event : m.events()) {
        EXPECT_GE(event.id, 0);
        EXPECT_LE(event.id, 18);
        EXPECT_TRUE(eventIds.insert(event.id).second) << event.id;
        EXPECT_TRUE(eventNames.insert(event.name).second) << event.name.toStdString();
    }
    EXPECT_EQ(m.GetEventId("Idle"), 0);
    EXPECT_EQ(m.GetEventName(2), "Nozzle Lift");
    EXPECT_EQ(m.GetEventName(3), "Nozzle Hung Up");
    EXPECT_EQ(m.GetEventName(4), "Delivery Start");
    EXPECT_EQ(m.GetEventName(5), "Delivery End");

    bool idleDefault = false;
    for (int i = 0; i < m.GetDefaultEventCount(); ++i) {
        EXPECT_TRUE(eventIds.count(m.defaultEvents()[i].id))
            << "default event " << m.defaultEvents()[i].id;
        for (const int priority :
             {m.GetDefaultEventInitialPriority(i), m.GetDefaultEventRevisitPriority(i)}) {
            EXPECT_GE(priority, 1);
            EXPECT_LE(priority, 5);
        }
        if (m.GetDefaultEventName(i) == "Idle")
            idleDefault = m.GetDefaultEventInitialPriority(i) == 5
                          && m.GetDefaultEventRevisitPriority(i) == 5;
    }
    EXPECT_TRUE(idleDefault);

    // Default devices: listed, on distinct ports (one task per port) that fit their category.
    std::set<int> defaultPorts;
    bool cameraDefault = false;
    for (int i = 0; i < m.GetDefaultDeviceCount(); ++i) {
        const QString name = m.GetDefaultDeviceName(i);
        const int port = m.GetDefaultDevicePreferredPort(i);
        EXPECT_NE(name, "Unknown");
        EXPECT_TRUE(defaultPorts.insert(port).second) << "port " << port;
        QString message;
        EXPECT_TRUE(m.CheckPortCapability(port, name, &message)) << message.toStdString();
        cameraDefault = cameraDefault || name == "Camera";
    }
    EXPECT_TRUE(cameraDefault);

    // Ports 1..7 each offer something the tool understands.
    const std::set<QString> understood = {"RS485", "RS232", "CurrentLoop"};
    for (const Mapping &capability : m.capabilities()) {
        EXPECT_GE(capability.id, 1);
        EXPECT_LE(capability.id, 7);
        EXPECT_TRUE(understood.count(capability.name)) << capability.name.toStdString();
    }
    for (int port = 1; port <= 7; ++port) {
        const bool any = m.PortHasCapability(port, "RS485") || m.PortHasCapability(port, "RS232")
                         || m.PortHasCapability(port, "CurrentLoop");
        EXPECT_TRUE(any) << "port " << port;
    }
    std::map<QString, int> requirementsPerCategory;
    for (const Mapping &requirement : m.portRequirements()) {
        EXPECT_TRUE(understood.count(requirement.name)) << requirement.name.toStdString();
        EXPECT_EQ(++requirementsPerCategory[requirement.category], 1)
            << requirement.category.toStdString();
    }

    // One default time pair per priority, each fitting the unit's byte.
    std::set<int> priorities;
    for (const Mapping &entry : m.defaultPriorities()) {
        EXPECT_TRUE(priorities.insert(entry.id).second) << entry.id;
        EXPECT_TRUE(fitsByte(entry.first));
        EXPECT_TRUE(fitsByte(entry.second));
    }
    EXPECT_EQ(priorities, (std::set<int>{1, 2, 3, 4, 5}));
}

} // namespace
} // namespace configtool
