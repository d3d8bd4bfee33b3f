#pragma once
// The service's site tables, for the tool's tests to arrange a site and to check it, straight
// through the service's own interfaces.

#include "interfaces/services/iorvex_config_data.h"
#include "platform/com_error.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace configtool::testing {

// The service's site tables, for a test to arrange and to check.
struct SiteTables
{
    explicit SiteTables(services::IOrvexConfigData &data)
    {
        ThrowIfFailed(data.RetrieveDevice(&devices));
        ThrowIfFailed(data.RetrieveDispenser(&dispensers));
        ThrowIfFailed(data.RetrieveEvent(&events));
        ThrowIfFailed(data.RetrieveCamera(&cameras));
        ThrowIfFailed(data.RetrievePOS(&points));
    }

    void addDevice(std::int16_t type, std::int16_t port = 0)
    {
        std::int16_t index = 0;
        ThrowIfFailed(devices->Append(&index));
        ThrowIfFailed(devices->SetDeviceType(index, type));
        ThrowIfFailed(devices->SetInport(index, port));
        ThrowIfFailed(devices->SetOutport(index, port));
    }
    void addDispenser(std::int16_t number, std::int16_t loop = 0, std::int16_t address = 0)
    {
        std::int16_t index = 0;
        ThrowIfFailed(dispensers->NewDispenser(number, &index));
        ThrowIfFailed(dispensers->SetDispenserLoop(index, loop));
        ThrowIfFailed(dispensers->SetDispenserAddress(index, address));
    }
    // A camera with presets of these numbers and comments.
    void addCamera(std::int16_t number,
                   const std::vector<std::pair<std::int16_t, std::string>> &presets)
    {
        std::int16_t camera = 0;
        ThrowIfFailed(cameras->NewCamera(number, &camera));
        for (const auto &[preset, comment] : presets) {
            std::int16_t index = 0;
            ThrowIfFailed(cameras->NewPreset(camera, preset, &index));
            ThrowIfFailed(cameras->SetComment(camera, index, &comment));
        }
    }
    // Every dispenser entry as "dispenser:event:camera.preset".
    std::vector<std::string> entries()
    {
        std::vector<std::string> all;
        std::int16_t dispenser = 0;
        ThrowIfFailed(dispensers->FirstDispenser(&dispenser));
        while (dispenser != 0) {
            std::int16_t number = 0;
            ThrowIfFailed(dispensers->GetDispenserLogicalNumber(dispenser, &number));
            std::int16_t entry = 0;
            ThrowIfFailed(dispensers->FirstPreset(dispenser, &entry));
            while (entry != 0) {
                std::shared_ptr<services::ICameraPresetData> data;
                ThrowIfFailed(dispensers->RetrieveCameraPreset(dispenser, entry, &data));
                std::int16_t event = 0, camera = 0, preset = 0;
                ThrowIfFailed(data->GetEventNumber(&event));
                ThrowIfFailed(data->GetCameraNumber(&camera));
                ThrowIfFailed(data->GetPresetNumber(&preset));
                all.push_back(std::to_string(number) + ":" + std::to_string(event) + ":"
                              + std::to_string(camera) + "." + std::to_string(preset));
                ThrowIfFailed(dispensers->NextPreset(dispenser, &entry));
            }
            ThrowIfFailed(dispensers->NextDispenser(&dispenser));
        }
        return all;
    }

    std::shared_ptr<services::IDeviceData> devices;
    std::shared_ptr<services::IDispenserData> dispensers;
    std::shared_ptr<services::IEventData> events;
    std::shared_ptr<services::ICameraData> cameras;
    std::shared_ptr<services::IPOSData> points;
};

} // namespace configtool::testing
