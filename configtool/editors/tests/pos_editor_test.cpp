#include "configtool/editors/pos_editor.h"
#include "configtool/editors/pos_page.h"

#include "configtool/editors/mgrid.h"
#include "editor_tool.h"
#include "screenshots.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace configtool {
namespace {

using Tool = testing::EditorTool<POSEditor, POSPage>;

constexpr std::int16_t kPos1 = 20;
constexpr std::int16_t kPos2 = 21;
constexpr std::int16_t kPos3 = 22;

QStringList items(const QComboBox &combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts << combo.itemText(i);
    return texts;
}

struct Stored
{
    int priority;
    int camera;
    int preset;
    int movable;
    bool operator==(const Stored &) const = default;
};

Stored storedPOS(testing::SiteTables &tables, int number)
{
    std::int16_t index = 0;
    tables.points->First(&index);
    while (index != 0) {
        std::int16_t n = 0, priority = 0, camera = 0, preset = 0, movable = 0;
        tables.points->GetPOSNumber(index, &n);
        if (n == number) {
            tables.points->GetPriority(index, &priority);
            tables.points->GetCamera(index, &camera);
            tables.points->GetPreset(index, &preset);
            tables.points->GetMovableFlag(index, &movable);
            return {priority, camera, preset, movable};
        }
        tables.points->Next(&index);
    }
    return {-1, -1, -1, -1};
}

void addPOS(Tool &tool, const QString &name)
{
    Tool::choose(*tool.page.CmbChoosePOS, name);
    tool.page.BtnAddPOS->click();
}

TEST(APOSEditor, RefusesAPOSWithoutItsDeviceOrBeyondThree)
{
    struct Case
    {
        const char *legend;
        std::vector<std::int16_t> devices;
        QStringList added;
        QString refusal;
    };
    const Case cases[] = {
        {"no POS device at all", {}, {"POS 1"}, "error: Create a POS device first"},
        {"another POS's device only",
         {kPos1},
         {"POS 2"},
         "error: Create the corresponding POS device first"},
        {"a number the unit has no device for",
         {kPos1, kPos2, kPos3},
         {"POS 4"},
         "error: Create the corresponding POS device first"},
        {"a fourth POS",
         {kPos1, kPos2, kPos3},
         {"POS 1", "POS 2", "POS 3", "POS 4"},
         "error: Already have the maximum of 3 POSs"},
    };
    for (const Case &c : cases) {
        Tool tool;
        tool.newSite(false);
        auto tables = tool.tables();
        for (std::int16_t device : c.devices)
            tables.addDevice(device);
        tool.editor->Reload();
        for (const QString &name : c.added)
            addPOS(tool, name);
        EXPECT_EQ(tool.host.scriptedPrompter.shown, QStringList{c.refusal}) << c.legend;
    }
}

TEST(APOSEditor, OffersTheNumbersNotListedAndAddsAPlainPOS)
{
    Tool tool;
    tool.newSite(false);
    auto tables = tool.tables();
    tables.addDevice(kPos2);
    tool.editor->Reload();
    EXPECT_EQ(items(*tool.page.CmbChoosePOS).size(), 10);
    addPOS(tool, QStringLiteral("POS 2"));
    EXPECT_EQ(tool.page.GridPOSes->cell(0, 1), QStringLiteral("POS 2"));
    EXPECT_EQ(items(*tool.page.CmbChoosePOS).constFirst(), QStringLiteral("POS 1"));
    EXPECT_FALSE(items(*tool.page.CmbChoosePOS).contains(QStringLiteral("POS 2")));
    EXPECT_TRUE(tool.page.BtnAddPOS->isEnabled());
    EXPECT_EQ(storedPOS(tables, 2), (Stored{1, 0, 0, 0}));
    EXPECT_EQ(tool.page.LblPOSSelected->text(), QStringLiteral("POS 2"));
    // Without a camera there is no preset to choose.
    EXPECT_EQ(tool.page.CmbPOSSelectCamera->currentText(), QStringLiteral("No Camera"));
    EXPECT_FALSE(tool.page.LblPOSPreset->isVisible());
    EXPECT_FALSE(tool.page.CmbPOSPreset->isVisible());
    testing::saveScreenshot(tool.page, QStringLiteral("window-page-pos-without-camera"));
}

TEST(APOSEditor, PointsThePOSAtACameraAndPreset)
{
    Tool tool;
    tool.newSite(false);
    auto tables = tool.tables();
    tables.addDevice(kPos1);
    tables.addCamera(4, {{2, "Till"}, {9, "Door - left"}});
    tables.addCamera(1, {{1, "Forecourt"}});
    tool.editor->Reload();
    addPOS(tool, QStringLiteral("POS 1"));
    EXPECT_EQ(items(*tool.page.CmbPOSSelectCamera), (QStringList{"No Camera", "4", "1"}));

    Tool::choose(*tool.page.CmbPOSSelectCamera, QStringLiteral("4"));
    EXPECT_TRUE(tool.page.CmbPOSPreset->isVisible());
    EXPECT_EQ(items(*tool.page.CmbPOSPreset),
              (QStringList{"No Preset", "2 - Till", "9 - Door - left"}));
    Tool::choose(*tool.page.CmbPOSPreset, QStringLiteral("9 - Door - left"));
    EXPECT_EQ(storedPOS(tables, 1), (Stored{1, 4, 9, -1}));
    EXPECT_EQ(tool.page.CmbPOSPreset->currentText(), QStringLiteral("9 - Door - left"));
    testing::saveScreenshot(tool.page, QStringLiteral("window-page-pos-with-preset"));

    // Another camera: its own presets, and none chosen yet.
    Tool::choose(*tool.page.CmbPOSSelectCamera, QStringLiteral("1"));
    EXPECT_EQ(storedPOS(tables, 1), (Stored{1, 1, 0, -1}));
    EXPECT_EQ(items(*tool.page.CmbPOSPreset), (QStringList{"No Preset", "1 - Forecourt"}));
    Tool::choose(*tool.page.CmbPOSPreset, QStringLiteral("1 - Forecourt"));
    Tool::choose(*tool.page.CmbPOSPreset, QStringLiteral("No Preset"));
    EXPECT_EQ(storedPOS(tables, 1), (Stored{1, 1, 0, 0}));

    tool.page.BtnPOSPreviousCamera->click();
    EXPECT_EQ(storedPOS(tables, 1), (Stored{1, 4, 0, 0}));
    tool.page.BtnPOSPreviousCamera->click();
    EXPECT_EQ(storedPOS(tables, 1), (Stored{1, 0, 0, 0}));
    EXPECT_FALSE(tool.page.CmbPOSPreset->isVisible());
    tool.page.BtnPOSPreviousCamera->click();
    EXPECT_EQ(storedPOS(tables, 1), (Stored{1, 0, 0, 0}));

    tool.page.SpnPOSEventPriority->setValue(4);
    EXPECT_EQ(storedPOS(tables, 1).priority, 4);
}

} // namespace
} // namespace configtool
