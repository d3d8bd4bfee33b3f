#pragma once
// The ordered record list behind every table of the in-memory site and every nested preset
// list, with the cursor protocol the data interfaces share (see isite_tables.h): 1-based
// 16-bit indexes, 0 meaning none. A list that has been let go (its storage uninitialised) is
// empty for good, and its members answer E_UNEXPECTED, as there is no table before storage is
// initialised. Not thread-safe; the service thread owns it.

#include "platform/hresult.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace services {

template <typename Record>
class RecordList
{
public:
    // An index is 16 bits, so a list never grows past this.
    static constexpr std::size_t kMaxRecords = std::numeric_limits<std::int16_t>::max();

    [[nodiscard]] std::int16_t size() const { return static_cast<std::int16_t>(m_records.size()); }

    // The record at a 1-based index, or null when the index names none.
    [[nodiscard]] Record *find(std::int16_t index)
    {
        if (index < 1 || index > size())
            return nullptr;
        return &m_records[static_cast<std::size_t>(index - 1)];
    }
    [[nodiscard]] const Record *find(std::int16_t index) const
    {
        return const_cast<RecordList *>(this)->find(index);
    }

    HRESULT First(std::int16_t *index) const
    {
        if (m_letGo)
            return E_UNEXPECTED;
        if (!index)
            return E_POINTER;
        *index = m_records.empty() ? 0 : 1;
        return S_OK;
    }

    HRESULT Last(std::int16_t *index) const { return Count(index); }

    HRESULT Count(std::int16_t *count) const
    {
        if (m_letGo)
            return E_UNEXPECTED;
        if (!count)
            return E_POINTER;
        *count = size();
        return S_OK;
    }

    // No range check beyond these rules: an index past the end moves on by one, as clients
    // have always seen it.
    HRESULT Next(std::int16_t *index) const
    {
        if (m_letGo)
            return E_UNEXPECTED;
        if (!index)
            return E_POINTER;
        *index = (*index == 0 || *index == size()) ? 0 : static_cast<std::int16_t>(*index + 1);
        return S_OK;
    }

    HRESULT Previous(std::int16_t *index) const
    {
        if (m_letGo)
            return E_UNEXPECTED;
        if (!index)
            return E_POINTER;
        *index = (*index == 0 || *index == 1) ? 0 : static_cast<std::int16_t>(*index - 1);
        return S_OK;
    }

    // Appends and gives back the new record's index (the new count).
    HRESULT append(Record record, std::int16_t *index)
    {
        if (m_letGo)
            return E_UNEXPECTED;
        if (!index)
            return E_POINTER;
        if (m_records.size() >= kMaxRecords)
            return E_FAIL;
        m_records.push_back(std::move(record));
        *index = size();
        return S_OK;
    }

    // Removes the record; unless keepIndex, the index then names the record that followed, or
    // 0 when that passes the new count.
    HRESULT remove(std::int16_t *index, bool keepIndex = false)
    {
        if (m_letGo)
            return E_UNEXPECTED;
        if (!index)
            return E_POINTER;
        if (!find(*index))
            return E_INVALIDARG;
        m_records.erase(m_records.begin() + (*index - 1));
        if (!keepIndex && *index > size())
            *index = 0;
        return S_OK;
    }

    void clear() { m_records.clear(); }

    // Empties the list for good, its memory included.
    void letGo()
    {
        m_records = {};
        m_letGo = true;
    }
    [[nodiscard]] bool isLetGo() const { return m_letGo; }

    template <typename Field>
    HRESULT get(std::int16_t index, Field Record::*member, Field *value) const
    {
        if (m_letGo)
            return E_UNEXPECTED;
        if (!value)
            return E_POINTER;
        const Record *record = find(index);
        if (!record)
            return E_INVALIDARG;
        *value = record->*member;
        return S_OK;
    }

    template <typename Field>
    HRESULT set(std::int16_t index, Field Record::*member, Field value)
    {
        if (m_letGo)
            return E_UNEXPECTED;
        Record *record = find(index);
        if (!record)
            return E_INVALIDARG;
        record->*member = value;
        return S_OK;
    }

    [[nodiscard]] auto begin() { return m_records.begin(); }
    [[nodiscard]] auto end() { return m_records.end(); }
    [[nodiscard]] auto begin() const { return m_records.begin(); }
    [[nodiscard]] auto end() const { return m_records.end(); }

private:
    std::vector<Record> m_records;
    bool m_letGo = false;
};

} // namespace services
