#include "configtool/model/dispenser_iterator.h"

#include "configtool/model/orvex_meta_data.h"

#include "platform/com_error.h"

namespace configtool {

void DispenserIterator::Reload()
{
    m_dispensers = retrieveDispensers();
    m_devices = retrieveDevices();
    m_loopDevices = {SiteHasDevice(*m_devices, metaData(), "Dispenser Loop 1"),
                     SiteHasDevice(*m_devices, metaData(), "Dispenser Loop 2"),
                     SiteHasDevice(*m_devices, metaData(), "Dispenser Loop 3")};
}

std::int16_t DispenserIterator::Count()
{
    std::int16_t count = 0;
    ThrowIfFailed(m_dispensers->CountDispensers(&count));
    return count;
}

void DispenserIterator::First()
{
    ThrowIfFailed(m_dispensers->FirstDispenser(&m_current));
}

void DispenserIterator::Next()
{
    ThrowIfFailed(m_dispensers->NextDispenser(&m_current));
}

void DispenserIterator::ClearAll()
{
    DeleteFirstRecords(
        Count(), [&](std::int16_t *h) { return m_dispensers->FirstDispenser(h); },
        [&](std::int16_t *h) { return m_dispensers->DeleteDispenser(h); });
    m_current = 0;
    SetModified();
}

std::int16_t DispenserIterator::FindDispenser(std::int16_t number)
{
    return FindNumbered([&](std::int16_t *h) { return m_dispensers->FirstDispenser(h); },
                        [&](std::int16_t *h) { return m_dispensers->NextDispenser(h); },
                        [&](std::int16_t h, std::int16_t *n) {
                            return m_dispensers->GetDispenserLogicalNumber(h, n);
                        },
                        number);
}

void DispenserIterator::SelectDispenser(std::int16_t number)
{
    m_current = FindDispenser(number);
}

void DispenserIterator::AddDispenser(std::int16_t number)
{
    ThrowIfFailed(m_dispensers->NewDispenser(number, &m_current));
    SetModified();
}

void DispenserIterator::DeleteDispenser(std::int16_t number)
{
    std::int16_t handle = FindDispenser(number);
    ThrowIfFailed(m_dispensers->DeleteDispenser(&handle));
    SetModified();
}

std::int16_t DispenserIterator::GetNumber()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_dispensers->GetDispenserLogicalNumber(m_current, &value));
    return value;
}

std::int16_t DispenserIterator::GetLoop()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_dispensers->GetDispenserLoop(m_current, &value));
    return value;
}

void DispenserIterator::SetLoop(std::int16_t loop)
{
    ThrowIfFailed(m_dispensers->SetDispenserLoop(m_current, loop));
    SetModified();
}

std::int16_t DispenserIterator::GetAddress()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_dispensers->GetDispenserAddress(m_current, &value));
    return value;
}

void DispenserIterator::SetAddress(std::int16_t address)
{
    ThrowIfFailed(m_dispensers->SetDispenserAddress(m_current, address));
    SetModified();
}

void DispenserIterator::SetCardTerminalAddress(std::int16_t address)
{
    ThrowIfFailed(m_dispensers->SetCardTerminalAddress(m_current, address));
    SetModified();
}

bool DispenserIterator::LoopDeviceExists(int loop) const
{
    return loop >= 1 && loop <= 3 && m_loopDevices[static_cast<std::size_t>(loop - 1)];
}

bool DispenserIterator::NoLoopDevice() const
{
    return !m_loopDevices[0] && !m_loopDevices[1] && !m_loopDevices[2];
}

} // namespace configtool
