#include "services/stored_site_tables.h"

#include "interfaces/configstore/inumbered_items.h"
#include "interfaces/configstore/isite.h"

#include <limits>
#include <optional>

namespace services {

namespace {

// A value the store cannot give (a hand-edited file without it) reads as 0.
template <typename Item>
std::int16_t readValue(Item &item, HRESULT (Item::*getter)(std::int16_t *))
{
    std::int16_t value = 0;
    return SUCCEEDED((item.*getter)(&value)) ? value : 0;
}

// The view behind a successful answer; a success without a view counts as a failure.
template <typename View>
HRESULT answered(HRESULT hr, const std::shared_ptr<View> &view)
{
    if (FAILED(hr))
        return hr;
    return view ? S_OK : E_FAIL;
}

// Tries the numbers that `nextNumber` gives (nothing once they run out) until `count` of them
// were answered; see ScanStoredNumbers.
template <typename NextNumber>
HRESULT scanNumbers(std::int16_t count, NextNumber nextNumber,
                    const std::function<HRESULT(std::int16_t number)> &tryNumber)
{
    int answered = 0;
    while (answered < count) {
        const std::optional<std::int16_t> number = nextNumber();
        if (!number)
            return E_FAIL;
        const HRESULT hr = tryNumber(*number);
        if (hr == E_INVALIDARG)
            continue;
        if (FAILED(hr))
            return E_FAIL;
        ++answered;
    }
    return S_OK;
}

// Scans a stored list through the numbers it says it answers for, else through every number.
template <typename List>
HRESULT scanList(const std::shared_ptr<List> &list, std::int16_t count, std::int16_t firstNumber,
                 const std::function<HRESULT(std::int16_t number)> &tryNumber)
{
    if (const auto numbered = std::dynamic_pointer_cast<configstore::INumberedItems>(list)) {
        std::vector<std::int16_t> numbers;
        if (SUCCEEDED(numbered->GetNumbers(&numbers)))
            return ScanListedNumbers(count, firstNumber, numbers, tryNumber);
    }
    return ScanStoredNumbers(count, firstNumber, tryNumber);
}

// Deletes every stored item of one kind; the caller does not check the result.
void deleteStored(const std::function<HRESULT(std::int16_t *)> &countStored,
                  const std::function<HRESULT(std::int16_t)> &remove)
{
    std::int16_t count = 0;
    if (SUCCEEDED(countStored(&count)))
        ScanStoredNumbers(count, 0, remove);
}

// The first failure of a chain of store calls.
HRESULT firstFailure(std::initializer_list<HRESULT> results)
{
    for (const HRESULT hr : results)
        if (FAILED(hr))
            return hr;
    return S_OK;
}

} // namespace

HRESULT ScanStoredNumbers(std::int16_t count, std::int16_t firstNumber,
                          const std::function<HRESULT(std::int16_t number)> &tryNumber)
{
    int next = firstNumber;
    return scanNumbers(
        count,
        [&]() -> std::optional<std::int16_t> {
            if (next > std::numeric_limits<std::int16_t>::max())
                return std::nullopt;
            return static_cast<std::int16_t>(next++);
        },
        tryNumber);
}

HRESULT ScanListedNumbers(std::int16_t count, std::int16_t firstNumber, const std::vector<std::int16_t> &numbers,
                          const std::function<HRESULT(std::int16_t number)> &tryNumber)
{
    // The lowest number not yet tried: one below it, or out of order, is passed over.
    int next = firstNumber;
    auto listed = numbers.begin();
    return scanNumbers(
        count,
        [&]() -> std::optional<std::int16_t> {
            while (listed != numbers.end() && *listed < next)
                ++listed;
            if (listed == numbers.end())
                return std::nullopt;
            next = *listed + 1;
            return *listed++;
        },
        tryNumber);
}

StoredSiteTables::StoredSiteTables(DeviceData &devices, DispenserData &dispensers, EventData &events,
                                   CameraData &cameras, POSData &pointsOfSale)
    : m_devices(devices)
    , m_dispensers(dispensers)
    , m_events(events)
    , m_cameras(cameras)
    , m_pointsOfSale(pointsOfSale)
{
}

HRESULT StoredSiteTables::load(configstore::ISite &site)
{
    // Every table is tried, whatever became of the one before.
    const HRESULT results[] = {loadDevices(site), loadDispensers(site), loadEvents(site), loadCameras(site),
                               loadPointsOfSale(site)};
    for (const HRESULT hr : results)
        if (FAILED(hr))
            return hr;
    return S_OK;
}

HRESULT StoredSiteTables::loadDevices(configstore::ISite &site)
{
    std::int16_t count = 0;
    if (FAILED(site.NumTasks(&count)))
        return E_FAIL;
    return ScanStoredNumbers(count, 0, [&](std::int16_t number) {
        std::shared_ptr<configstore::ITask> task;
        const HRESULT hr = answered(site.GetTask(number, &task), task);
        if (FAILED(hr))
            return hr;
        std::int16_t index = 0;
        if (FAILED(m_devices.Append(&index)))
            return E_FAIL;
        m_devices.SetDeviceType(index, readValue(*task, &configstore::ITask::GetType));
        m_devices.SetInterface(index, readValue(*task, &configstore::ITask::GetInterface));
        m_devices.SetInport(index, readValue(*task, &configstore::ITask::GetInport));
        m_devices.SetOutport(index, readValue(*task, &configstore::ITask::GetOutport));
        return S_OK;
    });
}

HRESULT StoredSiteTables::loadDispensers(configstore::ISite &site)
{
    std::int16_t count = 0;
    if (FAILED(site.NumDispensers(&count)))
        return E_FAIL;
    return ScanStoredNumbers(count, 0, [&](std::int16_t number) {
        std::shared_ptr<configstore::IDispenser> stored;
        const HRESULT hr = answered(site.GetDispenser(number, &stored), stored);
        if (FAILED(hr))
            return hr;
        std::int16_t dispenser = 0;
        if (FAILED(m_dispensers.NewDispenser(number, &dispenser)))
            return E_FAIL;
        std::shared_ptr<configstore::IDispenserMap> map;
        if (SUCCEEDED(answered(stored->GetDispenserMap(&map), map))) {
            m_dispensers.SetDispenserLoop(dispenser, readValue(*map, &configstore::IDispenserMap::GetLoop));
            m_dispensers.SetDispenserAddress(dispenser, readValue(*map, &configstore::IDispenserMap::GetAddress));
            m_dispensers.SetCardTerminalAddress(
                dispenser, readValue(*map, &configstore::IDispenserMap::GetCardTerminalAddress));
        }
        std::shared_ptr<configstore::ICameraPresets> presets;
        std::int16_t presetCount = 0;
        if (FAILED(answered(stored->GetCameraPresets(&presets), presets))
            || FAILED(presets->NumPresetEvents(&presetCount)))
            return S_OK;
        bool entryFailed = false;
        scanList(presets, presetCount, 0, [&](std::int16_t event) {
            std::shared_ptr<configstore::IPresetEvent> storedEntry;
            const HRESULT got = answered(presets->GetPresetEvent(event, &storedEntry), storedEntry);
            if (FAILED(got))
                return got;
            std::int16_t index = 0;
            std::shared_ptr<ICameraPresetData> entry;
            if (FAILED(m_dispensers.NewPreset(dispenser, event, &index))
                || FAILED(m_dispensers.RetrieveCameraPreset(dispenser, index, &entry))) {
                entryFailed = true;
                return E_FAIL;
            }
            entry->SetCameraNumber(readValue(*storedEntry, &configstore::IPresetEvent::GetCamera));
            entry->SetPresetNumber(readValue(*storedEntry, &configstore::IPresetEvent::GetPresetValue));
            return S_OK;
        });
        return entryFailed ? E_FAIL : S_OK;
    });
}

HRESULT StoredSiteTables::loadEvents(configstore::ISite &site)
{
    std::int16_t count = 0;
    if (FAILED(site.NumEvents(&count)))
        return E_FAIL;
    return ScanStoredNumbers(count, 0, [&](std::int16_t number) {
        std::shared_ptr<configstore::IEvent> event;
        const HRESULT hr = answered(site.GetEvent(number, &event), event);
        if (FAILED(hr))
            return hr;
        std::int16_t index = 0;
        if (FAILED(m_events.NewEvent(number, &index)))
            return E_FAIL;
        m_events.SetPriority(index, readValue(*event, &configstore::IEvent::GetPriority));
        m_events.SetTransitionPriority(index, readValue(*event, &configstore::IEvent::GetTransitionPriority));
        return S_OK;
    });
}

HRESULT StoredSiteTables::loadCameras(configstore::ISite &site)
{
    std::int16_t count = 0;
    if (FAILED(site.NumCameras(&count)))
        return E_FAIL;
    return ScanStoredNumbers(count, 0, [&](std::int16_t number) {
        std::shared_ptr<configstore::ICamera> stored;
        const HRESULT hr = answered(site.GetCamera(number, &stored), stored);
        if (FAILED(hr))
            return hr;
        std::int16_t camera = 0;
        if (FAILED(m_cameras.NewCamera(number, &camera)))
            return E_FAIL;
        m_cameras.SetCameraType(camera, readValue(*stored, &configstore::ICamera::GetType));
        std::int16_t presetCount = 0;
        if (FAILED(stored->NumPresets(&presetCount)))
            return S_OK;
        // A preset list that cannot be read whole keeps what was read; the camera stays.
        scanList(stored, presetCount, 1, [&](std::int16_t presetNumber) {
            std::shared_ptr<configstore::IPreset> preset;
            const HRESULT got = answered(stored->GetPreset(presetNumber, &preset), preset);
            if (FAILED(got))
                return got;
            std::string comment;
            preset->GetComment(&comment);
            std::int16_t index = 0;
            if (FAILED(m_cameras.NewPreset(camera, presetNumber, &index)))
                return E_FAIL;
            return m_cameras.SetComment(camera, index, &comment);
        });
        return S_OK;
    });
}

HRESULT StoredSiteTables::loadPointsOfSale(configstore::ISite &site)
{
    std::int16_t count = 0;
    if (FAILED(site.NumPOSs(&count)))
        return E_FAIL;
    return ScanStoredNumbers(count, 0, [&](std::int16_t number) {
        std::shared_ptr<configstore::IPOS> pos;
        const HRESULT hr = answered(site.GetPOS(number, &pos), pos);
        if (FAILED(hr))
            return hr;
        std::int16_t index = 0;
        if (FAILED(m_pointsOfSale.NewPOS(number, &index)))
            return E_FAIL;
        bool movable = false;
        pos->GetMovableFlag(&movable);
        m_pointsOfSale.SetCamera(index, readValue(*pos, &configstore::IPOS::GetCamera));
        m_pointsOfSale.SetMovableFlag(index, movable ? -1 : 0);
        m_pointsOfSale.SetPreset(index, readValue(*pos, &configstore::IPOS::GetPreset));
        m_pointsOfSale.SetPriority(index, readValue(*pos, &configstore::IPOS::GetPriority));
        return S_OK;
    });
}

HRESULT StoredSiteTables::save(configstore::ISite &site, const char **failedTable)
{
    struct Table
    {
        const char *name;
        HRESULT (StoredSiteTables::*save)(configstore::ISite &);
    };
    for (const Table &table : {Table{"devices", &StoredSiteTables::saveDevices},
                               Table{"dispensers", &StoredSiteTables::saveDispensers},
                               Table{"events", &StoredSiteTables::saveEvents},
                               Table{"cameras", &StoredSiteTables::saveCameras},
                               Table{"points of sale", &StoredSiteTables::savePointsOfSale}}) {
        if (const HRESULT hr = (this->*table.save)(site); FAILED(hr)) {
            *failedTable = table.name;
            return hr;
        }
    }
    return S_OK;
}

HRESULT StoredSiteTables::saveDevices(configstore::ISite &site)
{
    deleteStored([&](std::int16_t *count) { return site.NumTasks(count); },
                 [&](std::int16_t number) { return site.DeleteTask(number); });
    std::int16_t taskNumber = 0;
    for (const auto &device : m_devices.records()) {
        std::shared_ptr<configstore::ITask> task;
        HRESULT hr = answered(site.NewTask(taskNumber++, &task), task);
        if (SUCCEEDED(hr))
            hr = firstFailure({task->SetType(device.deviceType), task->SetInterface(device.iface),
                               task->SetInport(device.inport), task->SetOutport(device.outport)});
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT StoredSiteTables::saveDispensers(configstore::ISite &site)
{
    deleteStored([&](std::int16_t *count) { return site.NumDispensers(count); },
                 [&](std::int16_t number) { return site.DeleteDispenser(number); });
    for (const auto &dispenser : m_dispensers.records()) {
        std::shared_ptr<configstore::IDispenser> stored;
        std::shared_ptr<configstore::IDispenserMap> map;
        std::shared_ptr<configstore::ICameraPresets> presets;
        HRESULT hr = answered(site.NewDispenser(dispenser.logicalNumber, &stored), stored);
        if (SUCCEEDED(hr))
            hr = answered(stored->GetDispenserMap(&map), map);
        if (SUCCEEDED(hr))
            hr = answered(stored->GetCameraPresets(&presets), presets);
        // The attendant tag address is the unit's own business and stays as stored.
        if (SUCCEEDED(hr))
            hr = firstFailure({map->SetLoop(dispenser.loop), map->SetAddress(dispenser.address),
                               map->SetCardTerminalAddress(dispenser.cardTerminalAddress)});
        for (auto entry = dispenser.presets.begin(); SUCCEEDED(hr) && entry != dispenser.presets.end(); ++entry) {
            std::shared_ptr<configstore::IPresetEvent> storedEntry;
            hr = answered(presets->NewPresetEvent((*entry)->eventNumber(), &storedEntry), storedEntry);
            if (SUCCEEDED(hr))
                hr = firstFailure({storedEntry->SetCamera((*entry)->cameraNumber()),
                                   storedEntry->SetPresetValue((*entry)->presetNumber())});
        }
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT StoredSiteTables::saveEvents(configstore::ISite &site)
{
    deleteStored([&](std::int16_t *count) { return site.NumEvents(count); },
                 [&](std::int16_t number) { return site.DeleteEvent(number); });
    for (const auto &event : m_events.records()) {
        std::shared_ptr<configstore::IEvent> stored;
        HRESULT hr = answered(site.NewEvent(event.eventNumber, &stored), stored);
        if (SUCCEEDED(hr))
            hr = firstFailure({stored->SetPriority(event.priority),
                               stored->SetTransitionPriority(event.transitionPriority)});
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT StoredSiteTables::saveCameras(configstore::ISite &site)
{
    deleteStored([&](std::int16_t *count) { return site.NumCameras(count); },
                 [&](std::int16_t number) { return site.DeleteCamera(number); });
    for (const auto &camera : m_cameras.records()) {
        std::shared_ptr<configstore::ICamera> stored;
        HRESULT hr = answered(site.NewCamera(camera.cameraNumber, &stored), stored);
        if (SUCCEEDED(hr))
            hr = stored->SetType(camera.cameraType);
        for (auto preset = camera.presets.begin(); SUCCEEDED(hr) && preset != camera.presets.end(); ++preset) {
            std::shared_ptr<configstore::IPreset> storedPreset;
            hr = answered(stored->NewPreset(preset->presetNumber, &storedPreset), storedPreset);
            if (SUCCEEDED(hr))
                hr = storedPreset->SetComment(preset->comment.c_str());
        }
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT StoredSiteTables::savePointsOfSale(configstore::ISite &site)
{
    deleteStored([&](std::int16_t *count) { return site.NumPOSs(count); },
                 [&](std::int16_t number) { return site.DeletePOS(number); });
    for (const auto &pos : m_pointsOfSale.records()) {
        std::shared_ptr<configstore::IPOS> stored;
        HRESULT hr = answered(site.NewPOS(pos.POSNumber, &stored), stored);
        if (SUCCEEDED(hr))
            hr = firstFailure({stored->SetCamera(pos.camera), stored->SetMovableFlag(pos.movableFlag != 0),
                               stored->SetPreset(pos.preset), stored->SetPriority(pos.priority)});
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

} // namespace services
