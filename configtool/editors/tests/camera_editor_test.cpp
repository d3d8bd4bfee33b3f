#include "editor_site.h"
#include "screenshots.h"

#include <QApplication>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace configtool {
namespace {

using testing::columnOf;
using testing::EditorSite;

class ACameraEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tool.newSite(false);
        tool.addDevice(testing::Camera, 1, 40);
    }

    Mgrid &grid() { return *tool.cameraPage.GridCameras; }
    QSpinBox &number() { return *tool.cameraPage.SpinChooseCamera; }

    EditorSite tool;
};

TEST_F(ACameraEditor, OffersTheLowestFreeNumberAndRefusesAUsedOne)
{
    tool.addCamera(1);
    tool.addCamera(2);
    tool.addCamera(4);
    tool.show(*tool.cameras);
    EXPECT_EQ(number().value(), 3);

    number().setValue(2);
    tool.cameras->AddNew();
    EXPECT_EQ(tool.shown(), QStringList{"error: That camera number is already used"});

    QTest::mouseClick(tool.cameraPage.BtnAddCamera, Qt::LeftButton);
    EXPECT_EQ(columnOf(grid(), 0).size(), 3);
    number().setValue(3);
    QTest::mouseClick(tool.cameraPage.BtnAddCamera, Qt::LeftButton);
    EXPECT_EQ(columnOf(grid(), 0), (QStringList{"Camera 1", "Camera 2", "Camera 4", "Camera 3"}));
    EXPECT_EQ(grid().gridRow(), 4);
    EXPECT_EQ(number().value(), 5);
}

TEST_F(ACameraEditor, RefusesTheEleventhCameraBeforeItsNumber)
{
    for (int n = 1; n <= 10; ++n)
        tool.addCamera(n);
    tool.show(*tool.cameras);
    EXPECT_EQ(number().value(), 10) << "11 held to the field's top";
    EXPECT_FALSE(tool.cameraPage.BtnAddCamera->isEnabled());

    tool.cameras->AddNew();

    EXPECT_EQ(tool.shown(), QStringList{"error: Already have the maximum of 10 cameras"});
}

TEST(ACameraEditorWithoutACameraDriver, AsksForTheDriverFirst)
{
    EditorSite tool;
    tool.newSite(false);
    tool.show(*tool.cameras);
    tool.cameras->AddNew();
    EXPECT_EQ(tool.shown(), QStringList{"error: Create a camera device first"});
}

TEST_F(ACameraEditor, AsksBeforeDeletingACameraWithPresetsAndTakesItsEntriesAlong)
{
    tool.addCamera(1);
    tool.addCamera(2, {{1, "Pump 1"}, {2, "Pump 2"}});
    tool.addDispenser(1, 1, 1, {{4, 2, 1}, {5, 1, 3}, {2, 2, 2}});
    tool.show(*tool.cameras);

    grid().setGridRow(1);
    tool.cameras->DeleteCurrent();
    EXPECT_TRUE(tool.shown().isEmpty()) << "no presets: no question";
    EXPECT_EQ(columnOf(grid(), 0), QStringList{"Camera 2"});
    EXPECT_EQ(tool.dispenserEntries(), 2) << "the entry naming camera 1 went with it";

    tool.host.scriptedPrompter.okCancel = {false, true};
    tool.cameras->DeleteCurrent();
    EXPECT_EQ(columnOf(grid(), 0), QStringList{"Camera 2"}) << "cancelled";
    EXPECT_EQ(tool.dispenserEntries(), 2);

    tool.cameras->DeleteCurrent();
    const QString question
        = QStringLiteral("ask: The presets will be deleted along with the camera. Continue?");
    EXPECT_EQ(tool.shown(), (QStringList{question, question}));
    EXPECT_EQ(columnOf(grid(), 0), QStringList{"No Cameras"});
    EXPECT_EQ(tool.dispenserEntries(), 0);
}

TEST_F(ACameraEditor, ShowsItsNarrowBlankColumnWhichOpensNothingAndShowsForReview)
{
    tool.addCamera(1);
    tool.addCamera(3);
    tool.show(*tool.cameras);
    testing::activate(tool.cameraPage);
    ASSERT_EQ(grid().columnCount(), 2);
    EXPECT_FALSE(grid().isColumnHidden(1));
    EXPECT_GT(grid().columnWidth(1), 0);
    EXPECT_LE(grid().columnWidth(1), 24) << "narrow";
    EXPECT_LE(grid().columnViewportPosition(1) + grid().columnWidth(1), grid().viewport()->width())
        << "not cut off";
    EXPECT_EQ(grid().cell(1, 0), " ");
    EXPECT_EQ(grid().cell(1, 1), " ");
    testing::clickCell(grid(), 1, 2);
    EXPECT_EQ(grid().gridRow(), 2);
    EXPECT_EQ(tool.cameras->ActivateCellEditor(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), &grid()) << "no in-place control took the focus";
    testing::saveScreenshot(tool.cameraPage, QStringLiteral("cameras"));
}

} // namespace
} // namespace configtool
