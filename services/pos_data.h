#pragma once
// The point-of-sale table of the in-memory site. The movable flag is a COM boolean kept as
// given. Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/flat_table.h"

namespace services {

struct POSRecord
{
    std::int16_t POSNumber = 0;
    std::int16_t camera = 0;
    std::int16_t movableFlag = 0;
    std::int16_t preset = 0;
    std::int16_t priority = 0;
};

class POSData final : public FlatTable<IPOSData, POSRecord>
{
public:
    using Record = POSRecord;

    HRESULT NewPOS(std::int16_t POSNumber, std::int16_t *index) override
    {
        return m_records.append({POSNumber, 0, 0, 0, 0}, index);
    }
    HRESULT SetCamera(std::int16_t index, std::int16_t camera) override
    {
        return m_records.set(index, &Record::camera, camera);
    }
    HRESULT SetMovableFlag(std::int16_t index, std::int16_t movableFlag) override
    {
        return m_records.set(index, &Record::movableFlag, movableFlag);
    }
    HRESULT SetPreset(std::int16_t index, std::int16_t preset) override
    {
        return m_records.set(index, &Record::preset, preset);
    }
    HRESULT SetPriority(std::int16_t index, std::int16_t priority) override
    {
        return m_records.set(index, &Record::priority, priority);
    }
    HRESULT GetCamera(std::int16_t index, std::int16_t *camera) override
    {
        return m_records.get(index, &Record::camera, camera);
    }
    HRESULT GetMovableFlag(std::int16_t index, std::int16_t *movableFlag) override
    {
        return m_records.get(index, &Record::movableFlag, movableFlag);
    }
    HRESULT GetPreset(std::int16_t index, std::int16_t *preset) override
    {
        return m_records.get(index, &Record::preset, preset);
    }
    HRESULT GetPriority(std::int16_t index, std::int16_t *priority) override
    {
        return m_records.get(index, &Record::priority, priority);
    }
    HRESULT GetPOSNumber(std::int16_t index, std::int16_t *POSNumber) override
    {
        return m_records.get(index, &Record::POSNumber, POSNumber);
    }
};

} // namespace services
