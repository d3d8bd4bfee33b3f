// Made from the interface headers and interfaces/*.xml; keep the three in step.
#include "services/bus_objects.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "services/bus_object.h"

#include <tuple>

namespace services {
namespace {

// The walk over the presets of one row and the removal of one, alike on the tables that hold a
// preset list per row (the row's index first).
template <typename Base> class PresetCursor : public Base
{
public:
    using Base::Base;

private:
    using Table = typename Base::Domain;

    std::tuple<int32_t, int16_t> FirstPreset(const int16_t &row) override
    {
        return this->reply(&Table::FirstPreset, row);
    }
    std::tuple<int32_t, int16_t> LastPreset(const int16_t &row) override
    {
        return this->reply(&Table::LastPreset, row);
    }
    std::tuple<int32_t, int16_t> NextPreset(const int16_t &row, const int16_t &preset) override
    {
        return this->reply(&Table::NextPreset, row, InOut{preset});
    }
    std::tuple<int32_t, int16_t> PreviousPreset(const int16_t &row, const int16_t &preset) override
    {
        return this->reply(&Table::PreviousPreset, row, InOut{preset});
    }
    std::tuple<int32_t, int16_t> CountPresets(const int16_t &row) override
    {
        return this->reply(&Table::CountPresets, row);
    }
    std::tuple<int32_t, int16_t> DeletePreset(const int16_t &row, const int16_t &preset) override
    {
        return this->reply(&Table::DeletePreset, row, InOut{preset});
    }
};

class DispenserDataObject
    : public PresetCursor<BusObject<IDispenserData, org::orvex::IDispenserData_adaptor>>
{
public:
    using PresetCursor::PresetCursor;

private:
    std::tuple<int32_t, int16_t> FirstDispenser() override
    {
        return reply(&IDispenserData::FirstDispenser);
    }
    std::tuple<int32_t, int16_t> LastDispenser() override
    {
        return reply(&IDispenserData::LastDispenser);
    }
    std::tuple<int32_t, int16_t> NextDispenser(const int16_t &dispenser) override
    {
        return reply(&IDispenserData::NextDispenser, InOut{dispenser});
    }
    std::tuple<int32_t, int16_t> PreviousDispenser(const int16_t &dispenser) override
    {
        return reply(&IDispenserData::PreviousDispenser, InOut{dispenser});
    }
    std::tuple<int32_t, int16_t> CountDispensers() override
    {
        return reply(&IDispenserData::CountDispensers);
    }
    std::tuple<int32_t, int16_t> GetDispenserLogicalNumber(const int16_t &dispenser) override
    {
        return reply(&IDispenserData::GetDispenserLogicalNumber, dispenser);
    }
    std::tuple<int32_t, int16_t> GetDispenserLoop(const int16_t &dispenser) override
    {
        return reply(&IDispenserData::GetDispenserLoop, dispenser);
    }
    std::tuple<int32_t, int16_t> GetDispenserAddress(const int16_t &dispenser) override
    {
        return reply(&IDispenserData::GetDispenserAddress, dispenser);
    }
    std::tuple<int32_t, int16_t> GetCardTerminalAddress(const int16_t &dispenser) override
    {
        return reply(&IDispenserData::GetCardTerminalAddress, dispenser);
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveCameraPreset(const int16_t &dispenser,
                                                                const int16_t &preset) override
    {
        return reply(&IDispenserData::RetrieveCameraPreset, dispenser, preset);
    }
    int32_t SetDispenserLoop(const int16_t &dispenser, const int16_t &loop) override
    {
        return reply(&IDispenserData::SetDispenserLoop, dispenser, loop);
    }
    int32_t SetDispenserAddress(const int16_t &dispenser, const int16_t &address) override
    {
        return reply(&IDispenserData::SetDispenserAddress, dispenser, address);
    }
    int32_t SetCardTerminalAddress(const int16_t &dispenser, const int16_t &address) override
    {
        return reply(&IDispenserData::SetCardTerminalAddress, dispenser, address);
    }
    std::tuple<int32_t, int16_t> NewDispenser(const int16_t &logicalNumber) override
    {
        return reply(&IDispenserData::NewDispenser, logicalNumber);
    }
    std::tuple<int32_t, int16_t> NewPreset(const int16_t &dispenser,
                                           const int16_t &eventNumber) override
    {
        return reply(&IDispenserData::NewPreset, dispenser, eventNumber);
    }
    std::tuple<int32_t, int16_t> DeleteDispenser(const int16_t &dispenser) override
    {
        return reply(&IDispenserData::DeleteDispenser, InOut{dispenser});
    }
};

class CameraPresetDataObject
    : public BusObject<ICameraPresetData, org::orvex::ICameraPresetData_adaptor>
{
public:
    using BusObject::BusObject;

private:
    std::tuple<int32_t, int16_t> GetEventNumber() override
    {
        return reply(&ICameraPresetData::GetEventNumber);
    }
    std::tuple<int32_t, int16_t> GetCameraNumber() override
    {
        return reply(&ICameraPresetData::GetCameraNumber);
    }
    std::tuple<int32_t, int16_t> GetPresetNumber() override
    {
        return reply(&ICameraPresetData::GetPresetNumber);
    }
    int32_t SetCameraNumber(const int16_t &cameraNumber) override
    {
        return reply(&ICameraPresetData::SetCameraNumber, cameraNumber);
    }
    int32_t SetPresetNumber(const int16_t &presetNumber) override
    {
        return reply(&ICameraPresetData::SetPresetNumber, presetNumber);
    }
};

class CameraDataObject
    : public PresetCursor<BusObject<ICameraData, org::orvex::ICameraData_adaptor>>
{
public:
    using PresetCursor::PresetCursor;

private:
    std::tuple<int32_t, int16_t> GetCameraNumber(const int16_t &camera) override
    {
        return reply(&ICameraData::GetCameraNumber, camera);
    }
    std::tuple<int32_t, int16_t> GetCameraType(const int16_t &camera) override
    {
        return reply(&ICameraData::GetCameraType, camera);
    }
    int32_t SetCameraType(const int16_t &camera, const int16_t &cameraType) override
    {
        return reply(&ICameraData::SetCameraType, camera, cameraType);
    }
    std::tuple<int32_t, std::string> GetComment(const int16_t &camera,
                                                const int16_t &preset) override
    {
        return reply(&ICameraData::GetComment, camera, preset);
    }
    int32_t SetComment(const int16_t &camera, const int16_t &preset,
                       const std::string &comment) override
    {
        return reply(&ICameraData::SetComment, camera, preset, &comment);
    }
    std::tuple<int32_t, int16_t> FirstCamera() override { return reply(&ICameraData::FirstCamera); }
    std::tuple<int32_t, int16_t> LastCamera() override { return reply(&ICameraData::LastCamera); }
    std::tuple<int32_t, int16_t> NextCamera(const int16_t &camera) override
    {
        return reply(&ICameraData::NextCamera, InOut{camera});
    }
    std::tuple<int32_t, int16_t> PreviousCamera(const int16_t &camera) override
    {
        return reply(&ICameraData::PreviousCamera, InOut{camera});
    }
    std::tuple<int32_t, int16_t> NewCamera(const int16_t &cameraNumber) override
    {
        return reply(&ICameraData::NewCamera, cameraNumber);
    }
    std::tuple<int32_t, int16_t> NewPreset(const int16_t &camera,
                                           const int16_t &presetNumber) override
    {
        return reply(&ICameraData::NewPreset, camera, presetNumber);
    }
    std::tuple<int32_t, int16_t> DeleteCamera(const int16_t &camera) override
    {
        return reply(&ICameraData::DeleteCamera, InOut{camera});
    }
    std::tuple<int32_t, int16_t> CountCameras() override
    {
        return reply(&ICameraData::CountCameras);
    }
    std::tuple<int32_t, int16_t> GetPresetNumber(const int16_t &camera,
                                                 const int16_t &preset) override
    {
        return reply(&ICameraData::GetPresetNumber, camera, preset);
    }
};

} // namespace

ORVEX_PUT_ON_BUS(IDispenserData, DispenserDataObject)
ORVEX_PUT_ON_BUS(ICameraPresetData, CameraPresetDataObject)
ORVEX_PUT_ON_BUS(ICameraData, CameraDataObject)

} // namespace services
