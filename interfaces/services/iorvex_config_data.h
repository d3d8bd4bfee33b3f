#pragma once
// The one site the service holds in memory, bound to the configuration store.
//
// States: uninitialised (after construction and UnInitializeStorage), storage ready (after
// InitializeStorage and UnloadSite) and site loaded (after LoadSite, or after a read from the
// unit, which loads the site without a stored one). Members that need storage return
// E_UNEXPECTED without it; the times, the Retrieve members and Save also need a loaded site.
// Save also needs a stored site: a site read from the unit into no stored site is refused with
// E_UNEXPECTED. Priorities of the times are 1 to 5 (E_INVALIDARG otherwise). Store failures
// come back as the store's own codes. Null pointers are E_POINTER.
//
// The tables handed out by the Retrieve members stay the same objects from InitializeStorage
// to UnInitializeStorage (an unload empties them). Service thread only; no lock.

#include "interfaces/services/isite_tables.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace services {

class ORVEX_INTERFACE IOrvexConfigData
{
public:
    virtual ~IOrvexConfigData() = default;

    // S_FALSE when a site is already loaded (nothing is read).
    virtual HRESULT LoadSite(const std::string *siteName) = 0;
    virtual HRESULT GetDwellTime(std::int16_t priority, std::int16_t *time) = 0;
    virtual HRESULT SetDwellTime(std::int16_t priority, std::int16_t time) = 0;
    virtual HRESULT GetIntervisitTime(std::int16_t priority, std::int16_t *time) = 0;
    virtual HRESULT SetIntervisitTime(std::int16_t priority, std::int16_t time) = 0;
    virtual HRESULT RetrieveDevice(std::shared_ptr<IDeviceData> *devices) = 0;
    virtual HRESULT RetrieveDispenser(std::shared_ptr<IDispenserData> *dispensers) = 0;
    virtual HRESULT RetrieveEvent(std::shared_ptr<IEventData> *events) = 0;
    // Writes every table back to the stored site (tasks are renumbered from 0) and saves the
    // configuration file.
    virtual HRESULT Save() = 0;
    // Creates the stored site (an existing one is kept); loads nothing.
    virtual HRESULT NewSite(const std::string *siteName) = 0;
    // Starts a fresh store and empty tables. A second call first lets go of everything the
    // first one made, the loaded site included (unsaved edits are dropped).
    virtual HRESULT InitializeStorage() = 0;
    virtual HRESULT ExportSite(const std::string *siteName, const std::string *fileName) = 0;
    // E_FAIL while a site is loaded.
    virtual HRESULT ImportSite(const std::string *siteName, const std::string *fileName) = 0;
    virtual HRESULT UnloadSite() = 0;
    // E_ABORT while a site is loaded.
    virtual HRESULT DeleteSite(const std::string *siteName) = 0;
    virtual HRESULT RetrieveCamera(std::shared_ptr<ICameraData> *cameras) = 0;
    // E_UNEXPECTED before InitializeStorage.
    virtual HRESULT EnumSites(std::vector<std::string> *sites, std::int32_t *count) = 0;
    virtual HRESULT UnInitializeStorage() = 0;
    // Empties every table but the cameras and zeroes the times; the state is kept.
    virtual HRESULT UnloadSiteButKeepCameraData() = 0;
    virtual HRESULT RetrievePOS(std::shared_ptr<IPOSData> *points) = 0;

    // Why the caller's last ImportSite or ExportSite failed, in words, as COM's error
    // information carried it for the caller of a failed call: S_OK and the reason, or S_FALSE
    // and an empty text when none is kept. Asking lets it go. A site data object that keeps no
    // reasons answers S_FALSE.
    virtual HRESULT GetErrorDescription(std::string *description)
    {
        if (!description)
            return E_POINTER;
        description->clear();
        return S_FALSE;
    }
};

} // namespace services
