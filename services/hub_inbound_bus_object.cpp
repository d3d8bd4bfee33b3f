#include "services/hub_inbound_bus_object.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "interfaces/services/idvr_comms.h"
#include "interfaces/services/ilicence_plate.h"
#include "services/bus_context.h"

namespace services {
namespace {

class HubInboundObject final
    : public sdbus::AdaptorInterfaces<org::orvex::ILicencePlate_adaptor, org::orvex::IDVRComms_adaptor>
{
public:
    HubInboundObject(BusContext &context, const std::string &path, std::shared_ptr<ILicencePlate> plates,
                     std::shared_ptr<IDVRComms> images)
        : AdaptorInterfaces(context.connection(), path), m_context(context), m_plates(std::move(plates)),
          m_images(std::move(images))
    {
        registerAdaptor();
    }
    ~HubInboundObject() { unregisterAdaptor(); }

private:
    template <typename Object, typename Call>
    int32_t call(const std::shared_ptr<Object> &object, Call &&domainCall)
    {
        return m_context.call(getObject(), [&] { return object ? domainCall(*object) : E_NOINTERFACE; });
    }

    int32_t RecognizeLicencePlateNumber(const int16_t &FuellingPositionID, const int16_t &CameraID,
                                        const int16_t &NumberOfCharactersRecognized,
                                        const std::string &VehicleRegistrationNumber,
                                        const std::string &ConfidenceLevel, const std::string &ImageTimestamp) override
    {
        return call(m_plates, [&](ILicencePlate &p) {
            return p.RecognizeLicencePlateNumber(FuellingPositionID, CameraID, NumberOfCharactersRecognized,
                                                 VehicleRegistrationNumber, ConfidenceLevel, ImageTimestamp);
        });
    }
    int32_t CapturedFuellingPositionImage(const int16_t &FuellingPositionID, const int16_t &CameraID,
                                          const std::string &ImageTimestamp, const std::string &ImageFilename,
                                          const int16_t &EventID, const std::string &SourceEventTimestamp,
                                          const int16_t &SourceEventSequenceNumber) override
    {
        return call(m_plates, [&](ILicencePlate &p) {
            return p.CapturedFuellingPositionImage(FuellingPositionID, CameraID, ImageTimestamp, ImageFilename,
                                                   EventID, SourceEventTimestamp, SourceEventSequenceNumber);
        });
    }
    int32_t CapturedPaymentTerminalImage(const int16_t &PaymentTerminalID, const int16_t &CameraID,
                                         const std::string &ImageTimestamp, const std::string &ImageFilename,
                                         const int16_t &EventID, const std::string &SourceEventTimestamp,
                                         const int16_t &SourceEventSequenceNumber) override
    {
        return call(m_plates, [&](ILicencePlate &p) {
            return p.CapturedPaymentTerminalImage(PaymentTerminalID, CameraID, ImageTimestamp, ImageFilename,
                                                  EventID, SourceEventTimestamp, SourceEventSequenceNumber);
        });
    }
    int32_t CapturedWorkstationImage(const std::string &WorkstationID, const int16_t &CameraID,
                                     const std::string &ImageTimestamp, const std::string &ImageFilename,
                                     const int16_t &EventID, const std::string &SourceEventTimestamp,
                                     const int16_t &SourceEventSequenceNumber) override
    {
        return call(m_plates, [&](ILicencePlate &p) {
            return p.CapturedWorkstationImage(WorkstationID, CameraID, ImageTimestamp, ImageFilename, EventID,
                                              SourceEventTimestamp, SourceEventSequenceNumber);
        });
    }
    int32_t ImageAvailable(const int16_t &CameraID, const std::string &fileName) override
    {
        return call(m_images, [&](IDVRComms &i) { return i.ImageAvailable(CameraID, fileName); });
    }
    int32_t ImageCaptureError(const int16_t &CameraID, const std::string &reason) override
    {
        return call(m_images, [&](IDVRComms &i) { return i.ImageCaptureError(CameraID, reason); });
    }

    BusContext &m_context;
    std::shared_ptr<ILicencePlate> m_plates;
    std::shared_ptr<IDVRComms> m_images;
};

} // namespace

std::shared_ptr<void> MakeHubInboundBusObject(BusContext &context, const std::string &path,
                                              const std::shared_ptr<IOrvexComms> &hub)
{
    auto plates = std::dynamic_pointer_cast<ILicencePlate>(hub);
    auto images = std::dynamic_pointer_cast<IDVRComms>(hub);
    if (!plates && !images)
        return nullptr;
    return std::make_shared<HubInboundObject>(context, path, std::move(plates), std::move(images));
}

} // namespace services
