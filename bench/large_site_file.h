#pragma once
// The large site of the configuration tool's benchmarks.

#include "configtool/model/orvex_config_manager.h"
#include "services/orvex_config_data.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace bench {

// The large site as the site file "large.ovx" of `folder`, made by the service's own site data
// in process: every table at the tool's limits (7 device drivers, 13 events, 48 dispensers with
// a preset for each event, 10 cameras, 3 POSes), with `presetsPerCamera` presets per camera.
inline std::string largeSiteFile(const std::filesystem::path &folder, int presetsPerCamera = 64)
{
    const std::string path = (folder / "large.ovx").string();
    ::setenv("ORVEX_INSTALL_DIR", folder.c_str(), 1);
    services::OrvexConfigData site;
    const std::string name = configtool::OrvexConfigManager::kSiteName;
    site.InitializeStorage();
    site.NewSite(&name);
    site.LoadSite(&name);
    std::shared_ptr<services::IDeviceData> devices;
    std::shared_ptr<services::IDispenserData> dispensers;
    std::shared_ptr<services::IEventData> events;
    std::shared_ptr<services::ICameraData> cameras;
    std::shared_ptr<services::IPOSData> points;
    site.RetrieveDevice(&devices);
    site.RetrieveDispenser(&dispensers);
    site.RetrieveEvent(&events);
    site.RetrieveCamera(&cameras);
    site.RetrievePOS(&points);
    std::int16_t index = 0;
    const std::int16_t types[] = {10, 11, 12, 3, 20, 21, 22};
    for (std::int16_t i = 0; i < 7; ++i) {
        devices->Append(&index);
        devices->SetDeviceType(index, types[i]);
        devices->SetInport(index, static_cast<std::int16_t>(i + 1));
        devices->SetOutport(index, static_cast<std::int16_t>(i + 1));
    }
    for (std::int16_t event = 0; event < 13; ++event) {
        events->NewEvent(event, &index);
        events->SetPriority(index, static_cast<std::int16_t>(event % 5 + 1));
    }
    for (std::int16_t number = 1; number <= 48; ++number) {
        std::int16_t dispenser = 0;
        dispensers->NewDispenser(number, &dispenser);
        dispensers->SetDispenserLoop(dispenser, static_cast<std::int16_t>((number - 1) / 16 + 1));
        dispensers->SetDispenserAddress(dispenser,
                                        static_cast<std::int16_t>((number - 1) % 16 + 1));
        for (std::int16_t event = 0; event < 13; ++event) {
            std::int16_t entry = 0;
            dispensers->NewPreset(dispenser, event, &entry);
            std::shared_ptr<services::ICameraPresetData> data;
            dispensers->RetrieveCameraPreset(dispenser, entry, &data);
            data->SetCameraNumber(static_cast<std::int16_t>(number % 10 + 1));
            data->SetPresetNumber(static_cast<std::int16_t>(event + 1));
        }
    }
    for (std::int16_t number = 1; number <= 10; ++number) {
        std::int16_t camera = 0;
        cameras->NewCamera(number, &camera);
        for (std::int16_t preset = 1; preset <= presetsPerCamera; ++preset) {
            std::int16_t made = 0;
            cameras->NewPreset(camera, preset, &made);
            const std::string comment = "Preset " + std::to_string(preset);
            cameras->SetComment(camera, made, &comment);
        }
    }
    for (std::int16_t number = 1; number <= 3; ++number)
        points->NewPOS(number, &index);
    site.Save();
    site.ExportSite(&name, &path);
    site.UnInitializeStorage();
    ::unsetenv("ORVEX_INSTALL_DIR");
    return path;
}

} // namespace bench
