// Every field of a download at the edges of what the unit keeps, sent to the simulated unit over
// a pseudo-terminal: the bytes it stores are the site's values, the nearest ones the tool shows,
// or nothing of a record that would otherwise name another camera, port or dispenser.

#include "site_test_support.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "support/tests/wait_until.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"
#include "services/orvex_config_data.h"
#include "transport/orvex_transport.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>

namespace services::testing {
namespace {

using unitsim::Bytes;

// One row: a change to the site below, and the tables of the types it names as the unit keeps
// them after the download, with the warnings the download gave.
struct FieldCase
{
    const char *legend;
    std::function<void(Tables &, OrvexConfigData &)> change;
    std::map<char, std::vector<Bytes>> tables;
    std::vector<std::string> warnings;
};

void PrintTo(const FieldCase &row, std::ostream *out)
{
    *out << row.legend;
}

// A site with one record of each kind, every value well inside what the unit keeps.
void buildSite(Tables &t, OrvexConfigData &site)
{
    std::int16_t i = 0;
    t.devices->Append(&i);
    t.devices->SetDeviceType(i, 10);
    t.devices->SetInport(i, 5);
    t.devices->SetOutport(i, 5);
    t.devices->SetInterface(i, 1);
    t.cameras->NewCamera(1, &i);
    t.events->NewEvent(4, &i);
    t.events->SetPriority(i, 2);
    t.events->SetTransitionPriority(i, 3);
    t.points->NewPOS(1, &i);
    t.points->SetCamera(i, 1);
    t.points->SetMovableFlag(i, -1);
    t.points->SetPreset(i, 7);
    t.points->SetPriority(i, 2);
    std::int16_t d = 0;
    t.dispensers->NewDispenser(1, &d);
    t.dispensers->SetDispenserLoop(d, 1);
    t.dispensers->SetDispenserAddress(d, 2);
    t.dispensers->SetCardTerminalAddress(d, 3);
    std::shared_ptr<ICameraPresetData> entry;
    t.dispensers->NewPreset(d, 4, &i);
    t.dispensers->RetrieveCameraPreset(d, i, &entry);
    entry->SetCameraNumber(1);
    entry->SetPresetNumber(5);
    for (std::int16_t p = 1; p <= 5; ++p) {
        site.SetDwellTime(p, static_cast<std::int16_t>(p * 3));
        site.SetIntervisitTime(p, static_cast<std::int16_t>(p * 7));
    }
}

// The configuration table of that site, with camera ids of its own.
Bytes timings(std::initializer_list<std::uint8_t> cameraIds, int at = -1, std::uint8_t value = 0)
{
    Bytes bytes{static_cast<std::uint8_t>(cameraIds.size()), 3, 6, 9, 12, 15, 7, 14, 21, 28, 35};
    bytes.insert(bytes.end(), cameraIds);
    if (at >= 0)
        bytes[static_cast<std::size_t>(at)] = value;
    return bytes;
}

void setPreset(Tables &t, std::int16_t preset)
{
    std::shared_ptr<ICameraPresetData> entry;
    t.dispensers->RetrieveCameraPreset(1, 1, &entry);
    entry->SetPresetNumber(preset);
}

const FieldCase kFieldCases[] = {
    {"DwellTimeAtTheToolsTop", [](Tables &, OrvexConfigData &s) { s.SetDwellTime(1, 99); },
     {{'G', {timings({1}, 1, 99)}}}, {}},
    {"DwellTimeAboveIt", [](Tables &, OrvexConfigData &s) { s.SetDwellTime(1, 100); },
     {{'G', {timings({1}, 1, 99)}}}, {"Priority 1: dwell time 100 is outside 1 to 99; sent as 99"}},
    {"IntervisitTimeAtTheBytesTop", [](Tables &, OrvexConfigData &s) { s.SetIntervisitTime(5, 255); },
     {{'G', {timings({1}, 10, 255)}}}, {}},
    {"IntervisitTimeAboveIt", [](Tables &, OrvexConfigData &s) { s.SetIntervisitTime(5, 300); },
     {{'G', {timings({1}, 10, 255)}}}, {"Priority 5: intervisit time 300 is outside 1 to 255; sent as 255"}},
    {"IntervisitTimeZero", [](Tables &, OrvexConfigData &s) { s.SetIntervisitTime(1, 0); },
     {{'G', {timings({1}, 6, 1)}}}, {"Priority 1: intervisit time 0 is outside 1 to 255; sent as 1"}},
    {"CamerasAtEitherEndOfASignedByte",
     [](Tables &t, OrvexConfigData &) {
         std::int16_t i = 0;
         t.cameras->NewCamera(-128, &i);
         t.cameras->NewCamera(127, &i);
     },
     {{'G', {timings({1, 0x80, 0x7F})}}}, {}},
    {"CameraBeyondIt", [](Tables &t, OrvexConfigData &) {
         std::int16_t i = 0;
         t.cameras->NewCamera(128, &i);
     },
     {{'G', {timings({1})}}}, {"Camera 128: number 128 is outside -128 to 127; not sent"}},
    {"EventPrioritiesBeyondTheTools", [](Tables &t, OrvexConfigData &) {
         t.events->SetPriority(1, 0);
         t.events->SetTransitionPriority(1, 6);
     },
     {{'E', {{1, 4, 1, 5}}}},
     {"Event 4: priority 0 is outside 1 to 5; sent as 1", "Event 4: transition priority 6 is outside 1 to 5; sent as 5"}},
    {"EventNumberBeyondASignedByte", [](Tables &t, OrvexConfigData &) {
         std::int16_t i = 0;
         t.events->NewEvent(128, &i);
         t.events->SetPriority(i, 1);
         t.events->SetTransitionPriority(i, 1);
     },
     {{'E', {{1, 4, 2, 3}}}}, {"Event 128: number 128 is outside -128 to 127; not sent"}},
    {"POSPriorityBeyondTheTools", [](Tables &t, OrvexConfigData &) { t.points->SetPriority(1, 9); },
     {{'P', {{1, 1, 1, 7, 5}}}}, {"POS 1: priority 9 is outside 1 to 5; sent as 5"}},
    {"POSCameraBeyondASignedByte", [](Tables &t, OrvexConfigData &) { t.points->SetCamera(1, 128); },
     {{'P', {}}}, {"POS 1: camera 128 is outside -128 to 127; not sent"}},
    {"POSPresetBelowIt", [](Tables &t, OrvexConfigData &) { t.points->SetPreset(1, -129); },
     {{'P', {}}}, {"POS 1: preset -129 is outside -128 to 127; not sent"}},
    {"TaskInterfaceNegative", [](Tables &t, OrvexConfigData &) { t.devices->SetInterface(1, -1); },
     {{'T', {{10, 5, 5, 0xFF}}}}, {}},
    {"TaskPortBeyondASignedByte", [](Tables &t, OrvexConfigData &) { t.devices->SetOutport(1, 128); },
     {{'T', {}}}, {"Task 1: outport 128 is outside -128 to 127; not sent"}},
    {"DispenserAddressAtTheTop", [](Tables &t, OrvexConfigData &) { t.dispensers->SetCardTerminalAddress(1, 127); },
     {{'M', {{1, 1, 2, 127}}}, {'C', {{1, 4, 1, 5}}}}, {}},
    // Presets without their map would belong to no dispenser the unit knows.
    {"DispenserLoopBeyondASignedByte", [](Tables &t, OrvexConfigData &) { t.dispensers->SetDispenserLoop(1, 200); },
     {{'M', {}}, {'C', {}}}, {"Dispenser 1: loop 200 is outside -128 to 127; not sent"}},
    {"PresetEntryAtTheTop", [](Tables &t, OrvexConfigData &) { setPreset(t, 127); },
     {{'M', {{1, 1, 2, 3}}}, {'C', {{1, 4, 1, 127}}}}, {}},
    {"PresetEntryBeyondIt", [](Tables &t, OrvexConfigData &) { setPreset(t, 300); },
     {{'M', {{1, 1, 2, 3}}}, {'C', {{1}}}},
     {"Dispenser 1, entry for event 4: preset 300 is outside -128 to 127; not sent"}},
};

class ADownloadField : public ::testing::TestWithParam<FieldCase>
{
protected:
    void SetUp() override
    {
        unit.SetHandler(unitTables.handler());
        unit.Start();
        ProfileFile(JoinPath(InstallFolder(), kSettingsFileName)).writeString("Settings", "PortDevice1", unit.slavePath());
        ASSERT_EQ(link->setSerialPort(1), S_OK);
        ASSERT_EQ(site.InitializeStorage(), S_OK);
        site.markLoadedFromUnit();
        site.SetWarningSink([this](const std::string &text) {
            std::lock_guard lock(m_mutex);
            m_warnings.push_back(text);
        });
    }

    // Sends the site, then a last message that the unit takes once it has taken every table.
    void download()
    {
        ASSERT_EQ(site.SendCurrentSite(), S_OK);
        std::shared_ptr<transport::IDefault> last;
        link->getDefault(&last);
        last->ClearResetCount();
        link->setDefault(last);
        ASSERT_TRUE(waitUntil([&] {
            const std::string types = unit.receivedTypes();
            return !types.empty() && types.back() == 'z';
        })) << unit.receivedTypes();
    }
    std::vector<std::string> warnings()
    {
        std::lock_guard lock(m_mutex);
        return m_warnings;
    }

    TemporaryInstallFolder folder;
    unitsim::UnitTables unitTables;
    unitsim::UnitLink unit;
    std::shared_ptr<transport::OrvexTransport> link = std::make_shared<transport::OrvexTransport>();
    OrvexConfigData site{link, [](std::chrono::milliseconds, const std::function<void()> &then) { then(); },
                         [] { return std::make_shared<EmptyStore>(); }};

private:
    std::mutex m_mutex;
    std::vector<std::string> m_warnings;
};

TEST_P(ADownloadField, ReachesTheUnitAsTheEngineerSeesItOrNotAtAll)
{
    Tables t = tablesOf(site);
    buildSite(t, site);
    GetParam().change(t, site);

    download();
    for (const auto &[type, expected] : GetParam().tables) {
        SCOPED_TRACE(std::string("table ") + type);
        EXPECT_EQ(unitTables.tables(static_cast<std::uint8_t>(type)), expected);
    }
    EXPECT_EQ(warnings(), GetParam().warnings);
}

INSTANTIATE_TEST_SUITE_P(AtItsBounds, ADownloadField, ::testing::ValuesIn(kFieldCases),
                         [](const auto &info) { return std::string(info.param.legend); });

} // namespace
} // namespace services::testing
