#pragma once
// The site's device drivers, keyed by the metadata name of their type. Types 0, 1, 2 and 6 are
// hidden: the service keeps them in every site, and this iterator neither lists, counts nor
// clears them. Setting or reading the protocol of the camera device (type 3) also sets the
// tool's camera type, which the preset editor follows.

#include "configtool/model/iterator.h"

#include <QString>

namespace configtool {

class DeviceIterator : public Iterator
{
public:
    static constexpr std::int16_t kCameraDeviceType = 3;

    using Iterator::Iterator;

    void Reload() override;
    std::int16_t Count() override { return m_visibleCount; }
    void First() override;
    bool Eof() override { return m_end; }
    void Next() override;
    // Each default device with the first protocol of its category ("UNKNOWN" when it has none)
    // on its preferred port.
    void LoadDefaults() override;
    void ClearAll() override;

    [[nodiscard]] static bool IsHiddenType(std::int16_t deviceType);

    // The first device whose type has that name; 0 when none.
    std::int16_t FindDevice(const QString &deviceName);
    void SelectDevice(const QString &deviceName);
    void AddDevice(const QString &deviceName);
    void DeleteDevice(const QString &deviceName);
    QString GetDeviceName();
    // The current device's protocol named within its category.
    QString GetProtocolName();
    void SetProtocol(const QString &protocolName);
    std::int16_t GetPort();
    // In-port and out-port alike.
    void SetPort(std::int16_t port);
    bool DispenserOnLoop(std::int16_t loop);
    bool HasCameras();
    bool POSExists(std::int16_t posNumber);

private:
    std::int16_t deviceType(std::int16_t handle);
    void skipHidden();
    void applyCameraType(std::int16_t deviceId, std::int16_t protocolId);

    std::shared_ptr<services::IDeviceData> m_devices;
    std::shared_ptr<services::IDispenserData> m_dispensers;
    std::shared_ptr<services::ICameraData> m_cameras;
    std::shared_ptr<services::IPOSData> m_points;
    std::int16_t m_visibleCount = 0;
    bool m_end = true;
    QString m_deviceName;
};

} // namespace configtool
