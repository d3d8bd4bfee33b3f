#include "configtool/editors/arrow_spin_box.h"
#include "configtool/model/camera_type_state.h"
#include "editor_site.h"
#include "screenshots.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace configtool {
namespace {

using testing::EditorSite;
using testing::columnOf;

class APresetEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tool.newSite(false);
        tool.addDevice(testing::Camera, 1, 80);
        tool.host.cameraType().set(80);
    }

    Mgrid &grid() { return *tool.presetPage.GridPresets; }
    ArrowSpinBox &presetNumber() { return *tool.presetPage.SpnPresetsSelectPreset; }
    QLineEdit &comment() { return *tool.presetPage.TxtPresetComment; }
    QComboBox &cameraList() { return *tool.presetPage.CmbPresetsSelectCamera; }
    std::vector<std::string> &calls() { return tool.cameraCalls(); }
    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Writes the site to a file, so that it counts as unchanged.
    void saveSite()
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(tool.manager.SaveSiteAs(m_folder.filePath(QStringLiteral("site.ovx"))))
            << tool.shown().join('|').toStdString();
        ASSERT_FALSE(tool.manager.IsModified());
    }
    std::string storedComment(int cameraIndex, int presetIndex)
    {
        std::string text;
        tool.cameraTable->GetComment(static_cast<std::int16_t>(cameraIndex),
                                     static_cast<std::int16_t>(presetIndex), &text);
        return text;
    }

    EditorSite tool;

private:
    QTemporaryDir m_folder;
};

TEST_F(APresetEditor, SetsANewPresetAndMovesOnToTheNextNumber)
{
    tool.addCamera(1, {{1, "Gate"}, {6, "Pump six"}});
    tool.show(*tool.presets);
    calls().clear();

    presetNumber().setValue(5);
    comment().setText(QStringLiteral("Forecourt"));
    click(tool.presetPage.BtnPresetsSetPreset);

    EXPECT_EQ(calls(), std::vector<std::string>{"SetPreset(5)"});
    EXPECT_EQ(columnOf(grid(), 0), (QStringList{"Preset 1", "Preset 6", "Preset 5"}));
    EXPECT_EQ(columnOf(grid(), 1), (QStringList{"Gate", "Pump six", "Forecourt"}));
    EXPECT_EQ(grid().gridRow(), 3);
    EXPECT_EQ(presetNumber().value(), 6);
    EXPECT_EQ(comment().text(), "Pump six");
}

TEST_F(APresetEditor, OnlyStoresThePositionOfAnExistingPresetWithItsCommentUnchanged)
{
    tool.addCamera(1, {{1, "Gate"}, {2, "Pump"}});
    tool.show(*tool.presets);
    saveSite();
    grid().setGridRow(2);
    tool.presets->SelectRow(2);
    ASSERT_EQ(comment().text(), "Pump");
    calls().clear();

    click(tool.presetPage.BtnPresetsSetPreset);
    EXPECT_EQ(calls(), std::vector<std::string>{"SetPreset(2)"});
    EXPECT_FALSE(tool.manager.IsModified());

    comment().setText(QStringLiteral("Pump island"));
    click(tool.presetPage.BtnPresetsSetPreset);
    EXPECT_EQ(columnOf(grid(), 1), (QStringList{"Gate", "Pump island"}));
    EXPECT_EQ(storedComment(1, 2), "Pump island");
    EXPECT_TRUE(tool.manager.IsModified());
}

TEST_F(APresetEditor, ClearsTheCameraPresetAlsoWhenTheSiteHasNone)
{
    tool.addCamera(1, {{1, "Gate"}, {6, "Pump six"}});
    tool.addDispenser(1, 1, 1, {{4, 1, 6}, {5, 1, 1}});
    tool.show(*tool.presets);
    calls().clear();

    presetNumber().setValue(3);
    click(tool.presetPage.BtnPresetsClearPresets);
    EXPECT_EQ(calls(), std::vector<std::string>{"ClearPreset(3)"});
    EXPECT_EQ(columnOf(grid(), 0), (QStringList{"Preset 1", "Preset 6"}));

    presetNumber().setValue(6);
    click(tool.presetPage.BtnPresetsClearPresets);
    EXPECT_EQ(calls().back(), "ClearPreset(6)");
    EXPECT_EQ(columnOf(grid(), 0), QStringList{"Preset 1"});
    EXPECT_EQ(tool.dispenserEntries(), 1) << "the entry naming preset 6 went with it";
}

TEST_F(APresetEditor, HoldsPresetNumbersToTheCameraTypesLimit)
{
    tool.addCamera(1);
    tool.show(*tool.presets);
    EXPECT_EQ(presetNumber().maximum(), 16);

    // A wider field, as an older limit would leave it: the limit still holds at Set.
    presetNumber().setMaximum(50);
    presetNumber().setValue(17);
    calls().clear();
    click(tool.presetPage.BtnPresetsSetPreset);
    EXPECT_EQ(tool.shown(), QStringList{"error: Preset number cannot exceed 16"});
    EXPECT_EQ(calls(), std::vector<std::string>{"SetPreset(17)"}) << "the camera is told anyway";
    EXPECT_EQ(columnOf(grid(), 0), QStringList{"No Presets"});

    presetNumber().setMinimum(0);
    presetNumber().setValue(0);
    tool.host.scriptedPrompter.shown.clear();
    click(tool.presetPage.BtnPresetsSetPreset);
    EXPECT_TRUE(tool.shown().isEmpty()) << "no preset 0, and nothing to say about it";
    EXPECT_EQ(columnOf(grid(), 0), QStringList{"No Presets"});

    tool.host.cameraType().set(33);
    EXPECT_EQ(calls().back(), "SelectCamera(1,33)");
    EXPECT_EQ(presetNumber().maximum(), 1) << "a type the catalogue does not know";
    EXPECT_EQ(tool.presets->MaxCount(), 1);
}

TEST_F(APresetEditor, SteersWithTheSpeedsOfTheTrackBar)
{
    struct Case
    {
        int position;
        int panTilt;
        int lens;
    };
    const Case cases[] = {{1, 0, 0}, {2, 7, 0}, {3, 14, 1}, {5, 28, 1}, {6, 35, 2},
                          {8, 49, 2}, {9, 56, 3}, {10, 63, 3}};
    for (const Case &c : cases) {
        EXPECT_EQ(PresetEditor::panTiltSpeed(c.position), c.panTilt) << c.position;
        EXPECT_EQ(PresetEditor::lensSpeed(c.position), c.lens) << c.position;
    }

    tool.addCamera(1);
    tool.show(*tool.presets);
    tool.presets->DisableEditing();
    EXPECT_FALSE(tool.presetPage.BtnPresetsSetPreset->isEnabled());
    EXPECT_FALSE(tool.presetPage.BtnPresetsClearPresets->isEnabled());
    EXPECT_TRUE(tool.presetPage.BtnPresetsUp->isEnabled()) << "steering stays usable";
    calls().clear();

    tool.presetPage.TrackBarCameraSpeed->setValue(1);
    click(tool.presetPage.BtnPresetsUp);
    click(tool.presetPage.BtnPresetsZoomIn);
    tool.presetPage.TrackBarCameraSpeed->setValue(10);
    click(tool.presetPage.BtnPresetsDownLeft);
    click(tool.presetPage.BtnPresetsFocusFar);
    click(tool.presetPage.BtnPresetsIrisOpen);
    click(tool.presetPage.BtnPresetsAutoPan);
    click(tool.presetPage.BtnPresetsCameraMenu);

    tool.site.cameraCtrl->result = E_FAIL;
    click(tool.presetPage.BtnPresetsGotoPreset);
    EXPECT_TRUE(tool.shown().isEmpty()) << "camera failures are never shown";
    calls().pop_back();

    EXPECT_EQ(calls(), (std::vector<std::string>{
                           "MoveUp(0)", "StopMoving()", "ZoomIn(0)",
                           "StopMoving()", "MoveDownLeft(63)", "StopMoving()", "FocusFar(3)",
                           "StopMoving()", "OpenIris()", "StopMoving()", "ToggleAutoPan()",
                           "AccessMenu()"}));
}

TEST_F(APresetEditor, SteersTheCameraItShowsAfterASiteLoad)
{
    tool.addCamera(2, {{1, "Gate"}});
    tool.addCamera(3);
    tool.host.cameraType().set(40);
    tool.presets->AfterSiteLoad();
    tool.show(*tool.presets);
    ASSERT_EQ(cameraList().currentText(), "2");

    click(tool.presetPage.BtnPresetsGotoPreset);

    const auto moved = std::find(calls().begin(), calls().end(), "MoveToPreset(1)");
    ASSERT_NE(moved, calls().end());
    const auto selected = std::find_if(std::make_reverse_iterator(moved), calls().rend(),
                                       [](const std::string &call) { return call.starts_with("SelectCamera"); });
    ASSERT_NE(selected, calls().rend());
    EXPECT_EQ(*selected, "SelectCamera(2,40)");
}

TEST_F(APresetEditor, ShowsThePresetsOfTheChosenCamera)
{
    tool.addCamera(1, {{1, "Gate"}});
    tool.addCamera(3, {{2, "Shop door"}, {4, "Air"}});
    tool.addCamera(12);
    tool.show(*tool.presets);
    EXPECT_EQ(cameraList().count(), 2) << "cameras 1..10 only";
    EXPECT_EQ(cameraList().itemData(1).toInt(), 3);
    EXPECT_TRUE(tool.presets->CanSwitchCamera());

    click(tool.presetPage.BtnPresetsNextCamera);
    EXPECT_EQ(columnOf(grid(), 1), (QStringList{"Shop door", "Air"}));
    EXPECT_EQ(calls().back(), "SelectCamera(3,80)");
    EXPECT_EQ(presetNumber().value(), 2);
    EXPECT_EQ(comment().text(), "Shop door");

    click(tool.presetPage.BtnPresetsPreviousCamera);
    EXPECT_EQ(columnOf(grid(), 1), QStringList{"Gate"});
}

TEST_F(APresetEditor, EditsACommentInPlaceFromTheFirstTypedLetter)
{
    tool.addCamera(1, {{1, "Gate"}, {2, "Pump"}});
    tool.show(*tool.presets);
    testing::activate(tool.presetPage);
    grid().setFocus();
    grid().setGridRow(2);
    grid().setGridCol(1);

    QTest::keyClick(&grid(), Qt::Key_N);
    QTest::keyClicks(tool.presetPage.TxtEditPresetComment, QStringLiteral("orth"));
    EXPECT_EQ(storedComment(1, 2), "north");
    EXPECT_EQ(comment().text(), "north") << "the field that Set Preset stores follows the edit";
    testing::saveScreenshot(tool.presetPage, QStringLiteral("presets_comment_open"));
    click(tool.presetPage.BtnPresetsSetPreset);
    EXPECT_EQ(storedComment(1, 2), "north");
    grid().setFocus();
    grid().setGridRow(2);
    grid().setGridCol(1);
    QTest::keyClick(&grid(), Qt::Key_Return);

    tool.presetPage.TxtEditPresetComment->clear();
    EXPECT_EQ(storedComment(1, 2), " ") << "an empty comment is stored as one blank";
    QTest::keyClick(tool.presetPage.TxtEditPresetComment, Qt::Key_Return);
    tool.presets->Reload();
    EXPECT_EQ(columnOf(grid(), 1), (QStringList{"Gate", ""}));
}

TEST_F(APresetEditor, ShowsACameraWithPresetsForReview)
{
    tool.addCamera(1, {{1, "Gate"}, {2, "Pump 1 and 2"}, {3, "Pump 3 and 4"}, {4, "Shop door"},
                       {5, "Air and water"}, {6, "Car wash"}, {7, "Exit"}});
    tool.addCamera(2);
    tool.show(*tool.presets);
    testing::activate(tool.presetPage);
    testing::clickCell(grid(), 0, 4);
    EXPECT_EQ(presetNumber().value(), 4);
    EXPECT_EQ(comment().text(), "Shop door");
    testing::saveScreenshot(tool.presetPage, QStringLiteral("presets"));
}

} // namespace
} // namespace configtool
