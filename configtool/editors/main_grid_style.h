#pragma once
// The look the main window gives all six of its grids: a blue title row in bold white, white
// cells in black, and the first column tinted, darker on the current row, in bold.

namespace configtool {

class Mgrid;

void applyMainGridStyle(Mgrid &grid);

} // namespace configtool
