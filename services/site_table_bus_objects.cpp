// Made from the interface headers and interfaces/*.xml; keep the three in step.
#include "services/bus_objects.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "services/bus_context.h"

#include <tuple>

namespace services {
namespace {

class DispenserDataObject final : public sdbus::AdaptorInterfaces<org::orvex::IDispenserData_adaptor>
{
public:
    DispenserDataObject(BusContext &context, std::string path, std::shared_ptr<services::IDispenserData> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~DispenserDataObject() { unregisterAdaptor(); }

private:
    std::tuple<int32_t, int16_t> FirstDispenser() override
    {
        std::int16_t dispenserOut{};
        return {m_context.call(getObject(), [&] { return m_object->FirstDispenser(&dispenserOut); }), dispenserOut};
    }
    std::tuple<int32_t, int16_t> LastDispenser() override
    {
        std::int16_t dispenserOut{};
        return {m_context.call(getObject(), [&] { return m_object->LastDispenser(&dispenserOut); }), dispenserOut};
    }
    std::tuple<int32_t, int16_t> NextDispenser(const int16_t &dispenser) override
    {
        std::int16_t dispenserOut = dispenser;
        return {m_context.call(getObject(), [&] { return m_object->NextDispenser(&dispenserOut); }), dispenserOut};
    }
    std::tuple<int32_t, int16_t> PreviousDispenser(const int16_t &dispenser) override
    {
        std::int16_t dispenserOut = dispenser;
        return {m_context.call(getObject(), [&] { return m_object->PreviousDispenser(&dispenserOut); }), dispenserOut};
    }
    std::tuple<int32_t, int16_t> CountDispensers() override
    {
        std::int16_t countOut{};
        return {m_context.call(getObject(), [&] { return m_object->CountDispensers(&countOut); }), countOut};
    }
    std::tuple<int32_t, int16_t> GetDispenserLogicalNumber(const int16_t &dispenser) override
    {
        std::int16_t logicalNumberOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetDispenserLogicalNumber(dispenser, &logicalNumberOut); }), logicalNumberOut};
    }
    std::tuple<int32_t, int16_t> GetDispenserLoop(const int16_t &dispenser) override
    {
        std::int16_t loopOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetDispenserLoop(dispenser, &loopOut); }), loopOut};
    }
    std::tuple<int32_t, int16_t> GetDispenserAddress(const int16_t &dispenser) override
    {
        std::int16_t addressOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetDispenserAddress(dispenser, &addressOut); }), addressOut};
    }
    std::tuple<int32_t, int16_t> GetCardTerminalAddress(const int16_t &dispenser) override
    {
        std::int16_t addressOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetCardTerminalAddress(dispenser, &addressOut); }), addressOut};
    }
    std::tuple<int32_t, int16_t> FirstPreset(const int16_t &dispenser) override
    {
        std::int16_t presetOut{};
        return {m_context.call(getObject(), [&] { return m_object->FirstPreset(dispenser, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> LastPreset(const int16_t &dispenser) override
    {
        std::int16_t presetOut{};
        return {m_context.call(getObject(), [&] { return m_object->LastPreset(dispenser, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> NextPreset(const int16_t &dispenser, const int16_t &preset) override
    {
        std::int16_t presetOut = preset;
        return {m_context.call(getObject(), [&] { return m_object->NextPreset(dispenser, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> PreviousPreset(const int16_t &dispenser, const int16_t &preset) override
    {
        std::int16_t presetOut = preset;
        return {m_context.call(getObject(), [&] { return m_object->PreviousPreset(dispenser, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> CountPresets(const int16_t &dispenser) override
    {
        std::int16_t countOut{};
        return {m_context.call(getObject(), [&] { return m_object->CountPresets(dispenser, &countOut); }), countOut};
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveCameraPreset(const int16_t &dispenser, const int16_t &preset) override
    {
        std::shared_ptr<ICameraPresetData> entryOut{};
        return {m_context.call(getObject(), [&] { return m_object->RetrieveCameraPreset(dispenser, preset, &entryOut); }), m_context.pathOf(entryOut)};
    }
    int32_t SetDispenserLoop(const int16_t &dispenser, const int16_t &loop) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetDispenserLoop(dispenser, loop); });
    }
    int32_t SetDispenserAddress(const int16_t &dispenser, const int16_t &address) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetDispenserAddress(dispenser, address); });
    }
    int32_t SetCardTerminalAddress(const int16_t &dispenser, const int16_t &address) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetCardTerminalAddress(dispenser, address); });
    }
    std::tuple<int32_t, int16_t> NewDispenser(const int16_t &logicalNumber) override
    {
        std::int16_t dispenserOut{};
        return {m_context.call(getObject(), [&] { return m_object->NewDispenser(logicalNumber, &dispenserOut); }), dispenserOut};
    }
    std::tuple<int32_t, int16_t> NewPreset(const int16_t &dispenser, const int16_t &eventNumber) override
    {
        std::int16_t presetOut{};
        return {m_context.call(getObject(), [&] { return m_object->NewPreset(dispenser, eventNumber, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> DeleteDispenser(const int16_t &dispenser) override
    {
        std::int16_t dispenserOut = dispenser;
        return {m_context.call(getObject(), [&] { return m_object->DeleteDispenser(&dispenserOut); }), dispenserOut};
    }
    std::tuple<int32_t, int16_t> DeletePreset(const int16_t &dispenser, const int16_t &preset) override
    {
        std::int16_t presetOut = preset;
        return {m_context.call(getObject(), [&] { return m_object->DeletePreset(dispenser, &presetOut); }), presetOut};
    }

    BusContext &m_context;
    std::shared_ptr<services::IDispenserData> m_object;
};

class CameraPresetDataObject final : public sdbus::AdaptorInterfaces<org::orvex::ICameraPresetData_adaptor>
{
public:
    CameraPresetDataObject(BusContext &context, std::string path, std::shared_ptr<services::ICameraPresetData> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~CameraPresetDataObject() { unregisterAdaptor(); }

private:
    std::tuple<int32_t, int16_t> GetEventNumber() override
    {
        std::int16_t eventNumberOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetEventNumber(&eventNumberOut); }), eventNumberOut};
    }
    std::tuple<int32_t, int16_t> GetCameraNumber() override
    {
        std::int16_t cameraNumberOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetCameraNumber(&cameraNumberOut); }), cameraNumberOut};
    }
    std::tuple<int32_t, int16_t> GetPresetNumber() override
    {
        std::int16_t presetNumberOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetPresetNumber(&presetNumberOut); }), presetNumberOut};
    }
    int32_t SetCameraNumber(const int16_t &cameraNumber) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetCameraNumber(cameraNumber); });
    }
    int32_t SetPresetNumber(const int16_t &presetNumber) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetPresetNumber(presetNumber); });
    }

    BusContext &m_context;
    std::shared_ptr<services::ICameraPresetData> m_object;
};

class CameraDataObject final : public sdbus::AdaptorInterfaces<org::orvex::ICameraData_adaptor>
{
public:
    CameraDataObject(BusContext &context, std::string path, std::shared_ptr<services::ICameraData> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~CameraDataObject() { unregisterAdaptor(); }

private:
    std::tuple<int32_t, int16_t> GetCameraNumber(const int16_t &camera) override
    {
        std::int16_t cameraNumberOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetCameraNumber(camera, &cameraNumberOut); }), cameraNumberOut};
    }
    std::tuple<int32_t, int16_t> GetCameraType(const int16_t &camera) override
    {
        std::int16_t cameraTypeOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetCameraType(camera, &cameraTypeOut); }), cameraTypeOut};
    }
    int32_t SetCameraType(const int16_t &camera, const int16_t &cameraType) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetCameraType(camera, cameraType); });
    }
    std::tuple<int32_t, std::string> GetComment(const int16_t &camera, const int16_t &preset) override
    {
        std::string commentOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetComment(camera, preset, &commentOut); }), commentOut};
    }
    int32_t SetComment(const int16_t &camera, const int16_t &preset, const std::string &comment) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetComment(camera, preset, &comment); });
    }
    std::tuple<int32_t, int16_t> FirstCamera() override
    {
        std::int16_t cameraOut{};
        return {m_context.call(getObject(), [&] { return m_object->FirstCamera(&cameraOut); }), cameraOut};
    }
    std::tuple<int32_t, int16_t> LastCamera() override
    {
        std::int16_t cameraOut{};
        return {m_context.call(getObject(), [&] { return m_object->LastCamera(&cameraOut); }), cameraOut};
    }
    std::tuple<int32_t, int16_t> NextCamera(const int16_t &camera) override
    {
        std::int16_t cameraOut = camera;
        return {m_context.call(getObject(), [&] { return m_object->NextCamera(&cameraOut); }), cameraOut};
    }
    std::tuple<int32_t, int16_t> PreviousCamera(const int16_t &camera) override
    {
        std::int16_t cameraOut = camera;
        return {m_context.call(getObject(), [&] { return m_object->PreviousCamera(&cameraOut); }), cameraOut};
    }
    std::tuple<int32_t, int16_t> FirstPreset(const int16_t &camera) override
    {
        std::int16_t presetOut{};
        return {m_context.call(getObject(), [&] { return m_object->FirstPreset(camera, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> LastPreset(const int16_t &camera) override
    {
        std::int16_t presetOut{};
        return {m_context.call(getObject(), [&] { return m_object->LastPreset(camera, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> NextPreset(const int16_t &camera, const int16_t &preset) override
    {
        std::int16_t presetOut = preset;
        return {m_context.call(getObject(), [&] { return m_object->NextPreset(camera, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> PreviousPreset(const int16_t &camera, const int16_t &preset) override
    {
        std::int16_t presetOut = preset;
        return {m_context.call(getObject(), [&] { return m_object->PreviousPreset(camera, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> NewCamera(const int16_t &cameraNumber) override
    {
        std::int16_t cameraOut{};
        return {m_context.call(getObject(), [&] { return m_object->NewCamera(cameraNumber, &cameraOut); }), cameraOut};
    }
    std::tuple<int32_t, int16_t> NewPreset(const int16_t &camera, const int16_t &presetNumber) override
    {
        std::int16_t presetOut{};
        return {m_context.call(getObject(), [&] { return m_object->NewPreset(camera, presetNumber, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> DeleteCamera(const int16_t &camera) override
    {
        std::int16_t cameraOut = camera;
        return {m_context.call(getObject(), [&] { return m_object->DeleteCamera(&cameraOut); }), cameraOut};
    }
    std::tuple<int32_t, int16_t> DeletePreset(const int16_t &camera, const int16_t &preset) override
    {
        std::int16_t presetOut = preset;
        return {m_context.call(getObject(), [&] { return m_object->DeletePreset(camera, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> CountCameras() override
    {
        std::int16_t countOut{};
        return {m_context.call(getObject(), [&] { return m_object->CountCameras(&countOut); }), countOut};
    }
    std::tuple<int32_t, int16_t> CountPresets(const int16_t &camera) override
    {
        std::int16_t countOut{};
        return {m_context.call(getObject(), [&] { return m_object->CountPresets(camera, &countOut); }), countOut};
    }
    std::tuple<int32_t, int16_t> GetPresetNumber(const int16_t &camera, const int16_t &preset) override
    {
        std::int16_t presetNumberOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetPresetNumber(camera, preset, &presetNumberOut); }), presetNumberOut};
    }

    BusContext &m_context;
    std::shared_ptr<services::ICameraData> m_object;
};

} // namespace

#define ORVEX_BUS_OBJECT(Iface, Class)                                                             \
    std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path,             \
                                        std::shared_ptr<Iface> object)                          \
    {                                                                                              \
        return std::make_shared<Class>(context, path, std::move(object));                         \
    }
ORVEX_BUS_OBJECT(IDispenserData, DispenserDataObject)
ORVEX_BUS_OBJECT(ICameraPresetData, CameraPresetDataObject)
ORVEX_BUS_OBJECT(ICameraData, CameraDataObject)
#undef ORVEX_BUS_OBJECT

} // namespace services
