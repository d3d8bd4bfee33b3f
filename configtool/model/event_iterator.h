#pragma once
// The site's event priorities, keyed by the metadata name of the event number. Deleting an
// event first deletes every dispenser entry of that event.

#include "configtool/model/iterator.h"

#include <QString>

namespace configtool {

class EventIterator : public Iterator
{
public:
    using Iterator::Iterator;

    void Reload() override;
    std::int16_t Count() override;
    void First() override;
    void Next() override;
    // Each default event with its initial and revisit priorities.
    void LoadDefaults() override;
    void ClearAll() override;

    // The first event with that number; 0 when none. A failure while searching is shown
    // ("exception=" and its text) and gives 0.
    std::int16_t FindEvent(std::int16_t eventNumber);
    void SelectEvent(const QString &eventName);
    void AddEvent(const QString &eventName);
    void DeleteEvent(const QString &eventName);
    std::int16_t GetEventNumber();
    QString GetEventName();
    std::int16_t GetPriority();
    void SetPriority(std::int16_t priority);
    std::int16_t GetTransitionPriority();
    void SetTransitionPriority(std::int16_t priority);

protected:
    std::shared_ptr<services::IEventData> m_events;
    std::shared_ptr<services::IDispenserData> m_dispensers;
};

} // namespace configtool
