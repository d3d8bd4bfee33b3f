#include "configtool/model/device_iterator.h"

#include "configtool/model/camera_type_state.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/tool_host.h"

#include "platform/com_error.h"

namespace configtool {

bool DeviceIterator::IsHiddenType(std::int16_t deviceType)
{
    return deviceType == 0 || deviceType == 1 || deviceType == 2 || deviceType == 6;
}

void DeviceIterator::Reload()
{
    m_devices = retrieveDevices();
    m_dispensers = retrieveDispensers();
    m_cameras = retrieveCameras();
    m_points = retrievePOS();
    m_visibleCount = 0;
    ForEachHandle([&](std::int16_t *h) { return m_devices->First(h); },
                  [&](std::int16_t *h) { return m_devices->Next(h); },
                  [&](std::int16_t h) { m_visibleCount += IsHiddenType(deviceType(h)) ? 0 : 1; });
}

std::int16_t DeviceIterator::deviceType(std::int16_t handle)
{
    std::int16_t type = 0;
    ThrowIfFailed(m_devices->GetDeviceType(handle, &type));
    return type;
}

void DeviceIterator::skipHidden()
{
    while (m_current != 0 && IsHiddenType(deviceType(m_current)))
        ThrowIfFailed(m_devices->Next(&m_current));
    m_end = m_current == 0;
    if (!m_end)
        m_deviceName = metaData().GetDeviceName(deviceType(m_current));
}

void DeviceIterator::First()
{
    ThrowIfFailed(m_devices->First(&m_current));
    skipHidden();
}

void DeviceIterator::Next()
{
    ThrowIfFailed(m_devices->Next(&m_current));
    skipHidden();
}

void DeviceIterator::ClearAll()
{
    int toDelete = 0;
    ForEachHandle([&](std::int16_t *h) { return m_devices->First(h); },
                  [&](std::int16_t *h) { return m_devices->Next(h); },
                  [&](std::int16_t h) { toDelete += IsHiddenType(deviceType(h)) ? 0 : 1; });
    for (int i = 0; i < toDelete; ++i) {
        First();
        if (m_current == 0)
            break;
        ThrowIfFailed(m_devices->Delete(&m_current));
    }
    m_visibleCount = 0;
    m_current = 0;
    m_end = true;
    SetModified();
}

void DeviceIterator::LoadDefaults()
{
    ClearAll();
    const OrvexMetaData &meta = metaData();
    for (int i = 0; i < meta.GetDefaultDeviceCount(); ++i) {
        AddDevice(meta.GetDefaultDeviceName(i));
        SetProtocol(meta.GetDefaultDeviceProtocol(i));
        SetPort(meta.GetDefaultDevicePreferredPort(i));
    }
}

std::int16_t DeviceIterator::FindDevice(const QString &deviceName)
{
    return FindHandle(
        [&](std::int16_t *h) { return m_devices->First(h); },
        [&](std::int16_t *h) { return m_devices->Next(h); },
        [&](std::int16_t h) { return metaData().GetDeviceName(deviceType(h)) == deviceName; });
}

void DeviceIterator::SelectDevice(const QString &deviceName)
{
    m_current = FindDevice(deviceName);
    m_end = m_current == 0;
    m_deviceName = deviceName;
}

void DeviceIterator::AddDevice(const QString &deviceName)
{
    ThrowIfFailed(m_devices->Append(&m_current));
    m_end = false;
    m_deviceName = deviceName;
    const std::int16_t type = metaData().GetDeviceId(deviceName);
    ThrowIfFailed(m_devices->SetDeviceType(m_current, type));
    if (!IsHiddenType(type))
        ++m_visibleCount;
    SetModified();
}

void DeviceIterator::DeleteDevice(const QString &deviceName)
{
    std::int16_t handle = FindDevice(deviceName);
    const bool visible = handle != 0 && !IsHiddenType(deviceType(handle));
    ThrowIfFailed(m_devices->Delete(&handle));
    if (visible)
        --m_visibleCount;
    SetModified();
}

QString DeviceIterator::GetDeviceName()
{
    return metaData().GetDeviceName(deviceType(m_current));
}

void DeviceIterator::applyCameraType(std::int16_t deviceId, std::int16_t protocolId)
{
    if (deviceId == kCameraDeviceType)
        manager().GetHost().cameraType().set(protocolId);
}

QString DeviceIterator::GetProtocolName()
{
    std::int16_t protocol = 0;
    ThrowIfFailed(m_devices->GetInterface(m_current, &protocol));
    const std::int16_t type = deviceType(m_current);
    applyCameraType(metaData().GetDeviceId(metaData().GetDeviceName(type)), protocol);
    return metaData().GetProtocolName(type, protocol);
}

void DeviceIterator::SetProtocol(const QString &protocolName)
{
    const std::int16_t protocol = metaData().GetProtocolId(m_deviceName, protocolName);
    ThrowIfFailed(m_devices->SetInterface(m_current, protocol));
    SetModified();
    applyCameraType(metaData().GetDeviceId(m_deviceName), protocol);
}

std::int16_t DeviceIterator::GetPort()
{
    std::int16_t port = 0;
    ThrowIfFailed(m_devices->GetInport(m_current, &port));
    return port;
}

void DeviceIterator::SetPort(std::int16_t port)
{
    ThrowIfFailed(m_devices->SetInport(m_current, port));
    ThrowIfFailed(m_devices->SetOutport(m_current, port));
    SetModified();
}

bool DeviceIterator::DispenserOnLoop(std::int16_t loop)
{
    return FindHandle([&](std::int16_t *h) { return m_dispensers->FirstDispenser(h); },
                      [&](std::int16_t *h) { return m_dispensers->NextDispenser(h); },
                      [&](std::int16_t h) {
                          std::int16_t value = 0;
                          ThrowIfFailed(m_dispensers->GetDispenserLoop(h, &value));
                          return value == loop;
                      })
           != 0;
}

bool DeviceIterator::HasCameras()
{
    std::int16_t count = 0;
    ThrowIfFailed(m_cameras->CountCameras(&count));
    return count > 0;
}

bool DeviceIterator::POSExists(std::int16_t posNumber)
{
    return FindHandle([&](std::int16_t *h) { return m_points->First(h); },
                      [&](std::int16_t *h) { return m_points->Next(h); },
                      [&](std::int16_t h) {
                          std::int16_t value = 0;
                          ThrowIfFailed(m_points->GetPOSNumber(h, &value));
                          return value == posNumber;
                      })
           != 0;
}

} // namespace configtool
