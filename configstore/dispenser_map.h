#pragma once
// Live view of a dispenser's loop and addresses (`DISPENSER_MAP`). Copies nothing; see ItemView.

#include "item_view.h"

#include "interfaces/configstore/idispenser_map.h"

namespace configstore {

inline constexpr FieldSchema kDispenserMapFields[] = {
    {"DISPENSER_LOOP"}, {"DISPENSER_ADDRESS"}, {"CARD_TERMINAL_ADDRESS"}, {"ATTENDANT_TAG_ADDRESS"}};
inline constexpr ElementSchema kDispenserMapSchema{"DISPENSER_MAP", kDispenserMapFields};

class DispenserMap final : public IDispenserMap, private ItemView
{
public:
    explicit DispenserMap(NodeRef element) : ItemView(std::move(element), kDispenserMapSchema) {}

    HRESULT GetLoop(std::int16_t *loop) override { return readNumber(Loop, loop); }
    HRESULT GetAddress(std::int16_t *address) override { return readNumber(Address, address); }
    HRESULT GetCardTerminalAddress(std::int16_t *address) override { return readNumber(CardTerminal, address); }
    HRESULT GetAttendantTagAddress(std::int16_t *address) override { return readNumber(AttendantTag, address); }
    HRESULT SetLoop(std::int16_t loop) override { return writeNumber(Loop, loop); }
    HRESULT SetAddress(std::int16_t address) override { return writeNumber(Address, address); }
    HRESULT SetCardTerminalAddress(std::int16_t address) override { return writeNumber(CardTerminal, address); }
    HRESULT SetAttendantTagAddress(std::int16_t address) override { return writeNumber(AttendantTag, address); }

private:
    enum Field : std::size_t { Loop, Address, CardTerminal, AttendantTag };
};

} // namespace configstore
