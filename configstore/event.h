#pragma once
// Live view of an event priority (`EVENT` in `PRIORITIES`). Copies nothing; see ItemView.

#include "item_view.h"

#include "interfaces/configstore/ievent.h"

namespace configstore {

inline constexpr FieldSchema kEventFields[] = {{"PRIORITY"}, {"TRANSITION_PRIORITY"}};
inline constexpr ElementSchema kEventSchema{"EVENT", kEventFields};

class Event final : public IEvent, private ItemView
{
public:
    explicit Event(NodeRef element) : ItemView(std::move(element), kEventSchema) {}

    HRESULT GetPriority(std::int16_t *priority) override { return readNumber(Priority, priority); }
    HRESULT GetTransitionPriority(std::int16_t *priority) override { return readNumber(Transition, priority); }
    HRESULT SetPriority(std::int16_t priority) override { return writeNumber(Priority, priority); }
    HRESULT SetTransitionPriority(std::int16_t priority) override { return writeNumber(Transition, priority); }

private:
    enum Field : std::size_t { Priority, Transition };
};

} // namespace configstore
