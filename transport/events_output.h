#pragma once
// Reader of an event table reply (type E): the event count, then (event, priority, transition)
// tuples, every value a signed byte.

#include "orvex_output.h"

namespace transport {

class EventsOutput final : public OrvexOutput<IEventsOutput>
{
public:
    using OrvexOutput::OrvexOutput;

    HRESULT getTotalEvents(std::int16_t *pVal) override { return readCount(pVal); }
    HRESULT getTuple(std::int16_t *eventNo, std::int16_t *priority, std::int16_t *transition) override
    {
        return readSignedTuple(eventNo, priority, transition);
    }
};

} // namespace transport
