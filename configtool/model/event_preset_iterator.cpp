#include "configtool/model/event_preset_iterator.h"

#include "configtool/model/orvex_meta_data.h"

#include "platform/com_error.h"

#include <optional>

namespace configtool {

void EventPresetIterator::Reload()
{
    EventIterator::Reload();
    clearEntry();
    m_dispenser = FindDispenser(m_dispenserNumber);
    if (m_dispenser != 0)
        return;
    ThrowIfFailed(m_dispensers->FirstDispenser(&m_dispenser));
    if (m_dispenser != 0)
        ThrowIfFailed(m_dispensers->GetDispenserLogicalNumber(m_dispenser, &m_dispenserNumber));
}

std::int16_t EventPresetIterator::Count()
{
    return m_dispenser == 0 ? std::int16_t(0) : EventIterator::Count();
}

void EventPresetIterator::First()
{
    EventIterator::First();
    locateEntry();
}

void EventPresetIterator::Next()
{
    EventIterator::Next();
    locateEntry();
}

std::int16_t EventPresetIterator::FindDispenser(std::int16_t number)
{
    return FindNumbered([&](std::int16_t *h) { return m_dispensers->FirstDispenser(h); },
                        [&](std::int16_t *h) { return m_dispensers->NextDispenser(h); },
                        [&](std::int16_t h, std::int16_t *n) {
                            return m_dispensers->GetDispenserLogicalNumber(h, n);
                        },
                        number);
}

void EventPresetIterator::SelectDispenser(std::int16_t number)
{
    m_dispenser = FindDispenser(number);
    m_dispenserNumber = number;
}

void EventPresetIterator::SelectDispenserEvent(std::int16_t dispenserNumber,
                                               const QString &eventName)
{
    SelectDispenser(dispenserNumber);
    SelectEvent(eventName);
    locateEntry();
}

void EventPresetIterator::clearEntry()
{
    m_entry = 0;
    m_entryData.reset();
    m_noEntry = true;
}

void EventPresetIterator::locateEntry()
{
    clearEntry();
    if (m_dispenser == 0 || m_current == 0)
        return;
    const std::int16_t eventNumber = GetEventNumber();
    ForEachHandle([&](std::int16_t *p) { return m_dispensers->FirstPreset(m_dispenser, p); },
                  [&](std::int16_t *p) { return m_dispensers->NextPreset(m_dispenser, p); },
                  [&](std::int16_t handle) {
                      if (!m_noEntry)
                          return;
                      std::shared_ptr<services::ICameraPresetData> data;
                      ThrowIfFailed(m_dispensers->RetrieveCameraPreset(m_dispenser, handle, &data));
                      std::int16_t value = 0;
                      ThrowIfFailed(data->GetEventNumber(&value));
                      if (value != eventNumber)
                          return;
                      m_entry = handle;
                      m_entryData = std::move(data);
                      m_noEntry = false;
                  });
}

services::ICameraPresetData &EventPresetIterator::entry()
{
    if (!m_entryData)
        throw ComError(E_INVALIDARG);
    return *m_entryData;
}

std::int16_t EventPresetIterator::GetCameraNumber()
{
    std::int16_t value = 0;
    if (m_entryData)
        ThrowIfFailed(m_entryData->GetCameraNumber(&value));
    return value;
}

std::int16_t EventPresetIterator::GetPresetNumber()
{
    std::int16_t value = 0;
    if (m_entryData)
        ThrowIfFailed(m_entryData->GetPresetNumber(&value));
    return value;
}

void EventPresetIterator::SetCameraNumber(std::int16_t camera)
{
    ThrowIfFailed(entry().SetCameraNumber(camera));
    SetModified();
}

void EventPresetIterator::SetPresetNumber(std::int16_t preset)
{
    ThrowIfFailed(entry().SetPresetNumber(preset));
    SetModified();
}

QString EventPresetIterator::GetPresetComment()
{
    const std::int16_t cameraNumber = GetCameraNumber();
    const std::int16_t presetNumber = GetPresetNumber();
    const auto cameras = retrieveCameras();
    std::optional<QString> comment;
    ForEachHandle([&](std::int16_t *c) { return cameras->FirstCamera(c); },
                  [&](std::int16_t *c) { return cameras->NextCamera(c); },
                  [&](std::int16_t camera) {
                      std::int16_t number = 0;
                      ThrowIfFailed(cameras->GetCameraNumber(camera, &number));
                      if (comment || number != cameraNumber)
                          return;
                      const std::int16_t preset = FindHandle(
                          [&](std::int16_t *p) { return cameras->FirstPreset(camera, p); },
                          [&](std::int16_t *p) { return cameras->NextPreset(camera, p); },
                          [&](std::int16_t p) {
                              std::int16_t value = 0;
                              ThrowIfFailed(cameras->GetPresetNumber(camera, p, &value));
                              return value == presetNumber;
                          });
                      if (preset == 0)
                          return;
                      std::string text;
                      ThrowIfFailed(cameras->GetComment(camera, preset, &text));
                      comment = QString::fromStdString(text);
                  });
    return comment.value_or(QStringLiteral("No Comment"));
}

void EventPresetIterator::AddEntry(std::int16_t dispenserNumber, const QString &eventName,
                                   std::int16_t preset, std::int16_t camera)
{
    SelectDispenserEvent(dispenserNumber, eventName);
    std::int16_t handle = 0;
    ThrowIfFailed(m_dispensers->NewPreset(m_dispenser, metaData().GetEventId(eventName), &handle));
    std::shared_ptr<services::ICameraPresetData> data;
    ThrowIfFailed(m_dispensers->RetrieveCameraPreset(m_dispenser, handle, &data));
    ThrowIfFailed(data->SetCameraNumber(camera));
    ThrowIfFailed(data->SetPresetNumber(preset));
    m_entry = handle;
    m_entryData = std::move(data);
    m_noEntry = false;
    SetModified();
}

void EventPresetIterator::DeleteEntry(std::int16_t dispenserNumber, const QString &eventName)
{
    SelectDispenserEvent(dispenserNumber, eventName);
    // Deleting no entry would be refused by the service and put a box up for nothing.
    if (m_noEntry)
        return;
    ThrowIfFailed(m_dispensers->DeletePreset(m_dispenser, &m_entry));
    clearEntry();
    SetModified();
}

} // namespace configtool
