#include "store_fixture.h"
#include "xml_query.h"

namespace configstore::testing {
namespace {

class ASite : public StoreTest
{
protected:
    // Imports `body` as the inside of site "Default" and binds it.
    std::shared_ptr<ISite> importSite(const std::string &body)
    {
        const std::string file = path("site.ovx");
        WriteFile(file, "<CONFIG><SITE NAME=\"Default\">" + body + "</SITE></CONFIG>");
        const std::string name = "Default";
        EXPECT_EQ(m_config.ImportSite(&name, &file), S_OK);
        std::shared_ptr<ISite> bound;
        EXPECT_EQ(m_config.GetSite(&name, &bound), S_OK);
        return bound;
    }

    // The children of the saved site, in order.
    std::vector<std::string> siteChildren()
    {
        EXPECT_EQ(m_config.SaveSite(), S_OK);
        return SavedFile(path("orvexconfig.xml")).names("/CONFIG/SITE/*");
    }

    std::vector<std::string> savedTexts(const std::string &xpath)
    {
        EXPECT_EQ(m_config.SaveSite(), S_OK);
        return SavedFile(path("orvexconfig.xml")).texts(xpath);
    }
};

TEST_F(ASite, StartsWithTimesOfOneAndEmptyCollections)
{
    std::shared_ptr<ISite> fresh = site();
    for (std::int16_t priority = 1; priority <= 5; ++priority) {
        std::int16_t dwell = 0, intervisit = 0;
        EXPECT_EQ(fresh->GetDwellTime(priority, &dwell), S_OK);
        EXPECT_EQ(fresh->GetIntervisitTime(priority, &intervisit), S_OK);
        EXPECT_EQ(dwell, 1);
        EXPECT_EQ(intervisit, 1);
    }
    using Count = HRESULT (ISite::*)(std::int16_t *);
    for (Count count : {&ISite::NumEvents, &ISite::NumTasks, &ISite::NumDispensers, &ISite::NumInterestZones,
                        &ISite::NumCameras, &ISite::NumPOSs}) {
        std::int16_t n = -1;
        EXPECT_EQ((*fresh.*count)(&n), S_OK);
        EXPECT_EQ(n, 0);
    }
    EXPECT_EQ(siteChildren(),
              std::vector<std::string>({"TIMES", "PRIORITIES", "TASKS", "INTEREST_ZONES", "CAMERAS", "POSCONFIG"}));
    EXPECT_EQ(SavedFile(path("orvexconfig.xml")).names("/CONFIG/SITE/TIMES/*/@PRIORITY").size(), 10u);
}

TEST_F(ASite, RefusesPrioritiesOutsideOneToFive)
{
    std::shared_ptr<ISite> s = site();
    std::int16_t time = 99;
    for (std::int16_t priority : {0, 6, -1}) {
        EXPECT_EQ(s->GetDwellTime(priority, &time), E_INVALIDARG);
        EXPECT_EQ(s->GetIntervisitTime(priority, &time), E_INVALIDARG);
        EXPECT_EQ(s->SetDwellTime(priority, 5), E_INVALIDARG);
        EXPECT_EQ(s->SetIntervisitTime(priority, 5), E_INVALIDARG);
    }
    EXPECT_EQ(time, 99);
}

TEST_F(ASite, PlacesDispensersTogetherJustBeforeTasks)
{
    std::shared_ptr<ISite> s = site();
    std::shared_ptr<IDispenser> dispenser;
    std::shared_ptr<ICamera> camera;
    ASSERT_EQ(s->NewCamera(1, &camera), S_OK);
    ASSERT_EQ(s->NewDispenser(2, &dispenser), S_OK);
    ASSERT_EQ(s->NewDispenser(1, &dispenser), S_OK);
    EXPECT_EQ(siteChildren(), std::vector<std::string>({"TIMES", "PRIORITIES", "DISPENSER 2", "DISPENSER 1", "TASKS",
                                                        "INTEREST_ZONES", "CAMERAS", "POSCONFIG"}));
    const SavedFile saved(path("orvexconfig.xml"));
    EXPECT_EQ(saved.texts("/CONFIG/SITE/DISPENSER[1]/*").size(), 2u);
    EXPECT_EQ(saved.text("/CONFIG/SITE/DISPENSER[@NUMBER='2']/DISPENSER_MAP/ATTENDANT_TAG_ADDRESS"), "0");
    EXPECT_EQ(saved.texts("/CONFIG/SITE/DISPENSER[@NUMBER='2']/CAMERA_PRESETS/*").size(), 0u);

    std::int16_t count = 0;
    s->NumDispensers(&count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(s->DeleteDispenser(2), S_OK);
    EXPECT_EQ(s->DeleteDispenser(2), E_INVALIDARG);
    s->NumDispensers(&count);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(s->GetDispenser(2, &dispenser), E_INVALIDARG);
    EXPECT_EQ(dispenser, nullptr);
}

TEST_F(ASite, ReturnsTheExistingItemForAKnownNumber)
{
    std::shared_ptr<ISite> s = site();
    std::shared_ptr<IEvent> first, second;
    ASSERT_EQ(s->NewEvent(3, &first), S_OK);
    ASSERT_EQ(first->SetPriority(4), S_OK);
    ASSERT_EQ(s->NewEvent(3, &second), S_OK);
    std::int16_t value = 0;
    second->GetPriority(&value);
    EXPECT_EQ(value, 4) << "New does not reset an existing item";
    s->NumEvents(&value);
    EXPECT_EQ(value, 1);

    std::shared_ptr<ICamera> camera;
    ASSERT_EQ(s->NewCamera(1, &camera), S_OK);
    std::shared_ptr<IPreset> preset;
    ASSERT_EQ(camera->NewPreset(4, &preset), S_OK);
    ASSERT_EQ(camera->NewPreset(4, &preset), S_OK);
    camera->NumPresets(&value);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(camera->DeletePreset(5), E_INVALIDARG);
    EXPECT_EQ(camera->GetPreset(5, &preset), E_INVALIDARG);
    EXPECT_EQ(preset, nullptr);
    EXPECT_EQ(camera->DeletePreset(4), S_OK);
    EXPECT_EQ(s->DeleteEvent(3), S_OK);
    EXPECT_EQ(s->DeleteEvent(3), E_INVALIDARG);
}

TEST_F(ASite, CountsOnlyElementsAmongCommentsAndBlankText)
{
    std::shared_ptr<ISite> s = importSite(
        "<TASKS>\n  <!-- first -->\n  <TASK NUMBER=\"0\"><TYPE>1</TYPE></TASK>\n  <?pi?>\n  text\n"
        "  <TASK NUMBER=\"1\"><TYPE>2</TYPE></TASK>\n</TASKS>"
        "<CAMERAS><CAMERA NUMBER=\"1\"><TYPE>1</TYPE><PRESETS> <!-- none yet --> </PRESETS></CAMERA></CAMERAS>");
    std::int16_t count = 0;
    s->NumTasks(&count);
    EXPECT_EQ(count, 2);
    std::shared_ptr<ICamera> camera;
    ASSERT_EQ(s->GetCamera(1, &camera), S_OK);
    camera->NumPresets(&count);
    EXPECT_EQ(count, 0);
}

TEST_F(ASite, FindsNoNumberOutsideSixteenBitsButIndexesDispensersByTheLowBits)
{
    std::shared_ptr<ISite> s = importSite("<DISPENSER NUMBER=\"65537\"><DISPENSER_MAP><DISPENSER_LOOP>9</DISPENSER_LOOP>"
                                          "</DISPENSER_MAP><CAMERA_PRESETS/></DISPENSER>"
                                          "<DISPENSER NUMBER=\"1\"/>"
                                          "<DISPENSER/>"
                                          "<CAMERAS><CAMERA NUMBER=\"70000\"/><CAMERA NUMBER=\"99999999999999\"/>"
                                          "<CAMERA><TYPE>1</TYPE></CAMERA></CAMERAS>");
    std::shared_ptr<ICamera> camera;
    for (std::int16_t number : {4464, -1, 0, 1})
        EXPECT_EQ(s->GetCamera(number, &camera), E_INVALIDARG) << number;
    std::int16_t count = 0;
    s->NumCameras(&count);
    EXPECT_EQ(count, 3);

    s->NumDispensers(&count);
    EXPECT_EQ(count, 1) << "the first element keeps number 1; one without NUMBER is not indexed";
    std::shared_ptr<IDispenser> dispenser;
    ASSERT_EQ(s->GetDispenser(1, &dispenser), S_OK);
    std::shared_ptr<IDispenserMap> map;
    ASSERT_EQ(dispenser->GetDispenserMap(&map), S_OK);
    std::int16_t loop = 0;
    EXPECT_EQ(map->GetLoop(&loop), S_OK);
    EXPECT_EQ(loop, 9);
    EXPECT_EQ(map->GetAddress(&loop), E_FAIL) << "a value missing from the file";
    EXPECT_EQ(map->SetAddress(3), E_FAIL);
}

TEST_F(ASite, ReadsATimePriorityByItsLowSixteenBits)
{
    std::shared_ptr<ISite> s = importSite("<TIMES><DWELL_TIME PRIORITY=\"65537\">7</DWELL_TIME>"
                                          "<INTERVISIT_TIME PRIORITY=\"-65534\">9</INTERVISIT_TIME></TIMES>");
    std::int16_t time = 0;
    EXPECT_EQ(s->GetDwellTime(1, &time), S_OK);
    EXPECT_EQ(time, 7);
    EXPECT_EQ(s->GetIntervisitTime(2, &time), S_OK);
    EXPECT_EQ(time, 9);
}

TEST_F(ASite, TakesOnlyUnprefixedTagsForItsParts)
{
    const std::string file = path("site.ovx");
    WriteFile(file, "<CONFIG xmlns:x=\"urn:x\"><SITE NAME=\"Default\"><x:TASKS><TASK NUMBER=\"1\"/></x:TASKS>"
                    "<x:TIMES><DWELL_TIME PRIORITY=\"1\">7</DWELL_TIME></x:TIMES></SITE></CONFIG>");
    const std::string name = "Default";
    ASSERT_EQ(m_config.ImportSite(&name, &file), S_OK);
    std::shared_ptr<ISite> s;
    ASSERT_EQ(m_config.GetSite(&name, &s), S_OK);
    std::int16_t value = 0;
    EXPECT_EQ(s->NumTasks(&value), S_OK);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(s->GetDwellTime(1, &value), S_OK);
    EXPECT_EQ(value, 1) << "a fresh TIMES, not the prefixed one";
    EXPECT_EQ(siteChildren(), std::vector<std::string>({"TASKS", "TIMES", "TIMES", "PRIORITIES", "TASKS",
                                                        "INTEREST_ZONES", "CAMERAS", "POSCONFIG"}));
}

TEST_F(ASite, AddsMissingContainersButNeverCompletesExistingTimes)
{
    std::shared_ptr<ISite> s = importSite("<TIMES><DWELL_TIME PRIORITY=\"1\">7</DWELL_TIME>"
                                          "<DWELL_TIME PRIORITY=\"9\">8</DWELL_TIME>"
                                          "<INTERVISIT_TIME PRIORITY=\"2\"/></TIMES>"
                                          "<CAMERAS/>");
    std::int16_t time = 0;
    EXPECT_EQ(s->GetDwellTime(1, &time), S_OK);
    EXPECT_EQ(time, 7);
    EXPECT_EQ(s->GetDwellTime(2, &time), E_FAIL);
    EXPECT_EQ(s->GetIntervisitTime(2, &time), E_FAIL) << "an element without text";
    EXPECT_EQ(s->SetDwellTime(3, 4), E_FAIL);
    EXPECT_EQ(savedTexts("/CONFIG/SITE/TIMES/*").size(), 3u);

    // The missing containers follow what the file had, in their fixed order.
    EXPECT_EQ(siteChildren(),
              std::vector<std::string>({"TIMES", "CAMERAS", "PRIORITIES", "TASKS", "INTEREST_ZONES", "POSCONFIG"}));
}

TEST_F(ASite, RefusesTheChildrenAHandEditedFileLeftOut)
{
    std::shared_ptr<ISite> s = importSite("<DISPENSER NUMBER=\"1\"/><CAMERAS><CAMERA NUMBER=\"1\"/></CAMERAS>");
    std::shared_ptr<IDispenser> dispenser;
    ASSERT_EQ(s->GetDispenser(1, &dispenser), S_OK);
    std::shared_ptr<IDispenserMap> map;
    EXPECT_EQ(dispenser->GetDispenserMap(&map), E_FAIL);
    EXPECT_EQ(map, nullptr);
    std::shared_ptr<ICameraPresets> presets;
    EXPECT_EQ(dispenser->GetCameraPresets(&presets), E_FAIL);

    std::shared_ptr<ICamera> camera;
    ASSERT_EQ(s->GetCamera(1, &camera), S_OK);
    std::int16_t value = -1;
    EXPECT_EQ(camera->NumPresets(&value), S_OK);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(camera->GetType(&value), E_FAIL);
    EXPECT_EQ(camera->SetType(3), E_FAIL);
    std::shared_ptr<IPreset> preset;
    EXPECT_EQ(camera->NewPreset(1, &preset), E_FAIL);
    EXPECT_EQ(camera->DeletePreset(1), E_FAIL);
}

TEST_F(ASite, GivesAnEmptySavedTextAFreshTextNode)
{
    std::shared_ptr<ISite> s = importSite("<INTEREST_ZONES><INTEREST_ZONE NUMBER=\"1\"><CAMERA_NUMBER>1</CAMERA_NUMBER>"
                                          "<PRESET_NUMBER>1</PRESET_NUMBER><TEXT></TEXT></INTEREST_ZONE></INTEREST_ZONES>");
    std::shared_ptr<IInterestZone> zone;
    ASSERT_EQ(s->GetInterestZone(1, &zone), S_OK);
    std::string text = "unchanged";
    ASSERT_EQ(zone->GetText(&text), S_OK);
    EXPECT_EQ(text, "");
    const std::string updated = "Air & water";
    ASSERT_EQ(zone->SetText(&updated), S_OK);
    EXPECT_EQ(savedTexts("//INTEREST_ZONE/TEXT"), std::vector<std::string>({"Air & water"}));
}

} // namespace
} // namespace configstore::testing
