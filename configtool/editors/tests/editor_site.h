#pragma once
// The four tabs of this folder on the service's site in process: a connected manager, the
// pages shown as windows of their own, the editors registered in the main window's order, and
// direct access to the site's tables to set up what a test needs.

#include "configtool/editors/mgrid.h"
#include "grid_tabs.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/testing/in_process_site.h"
#include "configtool/testing/recording_host.h"
#include "configtool/testing/test_meta_data.h"
#include "support/tests/time_scale.h"

#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace configtool::testing {

// Device type IDs of the test catalogue.
enum TestDevice : std::int16_t {
    Camera = 3,
    DispenserLoop1 = 10,
    DispenserLoop2 = 11,
    DispenserLoop3 = 12,
    Pos1 = 20,
    Pos2 = 21,
    Pos3 = 22,
    DoorSensor = 30,
};

using Entry = std::tuple<int, int, int>; // event, camera, preset

class EditorSite
{
public:
    explicit EditorSite(OrvexMetaData catalogue = testMetaData()) : metaData(std::move(catalogue))
    {
        EXPECT_TRUE(manager.Connect(site.backend, queue, 1))
            << host.scriptedPrompter.shown.join('|').toStdString();
        tabs.createEditors(manager, host);
    }

    // A site without devices, or with the catalogue's defaults.
    void newSite(bool withDefaults)
    {
        manager.NewSite(withDefaults);
        ASSERT_TRUE(manager.IsSiteOpen());
        site.siteData->RetrieveDevice(&deviceTable);
        site.siteData->RetrieveDispenser(&dispenserTable);
        site.siteData->RetrieveCamera(&cameraTable);
        site.siteData->RetrievePOS(&posTable);
    }

    // What the main window does when a tab comes to the front.
    void show(GridEditor &editor) { GridTabs::show(editor, manager, host); }

    std::int16_t addDevice(std::int16_t type, std::int16_t port, std::int16_t protocol = 0)
    {
        std::int16_t index = 0;
        deviceTable->Append(&index);
        deviceTable->SetDeviceType(index, type);
        deviceTable->SetInport(index, port);
        deviceTable->SetOutport(index, port);
        deviceTable->SetInterface(index, protocol);
        return index;
    }
    void addDispenser(int number, int loop, int address, std::initializer_list<Entry> entries = {})
    {
        std::int16_t dispenser = 0;
        dispenserTable->NewDispenser(static_cast<std::int16_t>(number), &dispenser);
        dispenserTable->SetDispenserLoop(dispenser, static_cast<std::int16_t>(loop));
        dispenserTable->SetDispenserAddress(dispenser, static_cast<std::int16_t>(address));
        for (const auto &[event, camera, preset] : entries) {
            std::int16_t entry = 0;
            dispenserTable->NewPreset(dispenser, static_cast<std::int16_t>(event), &entry);
            std::shared_ptr<services::ICameraPresetData> data;
            dispenserTable->RetrieveCameraPreset(dispenser, entry, &data);
            data->SetCameraNumber(static_cast<std::int16_t>(camera));
            data->SetPresetNumber(static_cast<std::int16_t>(preset));
        }
    }
    void addCamera(int number, std::initializer_list<std::pair<int, const char *>> presets = {})
    {
        std::int16_t camera = 0;
        cameraTable->NewCamera(static_cast<std::int16_t>(number), &camera);
        for (const auto &[preset, comment] : presets) {
            std::int16_t index = 0;
            cameraTable->NewPreset(camera, static_cast<std::int16_t>(preset), &index);
            const std::string text = comment;
            cameraTable->SetComment(camera, index, &text);
        }
    }
    void addPOS(int number)
    {
        std::int16_t index = 0;
        posTable->NewPOS(static_cast<std::int16_t>(number), &index);
    }

    [[nodiscard]] int count(HRESULT (services::IDeviceData::*counter)(std::int16_t *)) const
    {
        std::int16_t value = 0;
        ((*deviceTable).*counter)(&value);
        return value;
    }
    [[nodiscard]] int dispenserEntries() const
    {
        int total = 0;
        std::int16_t dispenser = 0;
        for (dispenserTable->FirstDispenser(&dispenser); dispenser != 0;
             dispenserTable->NextDispenser(&dispenser)) {
            std::int16_t entries = 0;
            dispenserTable->CountPresets(dispenser, &entries);
            total += entries;
        }
        return total;
    }

    [[nodiscard]] QStringList shown() const { return host.scriptedPrompter.shown; }
    [[nodiscard]] QString activity() const { return host.panels.texts[0]; }
    [[nodiscard]] std::vector<std::string> &cameraCalls() { return site.cameraCtrl->calls; }

    InProcessSite site;
    RecordingHost host;
    OrvexMetaData metaData;
    ThreadsafeStringQueue queue;
    // The pages outlive the editors, as the main window's pages outlive the manager.
    GridTabs tabs;
    OrvexConfigManager manager{metaData, host};
    DevicePage &devicePage = tabs.devicePage;
    DispenserPage &dispenserPage = tabs.dispenserPage;
    CameraPage &cameraPage = tabs.cameraPage;
    PresetPage &presetPage = tabs.presetPage;
    DeviceEditor *&devices = tabs.devices;
    DispenserEditor *&dispensers = tabs.dispensers;
    CameraEditor *&cameras = tabs.cameras;
    PresetEditor *&presets = tabs.presets;
    std::shared_ptr<services::IDeviceData> deviceTable;
    std::shared_ptr<services::IDispenserData> dispenserTable;
    std::shared_ptr<services::ICameraData> cameraTable;
    std::shared_ptr<services::IPOSData> posTable;

};

inline QStringList columnOf(Mgrid &grid, int col)
{
    QStringList texts;
    for (int row = 1; row < grid.gridRowCount(); ++row)
        texts << grid.cell(col, row);
    return texts;
}

inline void clickCell(Mgrid &grid, int col, int row)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(col, row).center());
}

// Focus needs an active window, also offscreen.
inline void activate(QWidget &page)
{
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page, scaled(std::chrono::seconds(5)).count()));
}

} // namespace configtool::testing
