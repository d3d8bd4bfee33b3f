#pragma once
// Live view of a task (`TASK` in `TASKS`). Copies nothing; see ItemView.

#include "item_view.h"

#include "interfaces/configstore/itask.h"

namespace configstore {

inline constexpr FieldSchema kTaskFields[] = {{"TYPE"}, {"INPORT"}, {"OUTPORT"}, {"INTERFACE"}};
inline constexpr ElementSchema kTaskSchema{"TASK", kTaskFields};

class Task final : public ITask, private ItemView
{
public:
    explicit Task(NodeRef element) : ItemView(std::move(element), kTaskSchema) {}

    HRESULT GetType(std::int16_t *type) override { return readNumber(Type, type); }
    HRESULT GetInport(std::int16_t *port) override { return readNumber(Inport, port); }
    HRESULT GetOutport(std::int16_t *port) override { return readNumber(Outport, port); }
    HRESULT GetInterface(std::int16_t *iface) override { return readNumber(Interface, iface); }
    HRESULT SetType(std::int16_t type) override { return writeNumber(Type, type); }
    HRESULT SetInterface(std::int16_t iface) override { return writeNumber(Interface, iface); }
    HRESULT SetInport(std::int16_t port) override { return writeNumber(Inport, port); }
    HRESULT SetOutport(std::int16_t port) override { return writeNumber(Outport, port); }

private:
    enum Field : std::size_t { Type, Inport, Outport, Interface };
};

} // namespace configstore
