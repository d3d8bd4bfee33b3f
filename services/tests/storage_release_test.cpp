// What UnInitializeStorage lets go of: the store's document with every site in it, and the site's
// tables, which a client may still hold (the bus keeps every object it has handed out) and which
// from then on answer as before storage was initialised.

#include "bus_test_support.h"
#include "site_test_support.h"

#include "configstore/tests/libxml_memory.h"
#include "platform/hresult.h"

#include <fstream>

namespace services::testing {
namespace {

using bustest::PrivateBus;

constexpr const char *kService = "org.orvex.OrvexServices";
constexpr const char *kRoot = "/org/orvex/Orvex";
constexpr const char *kSiteData = "org.orvex.IOrvexConfigData";

// A site "Default" of 200 cameras with ten presets each.
std::string siteText()
{
    std::string text = "<CONFIG><SITE NAME=\"Default\"><CAMERAS>";
    for (int camera = 1; camera <= 200; ++camera) {
        text += "<CAMERA NUMBER=\"" + std::to_string(camera) + "\"><TYPE>80</TYPE><PRESETS>";
        for (int preset = 1; preset <= 10; ++preset)
            text += "<PRESET NUMBER=\"" + std::to_string(preset) + "\"><COMMENT>Pump island</COMMENT></PRESET>";
        text += "</PRESETS></CAMERA>";
    }
    return text + "</CAMERAS></SITE></CONFIG>";
}

TEST(TheSiteDataLettingGoOfStorage, GivesBackAllThatTheStoreHeld)
{
    const TemporaryInstallFolder folder;
    const std::string file = folder.file("Forecourt.ovx");
    std::ofstream(file, std::ios::binary) << siteText();
    const std::string name = "Default";
    OrvexConfigData site;
    const testing_support::LibxmlMemory memory;
    ASSERT_EQ(site.InitializeStorage(), S_OK);
    ASSERT_EQ(site.ImportSite(&name, &file), S_OK);
    ASSERT_EQ(site.LoadSite(&name), S_OK);
    std::shared_ptr<ICameraData> cameras;
    ASSERT_EQ(site.RetrieveCamera(&cameras), S_OK);
    ASSERT_GT(memory.growth(), 100000) << "the imported site is held";

    ASSERT_EQ(site.UnInitializeStorage(), S_OK);
    EXPECT_LT(memory.growth(), 4096);
    std::int16_t count = -1;
    EXPECT_EQ(cameras->CountCameras(&count), E_UNEXPECTED);
}

class AServiceOnTheBusLettingGoOfStorage : public ::testing::Test
{
protected:
    std::shared_ptr<sdbus::IProxy> proxy(const sdbus::ObjectPath &path)
    {
        return sdbus::createProxy(*m_client, kService, path);
    }
    // Calls `member` of `iface` at `path` with `inputs`; gives back its result code and stores its
    // outputs into `outputs`.
    template <typename... Outputs, typename... Inputs>
    std::int32_t call(const sdbus::ObjectPath &path, const char *iface, const char *member,
                      std::tuple<Inputs...> inputs, Outputs &...outputs)
    {
        auto target = proxy(path);
        std::int32_t hr = E_FAIL;
        std::apply(
            [&](auto &...in) {
                target->callMethod(member).onInterface(iface).withArguments(in...).storeResultsTo(hr, outputs...);
            },
            inputs);
        return hr;
    }

    PrivateBus m_bus;
    std::unique_ptr<sdbus::IConnection> m_client = m_bus.connect();
};

TEST_F(AServiceOnTheBusLettingGoOfStorage, AnswersTheTablesAClientStillHoldsAsBeforeStorage)
{
    sdbus::ObjectPath data;
    ASSERT_EQ(call(sdbus::ObjectPath(kRoot), "org.orvex.IOrvex", "getOrvexConfigData", std::tuple<>(), data), S_OK);
    ASSERT_EQ(call(data, kSiteData, "InitializeStorage", std::tuple<>()), S_OK);
    const std::string name = "Default";
    ASSERT_EQ(call(data, kSiteData, "NewSite", std::tuple(name)), S_OK);
    ASSERT_EQ(call(data, kSiteData, "LoadSite", std::tuple(name)), S_OK);
    sdbus::ObjectPath cameras, dispensers, entry;
    ASSERT_EQ(call(data, kSiteData, "RetrieveCamera", std::tuple<>(), cameras), S_OK);
    ASSERT_EQ(call(data, kSiteData, "RetrieveDispenser", std::tuple<>(), dispensers), S_OK);
    std::int16_t index = 0;
    ASSERT_EQ(call(cameras, "org.orvex.ICameraData", "NewCamera", std::tuple(std::int16_t{1}), index), S_OK);
    ASSERT_EQ(call(dispensers, "org.orvex.IDispenserData", "NewDispenser", std::tuple(std::int16_t{1}), index), S_OK);
    ASSERT_EQ(call(dispensers, "org.orvex.IDispenserData", "NewPreset", std::tuple(std::int16_t{1}, std::int16_t{5}),
                   index),
              S_OK);
    ASSERT_EQ(call(dispensers, "org.orvex.IDispenserData", "RetrieveCameraPreset",
                   std::tuple(std::int16_t{1}, std::int16_t{1}), entry),
              S_OK);

    ASSERT_EQ(call(data, kSiteData, "UnInitializeStorage", std::tuple<>()), S_OK);
    std::int16_t count = -1;
    EXPECT_EQ(call(cameras, "org.orvex.ICameraData", "CountCameras", std::tuple<>(), count), E_UNEXPECTED);
    EXPECT_EQ(call(cameras, "org.orvex.ICameraData", "NewCamera", std::tuple(std::int16_t{2}), index), E_UNEXPECTED);
    EXPECT_EQ(call(dispensers, "org.orvex.IDispenserData", "CountPresets", std::tuple(std::int16_t{1}), count),
              E_UNEXPECTED);
    std::int16_t event = -1;
    EXPECT_EQ(call(entry, "org.orvex.ICameraPresetData", "GetEventNumber", std::tuple<>(), event), E_UNEXPECTED);

    // Storage initialised again has tables of its own; the old ones stay let go.
    ASSERT_EQ(call(data, kSiteData, "InitializeStorage", std::tuple<>()), S_OK);
    ASSERT_EQ(call(data, kSiteData, "NewSite", std::tuple(name)), S_OK);
    ASSERT_EQ(call(data, kSiteData, "LoadSite", std::tuple(name)), S_OK);
    sdbus::ObjectPath newCameras;
    ASSERT_EQ(call(data, kSiteData, "RetrieveCamera", std::tuple<>(), newCameras), S_OK);
    EXPECT_NE(newCameras, cameras);
    EXPECT_EQ(call(newCameras, "org.orvex.ICameraData", "CountCameras", std::tuple<>(), count), S_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(call(cameras, "org.orvex.ICameraData", "CountCameras", std::tuple<>(), count), E_UNEXPECTED);
}

} // namespace
} // namespace services::testing
