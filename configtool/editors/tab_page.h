#pragma once
// The size every tab page is laid out for: the main window's client area less its tool bar,
// status bar and tab row. The page's own controls stay above NavigationTop; the main window puts
// its "<<" and "Next >>" buttons in the strip below it.

#include <QSize>

namespace configtool {

inline constexpr QSize TabPageSize{620, 330};
inline constexpr int NavigationTop = 296;

} // namespace configtool
