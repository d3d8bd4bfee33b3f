#include "configtool/model/event_iterator.h"

#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/prompter.h"
#include "configtool/model/tool_host.h"

#include "platform/com_error.h"

namespace configtool {

void EventIterator::Reload()
{
    m_events = retrieveEvents();
    m_dispensers = retrieveDispensers();
}

std::int16_t EventIterator::Count()
{
    std::int16_t count = 0;
    ThrowIfFailed(m_events->Count(&count));
    return count;
}

void EventIterator::First()
{
    ThrowIfFailed(m_events->First(&m_current));
}

void EventIterator::Next()
{
    ThrowIfFailed(m_events->Next(&m_current));
}

void EventIterator::ClearAll()
{
    DeleteFirstRecords(
        Count(), [&](std::int16_t *h) { return m_events->First(h); },
        [&](std::int16_t *h) { return m_events->Delete(h); });
    m_current = 0;
    SetModified();
}

void EventIterator::LoadDefaults()
{
    ClearAll();
    const OrvexMetaData &meta = metaData();
    for (int i = 0; i < meta.GetDefaultEventCount(); ++i) {
        AddEvent(meta.GetDefaultEventName(i));
        SetPriority(meta.GetDefaultEventInitialPriority(i));
        SetTransitionPriority(meta.GetDefaultEventRevisitPriority(i));
    }
}

std::int16_t EventIterator::FindEvent(std::int16_t eventNumber)
{
    try {
        return FindNumbered(
            [&](std::int16_t *h) { return m_events->First(h); },
            [&](std::int16_t *h) { return m_events->Next(h); },
            [&](std::int16_t h, std::int16_t *n) { return m_events->GetEventNumber(h, n); },
            eventNumber);
    } catch (const std::exception &error) {
        manager().GetHost().prompter().error(QStringLiteral("exception=")
                                             + QString::fromUtf8(error.what()));
        return 0;
    }
}

void EventIterator::SelectEvent(const QString &eventName)
{
    m_current = FindEvent(metaData().GetEventId(eventName));
}

void EventIterator::AddEvent(const QString &eventName)
{
    ThrowIfFailed(m_events->NewEvent(metaData().GetEventId(eventName), &m_current));
    SetModified();
}

void EventIterator::DeleteEvent(const QString &eventName)
{
    const std::int16_t number = metaData().GetEventId(eventName);
    DeleteMatchingEntries(*m_dispensers, [number](services::ICameraPresetData &entry) {
        std::int16_t value = 0;
        ThrowIfFailed(entry.GetEventNumber(&value));
        return value == number;
    });
    std::int16_t handle = FindEvent(number);
    ThrowIfFailed(m_events->Delete(&handle));
    SetModified();
}

std::int16_t EventIterator::GetEventNumber()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_events->GetEventNumber(m_current, &value));
    return value;
}

QString EventIterator::GetEventName()
{
    return metaData().GetEventName(GetEventNumber());
}

std::int16_t EventIterator::GetPriority()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_events->GetPriority(m_current, &value));
    return value;
}

void EventIterator::SetPriority(std::int16_t priority)
{
    ThrowIfFailed(m_events->SetPriority(m_current, priority));
    SetModified();
}

std::int16_t EventIterator::GetTransitionPriority()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_events->GetTransitionPriority(m_current, &value));
    return value;
}

void EventIterator::SetTransitionPriority(std::int16_t priority)
{
    ThrowIfFailed(m_events->SetTransitionPriority(m_current, priority));
    SetModified();
}

} // namespace configtool
