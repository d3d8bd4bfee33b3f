#pragma once
// The four grid tabs of this folder as the main window makes them: each page shown as a window
// of its own, each editor registered with the manager in the main window's order, disabled and
// given its empty view. The pages must outlive the manager, which owns the editors: declare the
// tabs before it and create the editors once it is connected.

#include "configtool/editors/camera_editor.h"
#include "configtool/editors/camera_page.h"
#include "configtool/editors/device_editor.h"
#include "configtool/editors/device_page.h"
#include "configtool/editors/dispenser_editor.h"
#include "configtool/editors/dispenser_page.h"
#include "configtool/editors/preset_editor.h"
#include "configtool/editors/preset_page.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/testing/recording_host.h"

#include <memory>
#include <vector>

namespace configtool::testing {

class GridTabs
{
public:
    void createEditors(OrvexConfigManager &manager, ToolHost &host)
    {
        devices = &make<DeviceEditor>(manager, host, devicePage);
        dispensers = &make<DispenserEditor>(manager, host, dispenserPage);
        cameras = &make<CameraEditor>(manager, host, cameraPage);
        presets = &make<PresetEditor>(manager, host, presetPage);
    }

    // What the main window does when a tab comes to the front.
    static void show(GridEditor &editor, OrvexConfigManager &manager, RecordingHost &host)
    {
        host.current = &editor;
        if (manager.IsOpenAndIdle())
            editor.EnableEditing();
        else
            editor.DisableEditing();
        editor.Reload();
        manager.UpdateMenus();
    }

    [[nodiscard]] std::vector<QWidget *> pages()
    {
        return {&devicePage, &dispenserPage, &cameraPage, &presetPage};
    }

    DevicePage devicePage;
    DispenserPage dispenserPage;
    CameraPage cameraPage;
    PresetPage presetPage;
    DeviceEditor *devices = nullptr;
    DispenserEditor *dispensers = nullptr;
    CameraEditor *cameras = nullptr;
    PresetEditor *presets = nullptr;

private:
    template <typename Editor, typename Page>
    Editor &make(OrvexConfigManager &manager, ToolHost &host, Page &page)
    {
        auto &editor = static_cast<Editor &>(
            manager.RegisterEditor(std::make_unique<Editor>(manager, host, page)));
        editor.DisableEditing();
        editor.InitView();
        page.show();
        return editor;
    }
};

} // namespace configtool::testing
