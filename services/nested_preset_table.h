#pragma once
// The part the dispenser and camera tables share: records that each own a list of presets, and
// the preset cursor members, which both interfaces name alike. These check the owner's index
// (E_INVALIDARG) before the out pointer. Service thread only.

#include "services/record_list.h"

namespace services {

// `Record` has a member `presets` of type RecordList<Preset>.
template <typename Interface, typename Record, typename Preset>
class NestedPresetTable : public Interface
{
public:
    HRESULT FirstPreset(std::int16_t owner, std::int16_t *preset) override
    {
        return onPresets(owner, &RecordList<Preset>::First, preset);
    }
    HRESULT LastPreset(std::int16_t owner, std::int16_t *preset) override
    {
        return onPresets(owner, &RecordList<Preset>::Last, preset);
    }
    HRESULT NextPreset(std::int16_t owner, std::int16_t *preset) override
    {
        return onPresets(owner, &RecordList<Preset>::Next, preset);
    }
    HRESULT PreviousPreset(std::int16_t owner, std::int16_t *preset) override
    {
        return onPresets(owner, &RecordList<Preset>::Previous, preset);
    }
    HRESULT CountPresets(std::int16_t owner, std::int16_t *count) override
    {
        return onPresets(owner, &RecordList<Preset>::Count, count);
    }

    [[nodiscard]] const RecordList<Record> &records() const { return m_records; }
    void clear() { m_records.clear(); }
    // For good: see RecordList::letGo.
    void letGo() { m_records.letGo(); }

protected:
    // The preset list of the owner at that index, or null when the index names no record.
    RecordList<Preset> *presetsOf(std::int16_t owner)
    {
        Record *record = m_records.find(owner);
        return record ? &record->presets : nullptr;
    }

    template <typename Member, typename... Args>
    HRESULT onPresets(std::int16_t owner, Member member, Args &&...args)
    {
        if (m_records.isLetGo())
            return E_UNEXPECTED;
        RecordList<Preset> *presets = presetsOf(owner);
        return presets ? (presets->*member)(std::forward<Args>(args)...) : E_INVALIDARG;
    }

    RecordList<Record> m_records;
};

} // namespace services
