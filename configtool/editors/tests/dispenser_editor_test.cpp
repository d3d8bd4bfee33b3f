#include "configtool/editors/arrow_spin_box.h"
#include "editor_site.h"
#include "screenshots.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace configtool {
namespace {

using testing::EditorSite;
using testing::columnOf;

class ADispenserEditor : public ::testing::Test
{
protected:
    void SetUp() override { tool.newSite(false); }

    void withLoops(std::initializer_list<std::int16_t> loopDevices)
    {
        std::int16_t port = 5;
        for (std::int16_t type : loopDevices)
            tool.addDevice(type, port++);
    }
    Mgrid &grid() { return *tool.dispenserPage.GridDispensers; }
    QComboBox &choice() { return *tool.dispenserPage.CmbChooseDispenser; }
    QStringList lastRow()
    {
        const int row = grid().gridRowCount() - 1;
        return {grid().cell(0, row), grid().cell(1, row), grid().cell(2, row)};
    }

    EditorSite tool;
};

TEST_F(ADispenserEditor, SkipsALoopWithoutItsDriverWhenTheLastLoopIsFull)
{
    withLoops({testing::DispenserLoop1, testing::DispenserLoop3});
    for (int n = 1; n <= 16; ++n)
        tool.addDispenser(n, 1, n);
    tool.show(*tool.dispensers);

    tool.dispensers->AddNew();

    EXPECT_EQ(lastRow(), (QStringList{"Dispenser 17", "3", "1"}));
    EXPECT_TRUE(tool.shown().isEmpty());
}

// Each case has a site of its own (one site per process).
TEST(ADispenserEditorsLoops, RefuseADispenserWithoutRoom)
{
    struct Case
    {
        const char *legend;
        std::vector<std::int16_t> loops;
        int dispensers;
        QStringList shown;
    };
    const Case cases[] = {
        {"no loop driver", {}, 0, {"error: Create a dispenser loop first"}},
        {"two full loops", {testing::DispenserLoop1, testing::DispenserLoop2}, 32,
         {"error: Create another dispenser loop first"}},
        {"room on loop two", {testing::DispenserLoop1, testing::DispenserLoop2}, 31, {}},
    };
    for (const Case &c : cases) {
        EditorSite cased;
        cased.newSite(false);
        std::int16_t port = 5;
        for (std::int16_t type : c.loops)
            cased.addDevice(type, port++);
        for (int n = 1; n <= c.dispensers; ++n)
            cased.addDispenser(n, (n - 1) / 16 + 1, (n - 1) % 16 + 1);
        cased.show(*cased.dispensers);
        cased.dispensers->AddNew();
        EXPECT_EQ(cased.shown(), c.shown) << c.legend;
        EXPECT_EQ(cased.dispensers->dataRowCount(), std::max(c.dispensers, 1) + (c.shown.isEmpty() ? 1 : 0))
            << c.legend;
    }
}

TEST_F(ADispenserEditor, OffersTheNumberAfterTheLastCreatedAndEmptiesAtFortyEight)
{
    withLoops({testing::DispenserLoop1, testing::DispenserLoop2, testing::DispenserLoop3});
    tool.addDispenser(2, 1, 2);
    tool.show(*tool.dispensers);
    EXPECT_EQ(choice().currentText(), "Dispenser 1") << "the lowest free after a load";

    choice().setCurrentIndex(choice().findData(5));
    QTest::mouseClick(tool.dispenserPage.BtnAddDispenser, Qt::LeftButton);
    EXPECT_EQ(choice().currentText(), "Dispenser 6");
    EXPECT_EQ(choice().currentData().toInt(), 6);

    for (int n = 0; n < 46; ++n)
        tool.dispensers->AddNew();
    EXPECT_EQ(tool.dispensers->dataRowCount(), 48);
    EXPECT_EQ(choice().count(), 0);
    EXPECT_FALSE(tool.dispenserPage.BtnAddDispenser->isEnabled());
    EXPECT_FALSE(tool.dispensers->CanAdd());
    EXPECT_TRUE(tool.shown().isEmpty());
}

TEST_F(ADispenserEditor, ForgetsTheLastCreatedNumberWithTheSite)
{
    withLoops({testing::DispenserLoop1});
    tool.show(*tool.dispensers);
    choice().setCurrentIndex(choice().findData(5));
    tool.dispensers->AddNew();
    ASSERT_EQ(choice().currentText(), "Dispenser 6");

    tool.host.scriptedPrompter.yesNoCancel.push_back(Prompter::Answer::No);
    tool.manager.NewSite(false);
    withLoops({testing::DispenserLoop1});
    tool.show(*tool.dispensers);

    EXPECT_EQ(choice().currentText(), "Dispenser 1");
}

TEST_F(ADispenserEditor, ColoursAConflictingAddressAndAMissingLoop)
{
    withLoops({testing::DispenserLoop1, testing::DispenserLoop3});
    tool.addDispenser(1, 1, 1);
    tool.addDispenser(2, 1, 2);
    tool.addDispenser(3, 3, 1);
    tool.show(*tool.dispensers);
    testing::activate(tool.dispenserPage);
    ArrowSpinBox &address = *tool.dispenserPage.SpinDispenserPollAddress;
    ArrowSpinBox &loop = *tool.dispenserPage.SpinDispenserLoop;

    testing::clickCell(grid(), 2, 2);
    ASSERT_TRUE(address.isVisible());
    address.setValue(1);
    EXPECT_EQ(WidgetEditor::GetControlColor(&address), WidgetEditor::ErrorColor);
    EXPECT_EQ(tool.activity(), "Poll Address 1 on loop 1 is already allocated to Dispenser 1");
    EXPECT_EQ(grid().cell(2, 2), "1") << "written regardless";
    address.setValue(5);
    EXPECT_EQ(WidgetEditor::GetControlColor(&address), WidgetEditor::windowColor());
    EXPECT_EQ(tool.activity(), "");

    testing::clickCell(grid(), 1, 2);
    ASSERT_TRUE(loop.isVisible());
    EXPECT_EQ(loop.minimum(), 1);
    EXPECT_EQ(loop.maximum(), 3);
    loop.setValue(2);
    EXPECT_EQ(WidgetEditor::GetControlColor(&loop), WidgetEditor::ErrorColor);
    EXPECT_EQ(tool.activity(), "Dispenser Loop 2 does not exist");
    EXPECT_EQ(grid().cell(1, 2), "2");
    testing::saveScreenshot(tool.dispenserPage, QStringLiteral("dispensers_missing_loop"));
    loop.setValue(3);
    EXPECT_EQ(WidgetEditor::GetControlColor(&loop), WidgetEditor::windowColor());
    std::int16_t stored = 0;
    tool.dispenserTable->GetDispenserLoop(2, &stored);
    EXPECT_EQ(stored, 3);
}

TEST_F(ADispenserEditor, StopsASaveOnASharedLoopAndAddress)
{
    withLoops({testing::DispenserLoop1});
    tool.addDispenser(1, 1, 4);
    tool.addDispenser(2, 1, 4);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("site.ovx"));

    EXPECT_FALSE(tool.manager.SaveSiteAs(file));

    EXPECT_EQ(tool.shown(), QStringList{"error: Have a duplicate poll address 4"});
    EXPECT_EQ(tool.host.currentEditor(), tool.dispensers);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(ADispenserEditor, ShowsAScrolledSiteForReview)
{
    withLoops({testing::DispenserLoop1, testing::DispenserLoop2});
    for (int n = 1; n <= 20; ++n)
        tool.addDispenser(n, (n - 1) / 16 + 1, (n - 1) % 16 + 1);
    tool.show(*tool.dispensers);
    testing::activate(tool.dispenserPage);
    grid().verticalScrollBar()->setValue(4);
    testing::clickCell(grid(), 2, 8);
    EXPECT_TRUE(tool.dispenserPage.SpinDispenserPollAddress->isVisible());
    EXPECT_EQ(tool.dispenserPage.findChild<QWidget *>("BtnDeleteDispenser1")->y(),
              grid().viewport()->mapTo(&tool.dispenserPage, grid().cellRect(0, 5).topLeft()).y());
    testing::saveScreenshot(tool.dispenserPage, QStringLiteral("dispensers"));
}

} // namespace
} // namespace configtool
