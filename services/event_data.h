#pragma once
// The event table of the in-memory site: event number with its priority and transition
// priority. Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/record_list.h"

namespace services {

class EventData final : public IEventData
{
public:
    struct Record
    {
        std::int16_t eventNumber = 0;
        std::int16_t priority = 0;
        std::int16_t transitionPriority = 0;
    };

    HRESULT First(std::int16_t *index) override { return m_records.First(index); }
    HRESULT Last(std::int16_t *index) override { return m_records.Last(index); }
    HRESULT Next(std::int16_t *index) override { return m_records.Next(index); }
    HRESULT Previous(std::int16_t *index) override { return m_records.Previous(index); }
    HRESULT Count(std::int16_t *count) override { return m_records.Count(count); }
    HRESULT GetEventNumber(std::int16_t index, std::int16_t *eventNumber) override
    {
        return m_records.get(index, &Record::eventNumber, eventNumber);
    }
    HRESULT GetPriority(std::int16_t index, std::int16_t *priority) override
    {
        return m_records.get(index, &Record::priority, priority);
    }
    HRESULT GetTransitionPriority(std::int16_t index, std::int16_t *priority) override
    {
        return m_records.get(index, &Record::transitionPriority, priority);
    }
    HRESULT SetPriority(std::int16_t index, std::int16_t priority) override
    {
        return m_records.set(index, &Record::priority, priority);
    }
    HRESULT SetTransitionPriority(std::int16_t index, std::int16_t priority) override
    {
        return m_records.set(index, &Record::transitionPriority, priority);
    }
    HRESULT NewEvent(std::int16_t eventNumber, std::int16_t *index) override
    {
        return m_records.append({eventNumber, 0, 0}, index);
    }
    HRESULT Delete(std::int16_t *index) override { return m_records.remove(index); }

    [[nodiscard]] const RecordList<Record> &records() const { return m_records; }
    void clear() { m_records.clear(); }

private:
    RecordList<Record> m_records;
};

} // namespace services
