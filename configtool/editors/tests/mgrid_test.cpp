#include "configtool/editors/main_grid_style.h"
#include "configtool/editors/mgrid.h"

#include <QHeaderView>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace configtool {
namespace {

// A grid of `rows` data rows and two columns, shown at a fixed size.
struct ShownGrid
{
    explicit ShownGrid(int rows)
    {
        grid.resize(220, 140);
        grid.setColumnCount(2);
        grid.setColumnWidth(0, 100);
        grid.setColumnWidth(1, 100);
        grid.setCell(0, 0, QStringLiteral("Device Driver"));
        grid.setCell(1, 0, QStringLiteral("Port"));
        grid.setGridRowCount(rows + 1);
        for (int row = 1; row <= rows; ++row) {
            grid.setCell(0, row, QStringLiteral("POS %1").arg(row));
            grid.setCell(1, row, QString::number(row));
        }
        grid.show();
    }

    // The colour just inside the cell's bottom right corner, away from its text.
    QColor pixelOf(int col, int row)
    {
        const QImage image = grid.grab().toImage();
        if (row == 0) {
            const int x = grid.horizontalHeader()->sectionViewportPosition(col)
                        + grid.columnWidth(col) - 4;
            return image.pixelColor(grid.viewport()->x() + x, grid.horizontalHeader()->y() + 3);
        }
        const QRect cell = grid.cellRect(col, row);
        const QPoint inGrid = grid.viewport()->mapTo(&grid, cell.bottomRight() - QPoint(4, 4));
        return image.pixelColor(inGrid);
    }

    Mgrid grid;
};

TEST(AColourGrid, PaintsFixedOddAndEvenRowsInItsOwnColoursWithoutHooks)
{
    ShownGrid shown(2);
    EXPECT_EQ(shown.pixelOf(0, 0), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(shown.pixelOf(1, 1), QColor(0x00, 0xFF, 0xFF));
    EXPECT_EQ(shown.pixelOf(1, 2), QColor(0x00, 0xFF, 0x00));
    EXPECT_EQ(shown.grid.cellLook(1, 1).textColor, QColor(Qt::black));
    EXPECT_EQ(shown.grid.font().family(), "Arial");
    EXPECT_EQ(shown.grid.font().pointSize(), 10);
}

TEST(AColourGrid, LetsAPatternWinOverTheHookAndTheHookOverTheColour)
{
    Mgrid grid;
    grid.setColumnCount(1);
    grid.setGridRowCount(3);
    grid.setOnCellBackground([](int, int, QColor &background) { background = Qt::magenta; });
    EXPECT_EQ(grid.cellLook(0, 1).background.color(), QColor(Qt::magenta));

    QPixmap pattern(2, 2);
    pattern.fill(Qt::darkRed);
    grid.setOddRowPattern(pattern);
    EXPECT_EQ(grid.cellLook(0, 1).background.texture().toImage().pixelColor(0, 0),
              QColor(Qt::darkRed));
    EXPECT_EQ(grid.cellLook(0, 2).background.color(), QColor(Qt::magenta)) << "even rows";
}

TEST(AColourGrid, TakesTheFontStyleExactlyAsTheSettingHookReturnsIt)
{
    Mgrid grid;
    QFont font = grid.font();
    font.setItalic(true);
    grid.setFont(font);
    grid.setColumnCount(1);
    grid.setOnSetting([](int, int, QColor &, bool &bold, bool &, bool &underline) {
        bold = true;
        underline = true;
    });
    const Mgrid::CellLook look = grid.cellLook(0, 1);
    EXPECT_TRUE(look.font.bold());
    EXPECT_TRUE(look.font.italic()) << "kept as the hook found it";
    EXPECT_TRUE(look.font.underline());
    EXPECT_EQ(look.textColor, QColor(Qt::black)) << "no colour given: the font's stays";
}

TEST(AColourGrid, InTheMainWindowsStyleTintsTheFirstColumnAndMovesWithTheCurrentRow)
{
    ShownGrid shown(3);
    applyMainGridStyle(shown.grid);
    shown.grid.setGridRow(2);

    EXPECT_EQ(shown.pixelOf(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelOf(1, 0), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelOf(0, 2), QColor(0x47, 0xBA, 0xF8));
    EXPECT_EQ(shown.pixelOf(0, 1), QColor(0xB6, 0xE3, 0xFC));
    EXPECT_EQ(shown.pixelOf(1, 2), QColor(Qt::white));

    shown.grid.setGridRow(3);
    EXPECT_EQ(shown.pixelOf(0, 3), QColor(0x47, 0xBA, 0xF8));
    EXPECT_EQ(shown.pixelOf(0, 2), QColor(0xB6, 0xE3, 0xFC));

    struct Expected
    {
        int col;
        int row;
        QColor text;
        bool bold;
    };
    const Expected looks[] = {
        {0, 0, Qt::white, true}, {1, 0, Qt::white, true},
        {0, 1, Qt::black, true}, {1, 1, Qt::black, false},
    };
    for (const Expected &expected : looks) {
        const Mgrid::CellLook look = shown.grid.cellLook(expected.col, expected.row);
        EXPECT_EQ(look.textColor, expected.text) << expected.col << "," << expected.row;
        EXPECT_EQ(look.font.bold(), expected.bold) << expected.col << "," << expected.row;
        EXPECT_FALSE(look.font.italic());
        EXPECT_FALSE(look.font.underline());
    }
}

TEST(AColourGrid, CountsItsRowsWithTheTitleRowAndKeepsOneDataRow)
{
    Mgrid grid;
    grid.setColumnCount(2);
    grid.setGridRowCount(1);
    EXPECT_EQ(grid.gridRowCount(), 2);
    grid.setCell(1, 1, QStringLiteral("x"));
    grid.setCell(2, 1, QStringLiteral("outside"));
    grid.setCell(0, 5, QStringLiteral("outside"));
    EXPECT_EQ(grid.cell(1, 1), "x");
    EXPECT_EQ(grid.cell(2, 1), QString());
    grid.setCell(0, 0, QStringLiteral("Title"));
    EXPECT_EQ(grid.cell(0, 0), "Title");
    EXPECT_EQ(grid.horizontalHeaderItem(0)->text(), "Title");
}

} // namespace
} // namespace configtool
