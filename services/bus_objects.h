#pragma once
// The service's objects as the bus sees them: one maker per kind, each putting a thin adaptor
// at `path` that calls the domain object on the service thread, and the path every kind lives
// under. The event objects of the recorder bridge become emitters of their events' signals,
// subscribed to the bridge for as long as the adaptor lives. What a maker returns owns the
// adaptor (and its subscription); dropping it takes the object off the bus.

#include "interfaces/recorder_bridge/event_objects.h"
#include "interfaces/recorder_bridge/licence_plate_recognizer.h"
#include "interfaces/recorder_bridge/orvex_interface.h"
#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/services/idvr_test.h"
#include "interfaces/services/iorvex_comms.h"
#include "interfaces/services/iorvex_config_data.h"
#include "interfaces/services/isite_tables.h"

#include <memory>
#include <string>

namespace services {

class BusContext;

#define ORVEX_BUS_KIND(Type, base, numbered)                                                       \
    std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path,             \
                                        std::shared_ptr<Type> object);                            \
    template <>                                                                                    \
    struct BusPath<Type>                                                                           \
    {                                                                                              \
        static constexpr const char *kBase = base;                                                 \
        static constexpr bool kNumbered = numbered;                                                \
    };

template <typename T>
struct BusPath;

ORVEX_BUS_KIND(IOrvexComms, "/org/orvex/OrvexComms", false)
ORVEX_BUS_KIND(ICameraCtrl, "/org/orvex/CameraCtrl", false)
ORVEX_BUS_KIND(IDVRTest, "/org/orvex/DVRTest", false)
ORVEX_BUS_KIND(IOrvexConfigData, "/org/orvex/OrvexConfigData", false)
// Tables are new objects after every InitializeStorage, entries one object each.
ORVEX_BUS_KIND(IDeviceData, "/org/orvex/OrvexConfigData/Devices", true)
ORVEX_BUS_KIND(IDispenserData, "/org/orvex/OrvexConfigData/Dispensers", true)
ORVEX_BUS_KIND(ICameraPresetData, "/org/orvex/OrvexConfigData/CameraPresets", true)
ORVEX_BUS_KIND(IEventData, "/org/orvex/OrvexConfigData/Events", true)
ORVEX_BUS_KIND(ICameraData, "/org/orvex/OrvexConfigData/Cameras", true)
ORVEX_BUS_KIND(IPOSData, "/org/orvex/OrvexConfigData/POS", true)
ORVEX_BUS_KIND(recorder_bridge::IOrvexInterface, "/org/orvex/RecorderBridge", false)
ORVEX_BUS_KIND(recorder_bridge::IFuelling, "/org/orvex/RecorderBridge/Fuelling", false)
ORVEX_BUS_KIND(recorder_bridge::IPaymentTerminal, "/org/orvex/RecorderBridge/PaymentTerminal", false)
ORVEX_BUS_KIND(recorder_bridge::IForecourtCamera, "/org/orvex/RecorderBridge/ForecourtCamera", false)
ORVEX_BUS_KIND(recorder_bridge::IRetail, "/org/orvex/RecorderBridge/Retail", false)
ORVEX_BUS_KIND(recorder_bridge::ILicencePlateRecognizer, "/org/orvex/RecorderBridge/LicencePlateRecognizer",
               false)
ORVEX_BUS_KIND(recorder_bridge::IImageCapture, "/org/orvex/RecorderBridge/ImageCapture", false)

#undef ORVEX_BUS_KIND

} // namespace services
