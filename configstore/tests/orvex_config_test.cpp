#include "store_fixture.h"
#include "xml_query.h"

#include "interfaces/configstore/orvex_config_factory.h"

#include <climits>

namespace configstore::testing {
namespace {

using AnOrvexConfig = StoreTest;

TEST_F(AnOrvexConfig, SavesAnEmptyConfigRootRightAfterLoading)
{
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_EQ(ReadFile(path("orvexconfig.xml")), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG/>\n");
}

TEST_F(AnOrvexConfig, ReturnsOneSiteForOneNameHoweverOftenItIsCreated)
{
    std::shared_ptr<ISite> first = site("Default");
    std::shared_ptr<ISite> second = site("Default");
    ASSERT_EQ(first->SetDwellTime(2, 44), S_OK);
    std::int16_t time = 0;
    ASSERT_EQ(second->GetDwellTime(2, &time), S_OK);
    EXPECT_EQ(time, 44) << "both views share one element";

    std::vector<std::string> names;
    std::int32_t count = 0;
    ASSERT_EQ(m_config.EnumSites(&names, &count), S_OK);
    EXPECT_EQ(names, std::vector<std::string>({"Default"}));
    EXPECT_EQ(count, 1);
}

TEST_F(AnOrvexConfig, FindsSitesByExactName)
{
    std::vector<std::string> names;
    std::int32_t count = -1;
    ASSERT_EQ(m_config.EnumSites(&names, &count), S_OK);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(count, 0);

    std::shared_ptr<ISite> found;
    const std::string upper = "Default";
    const std::string lower = "default";
    EXPECT_EQ(m_config.GetSite(&upper, &found), E_INVALIDARG) << "an empty root";
    site("Default");
    EXPECT_EQ(m_config.GetSite(&lower, &found), E_INVALIDARG);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(m_config.DeleteSite(&lower), S_FALSE);
    EXPECT_EQ(m_config.GetSite(&upper, &found), S_OK);
    EXPECT_EQ(m_config.DeleteSite(&upper), S_OK);
    EXPECT_EQ(m_config.DeleteSite(&upper), S_FALSE);
}

TEST_F(AnOrvexConfig, RefusesEverythingBeforeLoading)
{
    OrvexConfig fresh;
    const std::string name = "Default";
    std::shared_ptr<ISite> found;
    std::vector<std::string> names;
    std::int32_t count = 0;
    EXPECT_EQ(fresh.GetSite(&name, &found), E_FAIL);
    EXPECT_EQ(fresh.NewSite(&name, &found), E_FAIL);
    EXPECT_EQ(fresh.DeleteSite(&name), E_FAIL);
    EXPECT_EQ(fresh.ExportSite(&name, &name), E_FAIL);
    EXPECT_EQ(fresh.ImportSite(&name, &name), E_FAIL);
    EXPECT_EQ(fresh.EnumSites(&names, &count), E_FAIL);
    EXPECT_EQ(fresh.SaveSite(), E_FAIL);
}

TEST_F(AnOrvexConfig, RefusesAnInstallFolderTooLongForAPath)
{
    const std::string longFolder = "/" + std::string(PATH_MAX, 'x');
    ::setenv("ORVEX_INSTALL_DIR", longFolder.c_str(), 1);
    OrvexConfig other;
    EXPECT_EQ(other.LoadAndParse(), E_ACCESSDENIED);
    EXPECT_EQ(other.SaveSite(), E_FAIL) << "the object keeps no root";
}

TEST_F(AnOrvexConfig, ExportAndImportRestoreASiteAsTheLastChild)
{
    std::shared_ptr<ICamera> camera;
    ASSERT_EQ(site("Default")->NewCamera(3, &camera), S_OK);
    ASSERT_EQ(camera->SetType(80), S_OK);
    site("Later");
    const std::string name = "Default";
    const std::string file = path("default.ovx");
    ASSERT_EQ(m_config.ExportSite(&name, &file), S_OK);
    EXPECT_EQ(SavedFile(file).texts("/CONFIG/SITE/@NAME"), std::vector<std::string>({"Default"}));
    ASSERT_EQ(camera->SetType(1), S_OK);

    ASSERT_EQ(m_config.ImportSite(&name, &file), S_OK);
    std::vector<std::string> names;
    std::int32_t count = 0;
    ASSERT_EQ(m_config.EnumSites(&names, &count), S_OK);
    EXPECT_EQ(names, std::vector<std::string>({"Later", "Default"}));
    std::shared_ptr<ISite> restored;
    ASSERT_EQ(m_config.GetSite(&name, &restored), S_OK);
    ASSERT_EQ(restored->GetCamera(3, &camera), S_OK);
    std::int16_t type = 0;
    camera->GetType(&type);
    EXPECT_EQ(type, 80);
}

TEST_F(AnOrvexConfig, ExportsOnlyKnownSites)
{
    const std::string name = "Nowhere";
    const std::string file = path("nowhere.ovx");
    EXPECT_EQ(m_config.ExportSite(&name, &file), E_INVALIDARG);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(AnOrvexConfig, KeepsNamesAndTextsWithMarkupAndNonAsciiCharacters)
{
    const std::string names[] = {"Smith & Sons <north>", "Tankstelle Gr\xC3\xBCnwald", "\xE6\x9D\xB1\xE4\xBA\xAC \"quoted\" 'single'",
                                 "  padded  "};
    for (const std::string &name : names) {
        std::shared_ptr<IInterestZone> zone;
        ASSERT_EQ(site(name)->NewInterestZone(1, &zone), S_OK);
        ASSERT_EQ(zone->SetText(&name), S_OK);
    }
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    const SavedFile saved(path("orvexconfig.xml"));
    ASSERT_TRUE(saved.wellFormed());
    EXPECT_EQ(saved.texts("/CONFIG/SITE/@NAME"), std::vector<std::string>(std::begin(names), std::end(names)));

    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        const std::string file = path("named.ovx");
        ASSERT_EQ(m_config.ExportSite(&name, &file), S_OK);
        ASSERT_EQ(m_config.ImportSite(&name, &file), S_OK);
        std::shared_ptr<ISite> found;
        ASSERT_EQ(m_config.GetSite(&name, &found), S_OK);
        std::shared_ptr<IInterestZone> zone;
        ASSERT_EQ(found->GetInterestZone(1, &zone), S_OK);
        std::string text;
        ASSERT_EQ(zone->GetText(&text), S_OK);
        EXPECT_EQ(text, name);
    }
}

TEST_F(AnOrvexConfig, ShareOneDocumentThatTheLastLoadReplaces)
{
    std::shared_ptr<ISite> old = site("Old");
    OrvexConfig other;
    ASSERT_EQ(other.LoadAndParse(), S_OK);
    const std::string name = "New";
    std::shared_ptr<ISite> fresh;
    ASSERT_EQ(other.NewSite(&name, &fresh), S_OK);
    // The first object now works on a document that is no longer saved.
    std::shared_ptr<ISite> stillOld = site("Old too");
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_EQ(SavedFile(path("orvexconfig.xml")).texts("/CONFIG/SITE/@NAME"), std::vector<std::string>({"New"}));
}

TEST(TheOrvexConfigLibrary, CreatesItsRegistryThroughTheFactory)
{
    EXPECT_EQ(CreateOrvexConfig(nullptr), E_POINTER);
    std::shared_ptr<IOrvexConfig> config;
    ASSERT_EQ(CreateOrvexConfig(&config), S_OK);
    ASSERT_NE(config, nullptr);
    const std::string name = "Default";
    std::shared_ptr<ISite> found;
    EXPECT_EQ(config->GetSite(&name, &found), E_FAIL) << "no document before LoadAndParse";
}

} // namespace
} // namespace configstore::testing
