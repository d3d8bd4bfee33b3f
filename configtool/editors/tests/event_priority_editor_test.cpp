#include "configtool/editors/dispenser_events_page.h"
#include "configtool/editors/event_priority_editor.h"

#include "configtool/editors/mgrid.h"
#include "editor_tool.h"
#include "screenshots.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace configtool {
namespace {

using Tool = testing::EditorTool<EventPriorityEditor, DispenserEventsPage>;

QStringList items(const QComboBox &combo)
{
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts << combo.itemText(i);
    return texts;
}

QStringList rows(Mgrid &grid)
{
    QStringList texts;
    for (int row = 1; row < grid.gridRowCount(); ++row)
        texts << grid.cell(0, row);
    return texts;
}

void clickRow(Mgrid &grid, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(0, row).center());
}

// Priority and revisit priority of the site's event with that number.
std::pair<int, int> prioritiesOf(testing::SiteTables &tables, int eventNumber)
{
    std::int16_t index = 0;
    tables.events->First(&index);
    while (index != 0) {
        std::int16_t number = 0, priority = 0, revisit = 0;
        tables.events->GetEventNumber(index, &number);
        if (number == eventNumber) {
            tables.events->GetPriority(index, &priority);
            tables.events->GetTransitionPriority(index, &revisit);
            return {priority, revisit};
        }
        tables.events->Next(&index);
    }
    return {-1, -1};
}

void addEvent(Tool &tool, const QString &name)
{
    Tool::choose(*tool.page.CmbChooseEvent, name);
    tool.page.BtnAddEvent->click();
}

TEST(AnEventPriorityEditor, AddsEventsWithTheirStartingPrioritiesUpToTheCatalogue)
{
    Tool tool;
    tool.newSite(false);
    EXPECT_EQ(rows(*tool.page.GridDispenserEvents), QStringList{"No Events"});
    EXPECT_EQ(items(*tool.page.CmbChooseEvent),
              (QStringList{"Idle", "Nozzle Lift", "Nozzle Hung Up", "Delivery Start",
                           "Delivery End", "Card Read"}));

    addEvent(tool, QStringLiteral("Nozzle Lift"));
    addEvent(tool, QStringLiteral("Idle"));
    auto tables = tool.tables();
    EXPECT_EQ(prioritiesOf(tables, 0), std::make_pair(5, 5));
    EXPECT_EQ(prioritiesOf(tables, 2), std::make_pair(1, 5));
    EXPECT_EQ(rows(*tool.page.GridDispenserEvents), (QStringList{"Nozzle Lift", "Idle"}));
    EXPECT_EQ(items(*tool.page.CmbChooseEvent),
              (QStringList{"Nozzle Hung Up", "Delivery Start", "Delivery End", "Card Read"}));
    // The new row is the selected one.
    EXPECT_EQ(tool.page.LblDispenserEventSelected->text(), QStringLiteral("Idle"));
    EXPECT_EQ(tool.page.SpinDispenserEventInitialPriority->value(), 5);

    for (const char *name : {"Nozzle Hung Up", "Delivery Start", "Delivery End", "Card Read"})
        addEvent(tool, QLatin1String(name));
    EXPECT_FALSE(tool.page.BtnAddEvent->isEnabled());
    tool.editor->AddNew();
    EXPECT_EQ(tool.host.scriptedPrompter.shown,
              QStringList{"error: Already have the maximum of 6 Events"});
}

TEST(AnEventPriorityEditor, NeverOffersToDeleteIdle)
{
    Tool tool;
    tool.newSite(true);
    ASSERT_EQ(rows(*tool.page.GridDispenserEvents),
              (QStringList{"Idle", "Nozzle Lift", "Delivery Start"}));
    auto button = [&](int i) {
        return tool.page.findChild<QToolButton *>(QStringLiteral("BtnDeleteEvent%1").arg(i));
    };
    ASSERT_NE(button(3), nullptr);
    EXPECT_FALSE(button(1)->isEnabled());
    EXPECT_TRUE(button(2)->isEnabled());
    EXPECT_TRUE(button(3)->isEnabled());
    tool.editor->DisableEditing();
    EXPECT_FALSE(button(2)->isEnabled());
    tool.editor->EnableEditing();
    EXPECT_FALSE(button(1)->isEnabled());
    EXPECT_TRUE(button(2)->isEnabled());

    // Edit Delete on the Idle row does nothing either.
    tool.page.GridDispenserEvents->setGridRow(1);
    tool.editor->DeleteCurrent();
    EXPECT_EQ(rows(*tool.page.GridDispenserEvents).size(), 3);
}

TEST(AnEventPriorityEditor, WritesThePrioritiesOfTheSelectedEvent)
{
    Tool tool;
    tool.newSite(true);
    clickRow(*tool.page.GridDispenserEvents, 3);
    EXPECT_EQ(tool.page.LblDispenserEventSelected->text(), QStringLiteral("Delivery Start"));
    EXPECT_EQ(tool.page.SpinDispenserEventInitialPriority->value(), 2);
    EXPECT_EQ(tool.page.SpinDispenserEventRevisitPriority->value(), 4);
    tool.page.SpinDispenserEventInitialPriority->setValue(3);
    tool.page.SpinDispenserEventRevisitPriority->setValue(1);
    auto tables = tool.tables();
    EXPECT_EQ(prioritiesOf(tables, 4), std::make_pair(3, 1));
    EXPECT_EQ(prioritiesOf(tables, 2), std::make_pair(1, 5));
}

TEST(AnEventPriorityEditor, HidesTheDispenserPresetsOfASiteWithoutDispensers)
{
    Tool tool;
    tool.newSite(true);
    clickRow(*tool.page.GridDispenserEvents, 2);
    EXPECT_TRUE(tool.page.GrpSelectedEvent->isVisible());
    EXPECT_TRUE(tool.page.GrpEventPriorities->isVisible());
    EXPECT_FALSE(tool.page.GrpDispenserPresets->isVisible());
}

class AnEventPriorityEditorWithPresets : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tool.newSite(true);
        auto tables = tool.tables();
        for (std::int16_t number : {5, 1, 2})
            tables.addDispenser(number);
        // Comments that hold the separators of the choice texts.
        tables.addCamera(2, {{7, "A.b - c"}, {3, "Gate"}});
        tables.addCamera(1, {{1, "Pump 1"}});
        tool.editor->Reload();
        clickRow(*tool.page.GridDispenserEvents, 2); // Nozzle Lift
    }

    std::vector<std::string> entries() { return tool.tables().entries(); }

    Tool tool;
};

TEST_F(AnEventPriorityEditorWithPresets, ListsTheDispensersAndEveryPreset)
{
    EXPECT_TRUE(tool.page.GrpDispenserPresets->isVisible());
    EXPECT_EQ(items(*tool.page.CmbEventSelectDispenser), (QStringList{"1", "2", "5"}));
    EXPECT_EQ(items(*tool.page.CmbEventEditPreset),
              (QStringList{"No Preset", "2.7 - A.b - c", "2.3 - Gate", "1.1 - Pump 1"}));
    EXPECT_EQ(tool.page.CmbEventEditPreset->currentText(), QStringLiteral("No Preset"));
    testing::saveScreenshot(tool.page, QStringLiteral("window-page-dispenser-events"));
}

TEST_F(AnEventPriorityEditorWithPresets, MapsTheChosenPresetOnTheChosenDispenser)
{
    Tool::choose(*tool.page.CmbEventSelectDispenser, QStringLiteral("2"));
    Tool::choose(*tool.page.CmbEventEditPreset, QStringLiteral("2.7 - A.b - c"));
    EXPECT_EQ(entries(), std::vector<std::string>{"2:2:2.7"});
    Tool::choose(*tool.page.CmbEventEditPreset, QStringLiteral("1.1 - Pump 1"));
    EXPECT_EQ(entries(), std::vector<std::string>{"2:2:1.1"});

    // Another event's row shows its own mapping; coming back shows this one.
    clickRow(*tool.page.GridDispenserEvents, 1);
    EXPECT_EQ(tool.page.CmbEventEditPreset->currentText(), QStringLiteral("No Preset"));
    clickRow(*tool.page.GridDispenserEvents, 2);
    EXPECT_EQ(tool.page.CmbEventSelectDispenser->currentText(), QStringLiteral("2"));
    EXPECT_EQ(tool.page.CmbEventEditPreset->currentText(), QStringLiteral("1.1 - Pump 1"));

    Tool::choose(*tool.page.CmbEventEditPreset, QStringLiteral("No Preset"));
    EXPECT_TRUE(entries().empty());
    // "No Preset" where there is no mapping changes nothing.
    Tool::choose(*tool.page.CmbEventEditPreset, QStringLiteral("No Preset"));
    EXPECT_TRUE(entries().empty());
}

TEST_F(AnEventPriorityEditorWithPresets, StepsThroughTheDispensersWithItsArrows)
{
    Tool::choose(*tool.page.CmbEventSelectDispenser, QStringLiteral("5"));
    Tool::choose(*tool.page.CmbEventEditPreset, QStringLiteral("2.3 - Gate"));
    tool.page.BtnEventNextDispenser->click();
    EXPECT_EQ(tool.page.CmbEventSelectDispenser->currentText(), QStringLiteral("5"));
    EXPECT_EQ(tool.page.CmbEventEditPreset->currentText(), QStringLiteral("2.3 - Gate"));
    tool.page.BtnEventPreviousDispenser->click();
    EXPECT_EQ(tool.page.CmbEventSelectDispenser->currentText(), QStringLiteral("2"));
    EXPECT_EQ(tool.page.CmbEventEditPreset->currentText(), QStringLiteral("No Preset"));
    EXPECT_EQ(tool.editor->shownDispenser(), 2);
    tool.page.BtnEventPreviousDispenser->click();
    tool.page.BtnEventPreviousDispenser->click();
    EXPECT_EQ(tool.page.CmbEventSelectDispenser->currentText(), QStringLiteral("1"));
    EXPECT_EQ(entries(), std::vector<std::string>{"5:2:2.3"});
}

TEST_F(AnEventPriorityEditorWithPresets, DeletesAnEventWithItsPresetsOnEveryDispenser)
{
    for (const char *dispenser : {"1", "5"}) {
        Tool::choose(*tool.page.CmbEventSelectDispenser, QLatin1String(dispenser));
        Tool::choose(*tool.page.CmbEventEditPreset, QStringLiteral("2.7 - A.b - c"));
    }
    clickRow(*tool.page.GridDispenserEvents, 3); // Delivery Start
    Tool::choose(*tool.page.CmbEventEditPreset, QStringLiteral("1.1 - Pump 1"));
    ASSERT_EQ(entries().size(), 3u);
    tool.page.findChild<QToolButton *>(QStringLiteral("BtnDeleteEvent2"))->click();
    EXPECT_EQ(rows(*tool.page.GridDispenserEvents), (QStringList{"Idle", "Delivery Start"}));
    EXPECT_EQ(entries(), std::vector<std::string>{"5:4:1.1"});
}

TEST_F(AnEventPriorityEditorWithPresets, IgnoresItsControlsWhileBusy)
{
    tool.editor->DisableEditing();
    EXPECT_FALSE(tool.page.CmbEventEditPreset->isEnabled());
    Tool::choose(*tool.page.CmbEventEditPreset, QStringLiteral("2.3 - Gate"));
    tool.page.SpinDispenserEventInitialPriority->setValue(4);
    EXPECT_TRUE(entries().empty());
    auto tables = tool.tables();
    EXPECT_EQ(prioritiesOf(tables, 2), std::make_pair(1, 5));
}

} // namespace
} // namespace configtool
