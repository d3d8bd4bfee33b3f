#pragma once
// Which commands of the main window are enabled: the configuration manager's UpdateMenus
// computes it from the busy, loading, site-open and online states and the current editor, and
// the main window applies it to its menu items and tool buttons.

namespace configtool {

struct CommandState
{
    bool newSite = false;       // File New and its tool button
    bool openSite = false;      // File Open and its tool button
    bool saveSite = false;      // File Save and the Save tool button
    bool saveSiteAs = false;
    bool closeSite = false;
    bool send = false;          // Send Data to FWD, menu and tool button
    bool retrieve = false;      // Retrieve Data from FWD, menu and tool button
    bool editNew = false;
    bool editDelete = false;
    bool clearMemory = false;   // Tools Clear FWD Memory
    bool toggleDebug = false;   // Tools Toggle Debug
    bool changeComPort = false; // Tools Change Com Port, menu and tool button

    bool operator==(const CommandState &) const = default;
};

} // namespace configtool
