#include "configtool/model/iterator.h"

#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"

#include "platform/com_error.h"

namespace configtool {

Iterator::Iterator(OrvexConfigManager &manager)
    : m_manager(manager), m_metaData(manager.GetMetaData())
{}

Iterator::~Iterator() = default;

void Iterator::SetModified()
{
    m_manager.SetModified();
}

services::IOrvexConfigData &Iterator::configData() const
{
    const auto data = m_manager.GetConfigData();
    if (!data)
        throw ComError(E_POINTER);
    // The manager holds the reference for as long as the tool is connected.
    return *data;
}

std::shared_ptr<services::IDeviceData> Iterator::retrieveDevices() const
{
    std::shared_ptr<services::IDeviceData> table;
    ThrowIfFailed(configData().RetrieveDevice(&table));
    return table;
}

std::shared_ptr<services::IDispenserData> Iterator::retrieveDispensers() const
{
    std::shared_ptr<services::IDispenserData> table;
    ThrowIfFailed(configData().RetrieveDispenser(&table));
    return table;
}

std::shared_ptr<services::IEventData> Iterator::retrieveEvents() const
{
    std::shared_ptr<services::IEventData> table;
    ThrowIfFailed(configData().RetrieveEvent(&table));
    return table;
}

std::shared_ptr<services::ICameraData> Iterator::retrieveCameras() const
{
    std::shared_ptr<services::ICameraData> table;
    ThrowIfFailed(configData().RetrieveCamera(&table));
    return table;
}

std::shared_ptr<services::IPOSData> Iterator::retrievePOS() const
{
    std::shared_ptr<services::IPOSData> table;
    ThrowIfFailed(configData().RetrievePOS(&table));
    return table;
}

void ForEachHandle(const std::function<HRESULT(std::int16_t *)> &first,
                   const std::function<HRESULT(std::int16_t *)> &next,
                   const std::function<void(std::int16_t)> &visit)
{
    std::int16_t handle = 0;
    for (ThrowIfFailed(first(&handle)); handle != 0; ThrowIfFailed(next(&handle)))
        visit(handle);
}

std::int16_t FindHandle(const std::function<HRESULT(std::int16_t *)> &first,
                        const std::function<HRESULT(std::int16_t *)> &next,
                        const std::function<bool(std::int16_t)> &matches)
{
    std::int16_t handle = 0;
    for (ThrowIfFailed(first(&handle)); handle != 0; ThrowIfFailed(next(&handle))) {
        if (matches(handle))
            return handle;
    }
    return 0;
}

std::int16_t FindNumbered(const std::function<HRESULT(std::int16_t *)> &first,
                          const std::function<HRESULT(std::int16_t *)> &next,
                          const std::function<HRESULT(std::int16_t, std::int16_t *)> &numberOf,
                          std::int16_t number)
{
    return FindHandle(first, next, [&](std::int16_t handle) {
        std::int16_t value = 0;
        ThrowIfFailed(numberOf(handle, &value));
        return value == number;
    });
}

void DeleteFirstRecords(std::int16_t count, const std::function<HRESULT(std::int16_t *)> &first,
                        const std::function<HRESULT(std::int16_t *)> &remove)
{
    for (int i = 0; i < count; ++i) {
        std::int16_t handle = 0;
        ThrowIfFailed(first(&handle));
        if (handle == 0)
            return;
        ThrowIfFailed(remove(&handle));
    }
}

void DeleteMatchingEntries(services::IDispenserData &dispensers,
                           const std::function<bool(services::ICameraPresetData &)> &matches)
{
    const auto entryMatches = [&](std::int16_t dispenser, std::int16_t entry) {
        std::shared_ptr<services::ICameraPresetData> data;
        ThrowIfFailed(dispensers.RetrieveCameraPreset(dispenser, entry, &data));
        return data && matches(*data);
    };
    ForEachHandle([&](std::int16_t *d) { return dispensers.FirstDispenser(d); },
                  [&](std::int16_t *d) { return dispensers.NextDispenser(d); },
                  [&](std::int16_t dispenser) {
                      const auto first
                          = [&](std::int16_t *p) { return dispensers.FirstPreset(dispenser, p); };
                      const auto next
                          = [&](std::int16_t *p) { return dispensers.NextPreset(dispenser, p); };
                      int count = 0;
                      ForEachHandle(first, next, [&](std::int16_t entry) {
                          count += entryMatches(dispenser, entry);
                      });
                      for (int i = 0; i < count; ++i) {
                          std::int16_t entry = FindHandle(first, next, [&](std::int16_t e) {
                              return entryMatches(dispenser, e);
                          });
                          if (entry == 0)
                              break;
                          ThrowIfFailed(dispensers.DeletePreset(dispenser, &entry));
                      }
                  });
}

bool SiteHasDevice(services::IDeviceData &devices, const OrvexMetaData &metaData,
                   const char *deviceName)
{
    const QString name = QString::fromLatin1(deviceName);
    return FindHandle([&](std::int16_t *h) { return devices.First(h); },
                      [&](std::int16_t *h) { return devices.Next(h); },
                      [&](std::int16_t h) {
                          std::int16_t type = 0;
                          ThrowIfFailed(devices.GetDeviceType(h, &type));
                          return metaData.GetDeviceName(type) == name;
                      })
           != 0;
}

} // namespace configtool
