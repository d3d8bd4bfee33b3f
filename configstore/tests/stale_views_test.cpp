// Views outlive their elements: after a delete, a re-import or a new document they still read and
// write (reaching nothing that is saved), and nothing they hold is ever freed under them. Run
// under the asan preset, these tests catch any dangling node.

#include "store_fixture.h"
#include "xml_query.h"

namespace configstore::testing {
namespace {

class AStaleView : public StoreTest
{
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        m_site = site();
        ASSERT_EQ(m_site->NewCamera(1, &m_camera), S_OK);
        ASSERT_EQ(m_camera->NewPreset(2, &m_preset), S_OK);
        ASSERT_EQ(m_preset->SetComment("before"), S_OK);
        ASSERT_EQ(m_site->NewDispenser(1, &m_dispenser), S_OK);
        ASSERT_EQ(m_dispenser->GetDispenserMap(&m_map), S_OK);
        ASSERT_EQ(m_map->SetLoop(3), S_OK);
    }

    // Reads and writes through every held view, as a caller unaware of the delete would.
    void useEveryView()
    {
        std::string comment;
        EXPECT_EQ(m_preset->SetComment("after"), S_OK);
        EXPECT_EQ(m_preset->GetComment(&comment), S_OK);
        EXPECT_EQ(comment, "after");
        std::int16_t value = 0;
        EXPECT_EQ(m_map->SetLoop(4), S_OK);
        EXPECT_EQ(m_map->GetLoop(&value), S_OK);
        EXPECT_EQ(value, 4);
        EXPECT_EQ(m_camera->NumPresets(&value), S_OK);
        if (m_site) {
            EXPECT_EQ(m_site->SetDwellTime(1, 9), S_OK);
        }
    }

    std::string savedFile()
    {
        EXPECT_EQ(m_config.SaveSite(), S_OK);
        return ReadFile(path("orvexconfig.xml"));
    }

    std::shared_ptr<ISite> m_site;
    std::shared_ptr<ICamera> m_camera;
    std::shared_ptr<IPreset> m_preset;
    std::shared_ptr<IDispenser> m_dispenser;
    std::shared_ptr<IDispenserMap> m_map;
};

TEST_F(AStaleView, StillWorksAfterItsSiteIsDeleted)
{
    const std::string name = "Default";
    ASSERT_EQ(m_config.DeleteSite(&name), S_OK);
    useEveryView();
    EXPECT_EQ(savedFile().find("after"), std::string::npos) << "a deleted site is not saved";

    // The deleted site's views go on building and deleting inside it.
    std::shared_ptr<IEvent> event;
    ASSERT_EQ(m_site->NewEvent(1, &event), S_OK);
    ASSERT_EQ(m_site->DeleteCamera(1), S_OK);
    ASSERT_EQ(m_camera->DeletePreset(2), S_OK);
    useEveryView();
    m_site.reset();
    useEveryView();
}

TEST_F(AStaleView, StillWorksAfterItsItemIsDeleted)
{
    ASSERT_EQ(m_site->DeleteCamera(1), S_OK);
    ASSERT_EQ(m_site->DeleteDispenser(1), S_OK);
    useEveryView();
    const std::string saved = savedFile();
    EXPECT_EQ(saved.find("after"), std::string::npos);
    EXPECT_EQ(saved.find("DISPENSER"), std::string::npos);
}

TEST_F(AStaleView, StillWorksAfterTheSiteIsReimported)
{
    const std::string name = "Default";
    const std::string file = path("default.ovx");
    ASSERT_EQ(m_config.ExportSite(&name, &file), S_OK);
    ASSERT_EQ(m_config.ImportSite(&name, &file), S_OK);
    useEveryView();
    EXPECT_EQ(savedFile().find("after"), std::string::npos) << "the imported copy is a new element";
}

TEST_F(AStaleView, StillWorksAfterTheDocumentIsReplaced)
{
    OrvexConfig other;
    ASSERT_EQ(other.LoadAndParse(), S_OK);
    ASSERT_EQ(m_config.LoadAndParse(), S_OK);
    useEveryView();
    EXPECT_EQ(savedFile().find("after"), std::string::npos);
}

TEST_F(AStaleView, OutlivesTheRegistryThatMadeIt)
{
    auto config = std::make_shared<OrvexConfig>();
    ASSERT_EQ(config->LoadAndParse(), S_OK);
    const std::string name = "Short lived";
    std::shared_ptr<ISite> shortLived;
    ASSERT_EQ(config->NewSite(&name, &shortLived), S_OK);
    std::shared_ptr<ITask> task;
    ASSERT_EQ(shortLived->NewTask(0, &task), S_OK);
    config.reset();
    shortLived.reset();
    ASSERT_EQ(m_config.LoadAndParse(), S_OK);
    EXPECT_EQ(task->SetType(5), S_OK);
    std::int16_t type = 0;
    EXPECT_EQ(task->GetType(&type), S_OK);
    EXPECT_EQ(type, 5);
}

TEST_F(AStaleView, SurvivesTheServiceSavePatternOfDeletingAndRecreatingEveryItem)
{
    // Another site view deletes the dispenser this one indexes; both go on working.
    const std::string name = "Default";
    std::shared_ptr<ISite> second;
    ASSERT_EQ(m_config.GetSite(&name, &second), S_OK);
    for (int round = 0; round < 3; ++round) {
        std::int16_t count = 0;
        ASSERT_EQ(second->NumDispensers(&count), S_OK);
        for (std::int16_t number = 0, found = 0; found < count && number < 100; ++number) {
            if (second->DeleteDispenser(number) == S_OK)
                ++found;
        }
        std::shared_ptr<IDispenser> recreated;
        ASSERT_EQ(second->NewDispenser(1, &recreated), S_OK);
    }
    EXPECT_EQ(m_site->DeleteDispenser(1), S_OK) << "the first view's index still holds its element";
    useEveryView();
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_EQ(SavedFile(path("orvexconfig.xml")).names("/CONFIG/SITE/DISPENSER"),
              std::vector<std::string>({"DISPENSER 1"}));
}

} // namespace
} // namespace configstore::testing
