#pragma once
// The three panels of the main window's status bar: 0 the activity under way and messages,
// 1 the site ("No Site", "New Site" or the site file's name), 2 the unit ("Online " and its
// version, or "Offline"). User-interface thread only.

#include <QString>

namespace configtool {

class StatusPanels
{
public:
    enum Panel { Activity = 0, Site = 1, Unit = 2 };

    virtual ~StatusPanels() = default;

    virtual void setPanelText(Panel panel, const QString &text) = 0;
    [[nodiscard]] virtual QString panelText(Panel panel) const = 0;
};

} // namespace configtool
