#include "configtool/editors/times_editor.h"
#include "configtool/editors/timings_page.h"

#include "editor_tool.h"
#include "screenshots.h"

#include <QSpinBox>

#include <gtest/gtest.h>

namespace configtool {
namespace {

using Tool = testing::EditorTool<TimesEditor, TimingsPage>;

std::pair<int, int> timesOf(services::IOrvexConfigData &data, std::int16_t priority)
{
    std::int16_t dwell = 0, intervisit = 0;
    data.GetDwellTime(priority, &dwell);
    data.GetIntervisitTime(priority, &intervisit);
    return {dwell, intervisit};
}

TEST(ATimesEditor, GivesANewSiteTheCataloguesTimesAndOneWhereItHasNone)
{
    // Defaults for priorities 1 and 3 only.
    OrvexMetaData metaData;
    ASSERT_TRUE(metaData
                    .ReadMetaDataText(
                        R"(<M><DefaultPriority Priority="1" DwellTime="30" IntervisitTime="10"/>
                                         <DefaultPriority Priority="3" DwellTime="15" IntervisitTime="200"/></M>)",
                        QStringLiteral("test"))
                    .ok());
    for (bool withDefaults : {true, false}) {
        Tool tool(metaData);
        tool.newSite(withDefaults);
        const std::pair<int, int> expected[] = {{30, 10}, {1, 1}, {15, 200}, {1, 1}, {1, 1}};
        for (int p = 1; p <= 5; ++p) {
            EXPECT_EQ(timesOf(*tool.site.siteData, std::int16_t(p)), expected[p - 1]) << p;
            EXPECT_EQ(tool.page.DwellTimes[p - 1]->value(), expected[p - 1].first);
            EXPECT_EQ(tool.page.IntervisitTimes[p - 1]->value(), expected[p - 1].second);
        }
    }
}

TEST(ATimesEditor, HoldsATypedTimeToItsRange)
{
    Tool tool;
    tool.newSite(true);
    struct Case
    {
        QSpinBox *spin;
        int typed;
        std::pair<int, int> stored;
    };
    // The spins refuse such numbers keystroke by keystroke; widened, they show the editor's own
    // bounds.
    const Case cases[] = {
        {tool.page.DwellTimes[1], 150, {99, 15}},      {tool.page.DwellTimes[1], 0, {1, 15}},
        {tool.page.IntervisitTimes[1], 300, {1, 255}}, {tool.page.IntervisitTimes[1], 0, {1, 1}},
        {tool.page.IntervisitTimes[1], 77, {1, 77}},
    };
    for (const Case &c : cases) {
        c.spin->setRange(-1000, 1000);
        c.spin->setValue(c.typed);
        EXPECT_EQ(timesOf(*tool.site.siteData, 2), c.stored) << c.typed;
        EXPECT_EQ(c.spin->value(),
                  c.spin == tool.page.DwellTimes[1] ? c.stored.first : c.stored.second);
    }
    EXPECT_TRUE(tool.manager->IsModified());
    testing::saveScreenshot(tool.page, QStringLiteral("window-page-timings"));
}

TEST(ATimesEditor, ShowsTheSitesTimesWithoutChangingThem)
{
    Tool tool;
    tool.newSite(true);
    const QString file = QString::fromStdString(tool.site.folder.file("Times.ovx"));
    ASSERT_TRUE(tool.manager->SaveSiteAs(file));
    ASSERT_FALSE(tool.manager->IsModified());
    ASSERT_EQ(tool.site.siteData->SetDwellTime(4, 44), S_OK);
    ASSERT_EQ(tool.site.siteData->SetIntervisitTime(5, 55), S_OK);
    tool.editor->Reload();
    EXPECT_EQ(tool.page.DwellTimes[3]->value(), 44);
    EXPECT_EQ(tool.page.IntervisitTimes[4]->value(), 55);
    EXPECT_FALSE(tool.manager->IsModified());

    tool.editor->DisableEditing();
    EXPECT_FALSE(tool.page.DwellTimes[0]->isEnabled());
    tool.page.DwellTimes[0]->setValue(12);
    EXPECT_EQ(timesOf(*tool.site.siteData, 1).first, 30);
    EXPECT_FALSE(tool.manager->IsModified());
    EXPECT_FALSE(tool.editor->CanAdd());
    EXPECT_FALSE(tool.editor->CanDelete());
}

} // namespace
} // namespace configtool
