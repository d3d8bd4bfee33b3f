#pragma once
// The part the device, event and point-of-sale tables share: their records and the cursor
// members, which those three interfaces name alike. Service thread only.

#include "services/record_list.h"

namespace services {

template <typename Interface, typename Record>
class FlatTable : public Interface
{
public:
    HRESULT First(std::int16_t *index) override { return m_records.First(index); }
    HRESULT Last(std::int16_t *index) override { return m_records.Last(index); }
    HRESULT Next(std::int16_t *index) override { return m_records.Next(index); }
    HRESULT Previous(std::int16_t *index) override { return m_records.Previous(index); }
    HRESULT Count(std::int16_t *count) override { return m_records.Count(count); }
    HRESULT Delete(std::int16_t *index) override { return m_records.remove(index); }

    [[nodiscard]] const RecordList<Record> &records() const { return m_records; }
    void clear() { m_records.clear(); }
    // For good: see RecordList::letGo.
    void letGo() { m_records.letGo(); }

protected:
    RecordList<Record> m_records;
};

} // namespace services
