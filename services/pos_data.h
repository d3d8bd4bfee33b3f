#pragma once
// The point-of-sale table of the in-memory site. The movable flag is a COM boolean kept as
// given. Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/record_list.h"

namespace services {

class POSData final : public IPOSData
{
public:
    struct Record
    {
        std::int16_t POSNumber = 0;
        std::int16_t camera = 0;
        std::int16_t movableFlag = 0;
        std::int16_t preset = 0;
        std::int16_t priority = 0;
    };

    HRESULT Count(std::int16_t *count) override { return m_records.Count(count); }
    HRESULT Delete(std::int16_t *index) override { return m_records.remove(index); }
    HRESULT First(std::int16_t *index) override { return m_records.First(index); }
    HRESULT Last(std::int16_t *index) override { return m_records.Last(index); }
    HRESULT Next(std::int16_t *index) override { return m_records.Next(index); }
    HRESULT Previous(std::int16_t *index) override { return m_records.Previous(index); }
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

    [[nodiscard]] const RecordList<Record> &records() const { return m_records; }
    void clear() { m_records.clear(); }

private:
    RecordList<Record> m_records;
};

} // namespace services
