#pragma once
// The device table of the in-memory site: one record per task of the unit, in task order (a
// device has no number of its own). Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/flat_table.h"

namespace services {

struct DeviceRecord
{
    std::int16_t deviceType = 0;
    std::int16_t iface = 0;
    std::int16_t inport = 0;
    std::int16_t outport = 0;
};

class DeviceData final : public FlatTable<IDeviceData, DeviceRecord>
{
public:
    using Record = DeviceRecord;

    HRESULT GetDeviceType(std::int16_t index, std::int16_t *deviceType) override
    {
        return m_records.get(index, &Record::deviceType, deviceType);
    }
    HRESULT GetInterface(std::int16_t index, std::int16_t *iface) override
    {
        return m_records.get(index, &Record::iface, iface);
    }
    HRESULT GetInport(std::int16_t index, std::int16_t *inport) override
    {
        return m_records.get(index, &Record::inport, inport);
    }
    HRESULT GetOutport(std::int16_t index, std::int16_t *outport) override
    {
        return m_records.get(index, &Record::outport, outport);
    }
    HRESULT SetDeviceType(std::int16_t index, std::int16_t deviceType) override
    {
        return m_records.set(index, &Record::deviceType, deviceType);
    }
    HRESULT SetInterface(std::int16_t index, std::int16_t iface) override
    {
        return m_records.set(index, &Record::iface, iface);
    }
    HRESULT SetInport(std::int16_t index, std::int16_t inport) override
    {
        return m_records.set(index, &Record::inport, inport);
    }
    HRESULT SetOutport(std::int16_t index, std::int16_t outport) override
    {
        return m_records.set(index, &Record::outport, outport);
    }
    HRESULT Append(std::int16_t *index) override { return m_records.append({}, index); }
};

} // namespace services
