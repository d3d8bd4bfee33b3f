#pragma once
// The event priority table (type E): [total events, then (event, priority, transition) per
// event].

#include "tuple_table.h"

namespace transport {

class Events final : public TupleTable<IEvents>
{
public:
    HRESULT AppendEvent(std::int16_t event, std::int16_t priority, std::int16_t transition) override
    {
        return appendTuple(event, priority, transition);
    }
    HRESULT AppendTotalEvents(std::int16_t count) override { return setCount(count); }
};

} // namespace transport
