#pragma once
// One site of the configuration (`SITE`): dwell and intervisit times by event priority, and its
// event priorities, tasks, dispensers, interest zones, cameras and points of sale, each handed
// out as a live view over its element. Views hold no copies: two views of one element always
// agree, and a view stays usable (reaching nothing that is saved) after its element is deleted.
//
// Times: S_OK; E_INVALIDARG for a priority outside 1 to 5; E_FAIL when a hand-edited file lacks
// that priority's element or text. Num*: S_OK, the number of element children of the container
// (dispensers: of the site's dispenser index). Get*: S_OK and a view; E_INVALIDARG and a null
// view when no element has that `NUMBER`; E_FAIL when the view cannot be made. New*: S_OK with
// the existing element of that number, or a new one with its defaults appended to its container
// (dispensers are inserted just before `TASKS`). Delete*: S_OK, or E_INVALIDARG for an unknown
// number. Out pointers must be valid.
//
// Each site view keeps its own dispenser index, built when it is made and kept in step by its own
// NewDispenser and DeleteDispenser only. Not thread-safe: one thread uses a configuration.

#include "interfaces/configstore/icamera.h"
#include "interfaces/configstore/idispenser.h"
#include "interfaces/configstore/ievent.h"
#include "interfaces/configstore/iinterest_zone.h"
#include "interfaces/configstore/ipos.h"
#include "interfaces/configstore/itask.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>

namespace configstore {

class ORVEX_INTERFACE ISite
{
public:
    virtual ~ISite() = default;

    virtual HRESULT GetDwellTime(std::int16_t priority, std::int16_t *time) = 0;
    virtual HRESULT GetIntervisitTime(std::int16_t priority, std::int16_t *time) = 0;
    virtual HRESULT NumEvents(std::int16_t *events) = 0;
    virtual HRESULT GetEvent(std::int16_t eventNum, std::shared_ptr<IEvent> *pIEvent) = 0;
    virtual HRESULT GetTask(std::int16_t taskNum, std::shared_ptr<ITask> *pITask) = 0;
    virtual HRESULT NumTasks(std::int16_t *NumTasks) = 0;
    virtual HRESULT NumDispensers(std::int16_t *NumDispensers) = 0;
    virtual HRESULT GetDispenser(std::int16_t dispenserNum, std::shared_ptr<IDispenser> *pIDispenser) = 0;
    virtual HRESULT NumInterestZones(std::int16_t *numZones) = 0;
    virtual HRESULT GetInterestZone(std::int16_t interestZoneNum,
                                    std::shared_ptr<IInterestZone> *pIInterestZone) = 0;
    virtual HRESULT SetIntervisitTime(std::int16_t priority, std::int16_t time) = 0;
    virtual HRESULT SetDwellTime(std::int16_t priority, std::int16_t time) = 0;
    virtual HRESULT NewEvent(std::int16_t eventNum, std::shared_ptr<IEvent> *pIEvent) = 0;
    virtual HRESULT NewTask(std::int16_t taskNum, std::shared_ptr<ITask> *pITask) = 0;
    virtual HRESULT NewInterestZone(std::int16_t interestZoneNum,
                                    std::shared_ptr<IInterestZone> *pIInterestZone) = 0;
    virtual HRESULT NewDispenser(std::int16_t dispenserNum, std::shared_ptr<IDispenser> *pIDispenser) = 0;
    virtual HRESULT DeleteEvent(std::int16_t eventNum) = 0;
    virtual HRESULT DeleteTask(std::int16_t taskNum) = 0;
    virtual HRESULT DeleteInterestZone(std::int16_t interestZoneNum) = 0;
    virtual HRESULT DeleteDispenser(std::int16_t dispenserNum) = 0;
    virtual HRESULT NumCameras(std::int16_t *cameras) = 0;
    virtual HRESULT GetCamera(std::int16_t cameraNum, std::shared_ptr<ICamera> *pICamera) = 0;
    virtual HRESULT NewCamera(std::int16_t cameraNum, std::shared_ptr<ICamera> *pICamera) = 0;
    virtual HRESULT DeleteCamera(std::int16_t cameraNum) = 0;
    virtual HRESULT GetPOS(std::int16_t posNum, std::shared_ptr<IPOS> *pIPOS) = 0;
    virtual HRESULT DeletePOS(std::int16_t posNum) = 0;
    virtual HRESULT NewPOS(std::int16_t posNum, std::shared_ptr<IPOS> *pIPOS) = 0;
    virtual HRESULT NumPOSs(std::int16_t *NumPOSs) = 0;
};

} // namespace configstore
