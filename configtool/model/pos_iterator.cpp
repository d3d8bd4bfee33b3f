#include "configtool/model/pos_iterator.h"

#include "platform/com_error.h"

namespace configtool {

void POSIterator::Reload()
{
    m_points = retrievePOS();
    m_devices = retrieveDevices();
    m_posDevices = {SiteHasDevice(*m_devices, metaData(), "POS 1"),
                    SiteHasDevice(*m_devices, metaData(), "POS 2"),
                    SiteHasDevice(*m_devices, metaData(), "POS 3")};
}

std::int16_t POSIterator::Count()
{
    std::int16_t count = 0;
    ThrowIfFailed(m_points->Count(&count));
    return count;
}

void POSIterator::First()
{
    ThrowIfFailed(m_points->First(&m_current));
}

void POSIterator::Next()
{
    ThrowIfFailed(m_points->Next(&m_current));
}

void POSIterator::ClearAll()
{
    DeleteFirstRecords(
        Count(), [&](std::int16_t *h) { return m_points->First(h); },
        [&](std::int16_t *h) { return m_points->Delete(h); });
    m_current = 0;
    SetModified();
}

std::int16_t POSIterator::FindPOS(std::int16_t number)
{
    return FindNumbered(
        [&](std::int16_t *h) { return m_points->First(h); },
        [&](std::int16_t *h) { return m_points->Next(h); },
        [&](std::int16_t h, std::int16_t *n) { return m_points->GetPOSNumber(h, n); }, number);
}

void POSIterator::SelectPOS(std::int16_t number)
{
    m_current = FindPOS(number);
}

void POSIterator::AddPOS(std::int16_t number)
{
    ThrowIfFailed(m_points->NewPOS(number, &m_current));
    SetModified();
}

void POSIterator::DeletePOS(std::int16_t number)
{
    std::int16_t handle = FindPOS(number);
    ThrowIfFailed(m_points->Delete(&handle));
    SetModified();
}

std::int16_t POSIterator::GetPOSNumber()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_points->GetPOSNumber(m_current, &value));
    return value;
}

std::int16_t POSIterator::GetPriority()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_points->GetPriority(m_current, &value));
    return value;
}

void POSIterator::SetPriority(std::int16_t priority)
{
    ThrowIfFailed(m_points->SetPriority(m_current, priority));
    SetModified();
}

std::int16_t POSIterator::GetCamera()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_points->GetCamera(m_current, &value));
    return value;
}

void POSIterator::SetCamera(std::int16_t camera)
{
    ThrowIfFailed(m_points->SetCamera(m_current, camera));
    SetModified();
}

std::int16_t POSIterator::GetPreset()
{
    std::int16_t value = 0;
    ThrowIfFailed(m_points->GetPreset(m_current, &value));
    return value;
}

void POSIterator::SetPreset(std::int16_t preset)
{
    ThrowIfFailed(m_points->SetPreset(m_current, preset));
    SetModified();
}

void POSIterator::ClearCamera(bool clear)
{
    if (clear)
        ThrowIfFailed(m_points->SetCamera(m_current, 0));
    SetModified();
}

void POSIterator::ClearPreset(bool clear)
{
    if (clear)
        ThrowIfFailed(m_points->SetPreset(m_current, 0));
    SetModified();
}

bool POSIterator::IsFixed()
{
    std::int16_t movable = 0;
    ThrowIfFailed(m_points->GetMovableFlag(m_current, &movable));
    return movable == 0;
}

void POSIterator::SetFixed(bool fixed)
{
    ThrowIfFailed(m_points->SetMovableFlag(m_current, fixed ? 0 : -1));
    SetModified();
}

bool POSIterator::POSDeviceExists(int posNumber) const
{
    return posNumber >= 1 && posNumber <= 3
           && m_posDevices[static_cast<std::size_t>(posNumber - 1)];
}

bool POSIterator::NoPOSDevice() const
{
    return !m_posDevices[0] && !m_posDevices[1] && !m_posDevices[2];
}

} // namespace configtool
