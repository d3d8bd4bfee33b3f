#pragma once
// The event table of the in-memory site: event number with its priority and transition
// priority. Service thread only.

#include "interfaces/services/isite_tables.h"
#include "services/flat_table.h"

namespace services {

struct EventRecord
{
    std::int16_t eventNumber = 0;
    std::int16_t priority = 0;
    std::int16_t transitionPriority = 0;
};

class EventData final : public FlatTable<IEventData, EventRecord>
{
public:
    using Record = EventRecord;

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
};

} // namespace services
