#include "configtool/editors/tab_page.h"

#include "configtool/editors/main_grid_style.h"

namespace configtool {

Mgrid *addTabGrid(QWidget &page, const QString &name, std::initializer_list<int> columnWidths,
                  int shownRows, bool scrolls)
{
    auto *grid = new Mgrid(&page);
    grid->setObjectName(name);
    grid->setColumnCount(static_cast<int>(columnWidths.size()));
    int col = 0;
    for (int width : columnWidths)
        grid->setColumnWidth(col++, width);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (scrolls)
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setGeometry(QRect(QPoint(8, 8), grid->sizeForRows(shownRows)));
    applyMainGridStyle(*grid);
    return grid;
}

} // namespace configtool
