#pragma once
// What every tab page shares: the size it is laid out for (the main window's client area less
// its tool bar, status bar and tab row) and how its grid and the grid's in-place controls are
// made. The page's own controls stay above NavigationTop; the main window puts its "<<" and
// "Next >>" buttons in the strip below it.

#include "configtool/editors/mgrid.h"

#include <QSize>
#include <QString>

#include <initializer_list>

namespace configtool {

inline constexpr QSize TabPageSize{620, 330};
inline constexpr int NavigationTop = 296;

// The page's colour grid at its top left, in the main window's look, sized to show its columns
// and `shownRows` data rows in full; with `scrolls` it keeps a vertical scroll bar.
Mgrid *addTabGrid(QWidget &page, const QString &name, std::initializer_list<int> columnWidths,
                  int shownRows, bool scrolls);

// An in-place control of the grid: a hidden child of its viewport, until an edit lays it over a
// cell.
template <typename Control>
Control *addCellControl(Mgrid &grid, const QString &name)
{
    auto *control = new Control(grid.viewport());
    control->setObjectName(name);
    control->hide();
    return control;
}

} // namespace configtool
