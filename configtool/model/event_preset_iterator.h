#pragma once
// The camera and preset chosen per dispenser and event: the events of the site walked for one
// current dispenser, each with its entry on that dispenser (the first entry of the event), or
// none. Entry objects are the dispenser's own: a change through them changes the site.

#include "configtool/model/event_iterator.h"

namespace configtool {

class EventPresetIterator : public EventIterator
{
public:
    using EventIterator::EventIterator;

    // When the current dispenser is gone, the first dispenser becomes current.
    void Reload() override;
    // 0 without a current dispenser, else the number of events.
    std::int16_t Count() override;
    void First() override;
    void Next() override;

    std::int16_t FindDispenser(std::int16_t number);
    void SelectDispenser(std::int16_t number);
    void SelectDispenserEvent(std::int16_t dispenserNumber, const QString &eventName);
    [[nodiscard]] std::int16_t GetDispenserNumber() const { return m_dispenserNumber; }
    [[nodiscard]] bool NoEntry() const { return m_noEntry; }
    // Of the current entry; 0 without one.
    std::int16_t GetCameraNumber();
    std::int16_t GetPresetNumber();
    // On the current entry; ComError E_INVALIDARG without one, as the service refuses a setter
    // on no record.
    void SetCameraNumber(std::int16_t camera);
    void SetPresetNumber(std::int16_t preset);
    // The comment of the camera preset the entry names; "No Comment" when the site has none.
    QString GetPresetComment();
    void AddEntry(std::int16_t dispenserNumber, const QString &eventName, std::int16_t preset,
                  std::int16_t camera);
    // Nothing when the event has no entry on that dispenser.
    void DeleteEntry(std::int16_t dispenserNumber, const QString &eventName);

private:
    void locateEntry();
    void clearEntry();
    services::ICameraPresetData &entry();

    std::int16_t m_dispenser = 0;
    std::int16_t m_entry = 0;
    std::int16_t m_dispenserNumber = 0;
    std::shared_ptr<services::ICameraPresetData> m_entryData;
    bool m_noEntry = true;
};

} // namespace configtool
