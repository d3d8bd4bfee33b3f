#include "configtool/editors/main_grid_style.h"

#include "configtool/editors/mgrid.h"

namespace configtool {

void applyMainGridStyle(Mgrid &grid)
{
    grid.setBorderColor(QColor(0xC0, 0xC0, 0xC0));
    grid.setOddRowColor(Qt::white);
    grid.setEvenRowColor(Qt::white);
    grid.setOnSetting([](int row, int col, QColor &fontColor, bool &bold, bool &italic,
                         bool &underline) {
        fontColor = row == 0 ? QColor(Qt::white) : QColor(Qt::black);
        bold = row == 0 || col == 0;
        italic = false;
        underline = false;
    });
    grid.setOnCellBackground([&grid](int row, int col, QColor &background) {
        if (row == 0)
            background = QColor(0x00, 0x00, 0xFF);
        else if (col != 0)
            background = Qt::white;
        else if (row == grid.gridRow())
            background = QColor(0x47, 0xBA, 0xF8);
        else
            background = QColor(0xB6, 0xE3, 0xFC);
    });
}

} // namespace configtool
