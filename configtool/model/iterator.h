#pragma once
// The tab editors' way into the service's site tables: an iterator holds the data interfaces of
// one kind of record, walks them with a cursor, finds records by their visible number or name,
// creates and deletes them (with the dependent dispenser entries), and fills a new site with
// the metadata's defaults. Every setter, adder and deleter marks the site modified.
//
// Handles are the service's 1-based cursor indexes; 0 means none. A key that is not found
// gives handle 0, and a setter then acts on no record: the service refuses it. Every failing
// service call raises ComError, which ends the accessor; the editors let it reach guarded().
// An iterator must be Reloaded after a site was loaded or created and before first use.
// User-interface thread only.

#include "interfaces/services/iorvex_config_data.h"
#include "interfaces/services/isite_tables.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace configtool {

class OrvexConfigManager;
class OrvexMetaData;

class Iterator
{
public:
    explicit Iterator(OrvexConfigManager &manager);
    virtual ~Iterator();
    Iterator(const Iterator &) = delete;
    Iterator &operator=(const Iterator &) = delete;

    // Fetches the data interfaces anew and recomputes the cached facts.
    virtual void Reload() = 0;
    // Records visible through this iterator.
    virtual std::int16_t Count() = 0;
    virtual void First() = 0;
    // Past the last record.
    virtual bool Eof() { return m_current < 1; }
    virtual void Next() = 0;
    // ClearAll, then the metadata's default records.
    virtual void LoadDefaults() = 0;
    // Deletes every visible record.
    virtual void ClearAll() = 0;

    void SetModified();

    [[nodiscard]] std::int16_t currentHandle() const { return m_current; }

protected:
    [[nodiscard]] OrvexConfigManager &manager() const { return m_manager; }
    [[nodiscard]] const OrvexMetaData &metaData() const { return m_metaData; }
    // The service's site data; ComError E_POINTER before the tool has connected.
    [[nodiscard]] services::IOrvexConfigData &configData() const;

    std::shared_ptr<services::IDeviceData> retrieveDevices() const;
    std::shared_ptr<services::IDispenserData> retrieveDispensers() const;
    std::shared_ptr<services::IEventData> retrieveEvents() const;
    std::shared_ptr<services::ICameraData> retrieveCameras() const;
    std::shared_ptr<services::IPOSData> retrievePOS() const;

    std::int16_t m_current = 0;

private:
    OrvexConfigManager &m_manager;
    const OrvexMetaData &m_metaData;
};

// Calls `visit` for every handle of a list walked with its First and Next members.
void ForEachHandle(const std::function<HRESULT(std::int16_t *)> &first,
                   const std::function<HRESULT(std::int16_t *)> &next,
                   const std::function<void(std::int16_t)> &visit);

// The first handle of a list whose record `matches`; 0 when none.
std::int16_t FindHandle(const std::function<HRESULT(std::int16_t *)> &first,
                        const std::function<HRESULT(std::int16_t *)> &next,
                        const std::function<bool(std::int16_t)> &matches);

// The first handle whose number (read by `numberOf`) equals `number`; 0 when none.
std::int16_t FindNumbered(const std::function<HRESULT(std::int16_t *)> &first,
                          const std::function<HRESULT(std::int16_t *)> &next,
                          const std::function<HRESULT(std::int16_t, std::int16_t *)> &numberOf,
                          std::int16_t number);

// Deletes the first record `count` times, stopping early when the list runs empty.
void DeleteFirstRecords(std::int16_t count, const std::function<HRESULT(std::int16_t *)> &first,
                        const std::function<HRESULT(std::int16_t *)> &remove);

// Deletes, on every dispenser, every preset entry that `matches`, before the record the
// entries name goes. Matches are counted first and then deleted one per rescan from the first
// entry, so that no handle is used after a deletion moved the entries behind it.
void DeleteMatchingEntries(services::IDispenserData &dispensers,
                           const std::function<bool(services::ICameraPresetData &)> &matches);

// Whether the site's device list holds a device whose type has that metadata name (exact).
bool SiteHasDevice(services::IDeviceData &devices, const OrvexMetaData &metaData,
                   const char *deviceName);

} // namespace configtool
