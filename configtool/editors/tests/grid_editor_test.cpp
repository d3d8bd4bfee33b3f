#include "screenshots.h"
#include "thing_grid_editor.h"

#include "support/tests/time_scale.h"

#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace configtool {
namespace {

using testing::ThingTool;

QStringList column(Mgrid &grid, int col)
{
    QStringList texts;
    for (int row = 1; row < grid.gridRowCount(); ++row)
        texts << grid.cell(col, row);
    return texts;
}

std::vector<QToolButton *> visibleButtons(QWidget &page)
{
    std::vector<QToolButton *> shown;
    for (QToolButton *button : page.findChildren<QToolButton *>()) {
        if (button->isVisible())
            shown.push_back(button);
    }
    return shown;
}

void clickCell(Mgrid &grid, int col, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(col, row).center());
}

// Focus needs an active window, also offscreen.
void activate(QWidget &page)
{
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page, scaled(std::chrono::seconds(5)).count()));
}

TEST(AGridEditor, ShowsOnlyThePlaceholderRowWhenTheIteratorCountsNothing)
{
    ThingTool tool;
    tool.open(0);

    EXPECT_EQ(tool.page.GridThings->gridRowCount(), 2);
    EXPECT_EQ(column(*tool.page.GridThings, 0), QStringList{"No Things"});
    EXPECT_TRUE(tool.editor.IsEmpty());
    EXPECT_TRUE(visibleButtons(tool.page).empty());
    EXPECT_FALSE(tool.editor.CanDelete());
    EXPECT_TRUE(tool.page.BtnAddThing->isEnabled());
    EXPECT_TRUE(tool.editor.CanAdd());
    EXPECT_FALSE(tool.host.commands.editDelete);
}

TEST(AGridEditor, RefusesAnAddAtMaxCountAndDisablesTheAddButtonOnReachingIt)
{
    ThingTool tool;
    tool.editor.maxCount = 3;
    tool.open(2);
    EXPECT_TRUE(tool.page.BtnAddThing->isEnabled());

    QTest::mouseClick(tool.page.BtnAddThing, Qt::LeftButton);
    EXPECT_EQ(tool.editor.dataRowCount(), 3);
    EXPECT_FALSE(tool.page.BtnAddThing->isEnabled());
    EXPECT_EQ(tool.page.GridThings->gridRow(), 3) << "the new row is selected";
    EXPECT_EQ(tool.editor.selectedRows.back(), 3);

    tool.editor.AddNew();
    EXPECT_EQ(tool.editor.dataRowCount(), 3);
    EXPECT_EQ(tool.host.scriptedPrompter.shown,
              QStringList{"error: Already have the maximum of things"});
}

TEST(AGridEditor, ShowsARefusalOfTheAddUnlessQuietOrUnworded)
{
    struct Case
    {
        const char *legend;
        QString refusal;
        bool quiet;
        QStringList shown;
    };
    const Case cases[] = {
        {"worded", QStringLiteral("Create a thing loop first"), false,
         {"error: Create a thing loop first"}},
        {"quiet", QStringLiteral("Create a thing loop first"), true, {}},
        {"unworded", QStringLiteral(""), false, {}},
    };
    for (const Case &c : cases) {
        ThingTool tool;
        tool.open(1);
        tool.editor.refusal = c.refusal;
        EXPECT_FALSE(tool.editor.AddRow(c.quiet)) << c.legend;
        EXPECT_EQ(tool.host.scriptedPrompter.shown, c.shown) << c.legend;
        EXPECT_EQ(tool.editor.things().things.size(), 1u) << c.legend;
    }
}

TEST(AGridEditor, LeavesTheCurrentRowOnTheNewLastRowAfterDeletingTheLast)
{
    ThingTool tool;
    tool.open(4);
    tool.page.GridThings->setGridRow(4);

    tool.editor.DeleteCurrent();

    EXPECT_EQ(column(*tool.page.GridThings, 0),
              (QStringList{"Thing 1", "Thing 2", "Thing 3"}));
    EXPECT_EQ(tool.page.GridThings->gridRow(), 3);
    EXPECT_EQ(tool.editor.selectedRows.back(), 3);
}

TEST(AGridEditor, SaysWhyADeleteIsRefusedOrFailed)
{
    ThingTool tool;
    tool.open(2);
    tool.editor.deleteRefusal = QStringLiteral("Thing 1 is being used by some things");
    tool.editor.DeleteCurrent();
    tool.editor.deleteRefusal = QString();
    tool.editor.deleteError = true;
    tool.editor.DeleteCurrent();

    EXPECT_EQ(tool.host.scriptedPrompter.shown,
              (QStringList{"error: Thing 1 is being used by some things",
                           "error: Failed to delete row Unspecified error"}));
    EXPECT_EQ(tool.editor.dataRowCount(), 2);
}

TEST(AGridEditor, TakesThePlaceholderRowForNoRecord)
{
    ThingTool tool;
    tool.open(0);
    tool.editor.DeleteCurrent();
    tool.editor.DeleteRow(nullptr);
    EXPECT_TRUE(tool.editor.checkedRows.empty());
    EXPECT_TRUE(tool.host.scriptedPrompter.shown.isEmpty());
}

TEST(AGridEditor, DoesNothingWhileBusy)
{
    ThingTool tool;
    tool.open(2);
    tool.editor.DisableEditing();
    const int reloads = tool.editor.things().reloads;

    tool.editor.AddNew();
    tool.editor.DeleteCurrent();
    tool.editor.Reload();

    EXPECT_EQ(tool.editor.things().things.size(), 2u);
    EXPECT_EQ(tool.editor.things().reloads, reloads);
    EXPECT_FALSE(tool.editor.CanAdd());
    EXPECT_FALSE(tool.editor.CanDelete());
    for (QToolButton *button : visibleButtons(tool.page))
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_FALSE(tool.page.SpnThingNumber->isEnabled());
}

TEST(AGridEditor, DeletesTheRowBesideAButtonOfAScrolledGrid)
{
    ThingTool tool;
    tool.open(30);
    Mgrid &grid = *tool.page.GridThings;
    grid.verticalScrollBar()->setValue(10);
    ASSERT_EQ(grid.topRow(), 11);

    // The buttons follow the scroll: button 1 stands beside row 11, and none beside a row cut
    // off at the bottom.
    auto *first = tool.page.findChild<QToolButton *>(QStringLiteral("BtnDeleteThing1"));
    ASSERT_NE(first, nullptr);
    const QPoint rowTop = grid.viewport()->mapTo(&tool.page, grid.cellRect(0, 11).topLeft());
    EXPECT_EQ(first->y(), rowTop.y());
    EXPECT_EQ(first->x(), grid.geometry().right() + 1);
    const auto shown = visibleButtons(tool.page);
    const int fullRows = grid.viewport()->height() / Mgrid::DefaultRowHeight;
    EXPECT_EQ(static_cast<int>(shown.size()), fullRows);

    auto *third = tool.page.findChild<QToolButton *>(QStringLiteral("BtnDeleteThing3"));
    ASSERT_NE(third, nullptr);
    QTest::mouseClick(third, Qt::LeftButton);

    EXPECT_EQ(tool.editor.checkedRows, std::vector<int>{13});
    EXPECT_FALSE(column(grid, 0).contains("Thing 13"));
    EXPECT_EQ(tool.editor.dataRowCount(), 29);
}

TEST(AGridEditor, EnablesEachDeleteButtonAsItsRowAllows)
{
    ThingTool tool;
    tool.editor.undeletable = {QStringLiteral("Thing 2")};
    tool.open(3);
    tool.editor.DisableEditing();
    tool.editor.EnableEditing();

    auto button = [&](int n) {
        return tool.page.findChild<QToolButton *>(QStringLiteral("BtnDeleteThing%1").arg(n));
    };
    EXPECT_TRUE(button(1)->isEnabled());
    EXPECT_FALSE(button(2)->isEnabled());
    EXPECT_TRUE(button(3)->isEnabled());
}

TEST(AGridEditor, OpensTheCellsControlOnAClickAndCommitsItWhenTheFocusLeaves)
{
    ThingTool tool;
    tool.open(3);
    activate(tool.page);
    Mgrid &grid = *tool.page.GridThings;
    tool.host.panels.texts[0] = QStringLiteral("Port 3 is already allocated to Thing 1");

    clickCell(grid, 1, 2);
    ArrowSpinBox &spin = *tool.page.SpnThingNumber;
    ASSERT_TRUE(spin.isVisible());
    EXPECT_TRUE(spin.hasFocus());
    EXPECT_EQ(spin.geometry(), grid.cellRect(1, 2));
    EXPECT_EQ(spin.value(), 2);
    EXPECT_EQ(tool.editor.selectedRows.back(), 2);

    spin.setValue(7);
    tool.page.BtnAddThing->setFocus();
    EXPECT_FALSE(spin.isVisible());
    EXPECT_EQ(grid.cell(1, 2), "7");
    EXPECT_EQ(tool.host.panels.texts[0], QString());
}

TEST(AGridEditor, StartsAnEditWithTheTypedCharacterInItsOwnCase)
{
    ThingTool tool;
    tool.open(5);
    activate(tool.page);
    Mgrid &grid = *tool.page.GridThings;
    grid.setFocus();
    grid.setGridRow(2);
    grid.setGridCol(2);

    // "t" would move the row to the next "Thing" under the table's own type-ahead search.
    QTest::keyClick(&grid, Qt::Key_T);
    QTest::keyClicks(tool.page.TxtThingNote, QStringLiteral("ap"));

    EXPECT_TRUE(tool.page.TxtThingNote->isVisible());
    EXPECT_EQ(tool.page.TxtThingNote->text(), "tap");
    EXPECT_EQ(grid.gridRow(), 2);
}

TEST(AGridEditor, MovesAndEndsTheEditByTheKeysOfTheCellsControl)
{
    ThingTool tool;
    tool.open(5);
    activate(tool.page);
    Mgrid &grid = *tool.page.GridThings;
    ArrowSpinBox &spin = *tool.page.SpnThingNumber;

    struct Step
    {
        const char *legend;
        Qt::Key key;
        int row;
        int col;
    };
    const Step steps[] = {
        {"PageDown: a row down", Qt::Key_PageDown, 3, 1},
        {"PageUp: a row up", Qt::Key_PageUp, 1, 1},
        {"End: a column right", Qt::Key_End, 2, 2},
        {"Home: a column left", Qt::Key_Home, 2, 0},
        {"Enter: back to the grid", Qt::Key_Return, 2, 1},
        {"Insert: back to the grid", Qt::Key_Insert, 2, 1},
    };
    for (const Step &step : steps) {
        clickCell(grid, 1, 2);
        ASSERT_TRUE(spin.hasFocus()) << step.legend;
        QTest::keyClick(&spin, step.key);
        EXPECT_TRUE(grid.hasFocus()) << step.legend;
        EXPECT_FALSE(spin.isVisible()) << step.legend;
        EXPECT_EQ(grid.gridRow(), step.row) << step.legend;
        EXPECT_EQ(grid.gridCol(), step.col) << step.legend;
    }
}

TEST(AGridEditor, OpensNothingOnThePlaceholderRowOrTheFirstColumn)
{
    ThingTool tool;
    tool.open(0);
    activate(tool.page);
    clickCell(*tool.page.GridThings, 1, 1);
    QTest::keyClick(tool.page.GridThings, Qt::Key_5);
    EXPECT_EQ(tool.editor.cellControl(), nullptr);

    tool.editor.fill(2);
    tool.editor.Reload();
    clickCell(*tool.page.GridThings, 0, 2);
    EXPECT_EQ(tool.editor.cellControl(), nullptr);
    EXPECT_EQ(tool.page.GridThings->gridRow(), 2);
}

TEST(AGridEditor, CommitsTheCellsControlBeforeTheGridScrolls)
{
    ThingTool tool;
    tool.open(30);
    activate(tool.page);
    Mgrid &grid = *tool.page.GridThings;
    clickCell(grid, 2, 3);
    tool.page.TxtThingNote->setText(QStringLiteral("edited"));

    grid.verticalScrollBar()->setValue(5);

    EXPECT_FALSE(tool.page.TxtThingNote->isVisible());
    EXPECT_EQ(grid.cell(2, 3), "edited");
}

// As File Close leaves the grids: the open field and the buttons belonged to rows now gone.
TEST(AGridEditor, LeavesNoFieldOrButtonOfItsRowsOnThePlaceholderRow)
{
    ThingTool tool;
    tool.open(3);
    activate(tool.page);
    clickCell(*tool.page.GridThings, 2, 2);
    ASSERT_TRUE(tool.page.TxtThingNote->isVisible());

    tool.editor.ShowEmpty();
    tool.page.BtnAddThing->setFocus();

    EXPECT_FALSE(tool.page.TxtThingNote->isVisible());
    EXPECT_TRUE(visibleButtons(tool.page).empty());
    EXPECT_EQ(column(*tool.page.GridThings, 2), QStringList{""});
    EXPECT_TRUE(tool.editor.IsEmpty());
}

TEST(AGridEditor, ShowsTwelveRowsScrolledByThreeWithAFieldInError)
{
    ThingTool tool;
    tool.open(12);
    activate(tool.page);
    Mgrid &grid = *tool.page.GridThings;
    grid.verticalScrollBar()->setValue(3);
    grid.setGridRow(6);
    clickCell(grid, 1, 6);
    WidgetEditor::SetControlColor(tool.page.SpnThingNumber, WidgetEditor::ErrorColor);
    testing::saveScreenshot(tool.page, QStringLiteral("grid_editor_scrolled"));
    EXPECT_EQ(visibleButtons(tool.page).front()->objectName(), "BtnDeleteThing1");
}

} // namespace
} // namespace configtool
