#pragma once
// The seven tabs of the main window in their order, with the names of their tab sheets and the
// targets of their "<<" and "Next >>" buttons.

#include <array>

namespace configtool {

enum class Tab { Devices, Cameras, Presets, Dispensers, Events, POSes, Timings };

struct TabSheet
{
    Tab tab;
    const char *objectName;
    const char *caption;
    // Where "<<" and "Next >>" lead; the tab itself where the button does not exist.
    Tab previous;
    Tab next;
};

inline constexpr std::array<TabSheet, 7> kTabSheets = {{
    {Tab::Devices, "TabSheetDevices", "Device Drivers", Tab::Devices, Tab::Cameras},
    {Tab::Cameras, "TabSheetCameras", "Cameras", Tab::Devices, Tab::Presets},
    {Tab::Presets, "TabSheetPresets", "Presets", Tab::Cameras, Tab::Dispensers},
    {Tab::Dispensers, "TabSheetDispensers", "Dispensers", Tab::Presets, Tab::Events},
    {Tab::Events, "TabSheetEvents", "Dispenser Events", Tab::Dispensers, Tab::POSes},
    {Tab::POSes, "TabSheetPOSes", "POS", Tab::Events, Tab::Timings},
    {Tab::Timings, "TabSheetTimings", "Timings", Tab::POSes, Tab::Timings},
}};

} // namespace configtool
