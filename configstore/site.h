#pragma once
// Live view of one `SITE`: its times by event priority and its item collections (see ISite).
//
// Making a site view repairs the element as it binds: a missing `TIMES` is added with the ten
// times of "1", and each missing container (`PRIORITIES`, `TASKS`, `INTEREST_ZONES`, `CAMERAS`,
// `POSCONFIG`) is appended, in that order. An existing `TIMES` is never completed. Dispensers
// sit directly in `SITE` and are found through an index built here (number cut to 16 bits, the
// first element of a number keeping it); new ones go just before `TASKS`.

#include "node_ref.h"
#include "numbered_collection.h"

#include "interfaces/configstore/isite.h"

#include <array>
#include <map>

namespace configstore {

class Site final : public ISite
{
public:
    // Binds to `site`. Throws std::bad_alloc when a repair cannot be made.
    explicit Site(NodeRef site);

    HRESULT GetDwellTime(std::int16_t priority, std::int16_t *time) override;
    HRESULT GetIntervisitTime(std::int16_t priority, std::int16_t *time) override;
    HRESULT NumEvents(std::int16_t *events) override;
    HRESULT GetEvent(std::int16_t eventNum, std::shared_ptr<IEvent> *pIEvent) override;
    HRESULT GetTask(std::int16_t taskNum, std::shared_ptr<ITask> *pITask) override;
    HRESULT NumTasks(std::int16_t *NumTasks) override;
    HRESULT NumDispensers(std::int16_t *NumDispensers) override;
    HRESULT GetDispenser(std::int16_t dispenserNum, std::shared_ptr<IDispenser> *pIDispenser) override;
    HRESULT NumInterestZones(std::int16_t *numZones) override;
    HRESULT GetInterestZone(std::int16_t interestZoneNum, std::shared_ptr<IInterestZone> *pIInterestZone) override;
    HRESULT SetIntervisitTime(std::int16_t priority, std::int16_t time) override;
    HRESULT SetDwellTime(std::int16_t priority, std::int16_t time) override;
    HRESULT NewEvent(std::int16_t eventNum, std::shared_ptr<IEvent> *pIEvent) override;
    HRESULT NewTask(std::int16_t taskNum, std::shared_ptr<ITask> *pITask) override;
    HRESULT NewInterestZone(std::int16_t interestZoneNum, std::shared_ptr<IInterestZone> *pIInterestZone) override;
    HRESULT NewDispenser(std::int16_t dispenserNum, std::shared_ptr<IDispenser> *pIDispenser) override;
    HRESULT DeleteEvent(std::int16_t eventNum) override;
    HRESULT DeleteTask(std::int16_t taskNum) override;
    HRESULT DeleteInterestZone(std::int16_t interestZoneNum) override;
    HRESULT DeleteDispenser(std::int16_t dispenserNum) override;
    HRESULT NumCameras(std::int16_t *cameras) override;
    HRESULT GetCamera(std::int16_t cameraNum, std::shared_ptr<ICamera> *pICamera) override;
    HRESULT NewCamera(std::int16_t cameraNum, std::shared_ptr<ICamera> *pICamera) override;
    HRESULT DeleteCamera(std::int16_t cameraNum) override;
    HRESULT GetPOS(std::int16_t posNum, std::shared_ptr<IPOS> *pIPOS) override;
    HRESULT DeletePOS(std::int16_t posNum) override;
    HRESULT NewPOS(std::int16_t posNum, std::shared_ptr<IPOS> *pIPOS) override;
    HRESULT NumPOSs(std::int16_t *NumPOSs) override;

private:
    using TimeNodes = std::array<NodeRef, 5>;

    void bindTimes(xmlNodePtr times);
    void appendTimes();
    HRESULT readTime(const TimeNodes &times, std::int16_t priority, std::int16_t *time) const;
    HRESULT writeTime(const TimeNodes &times, std::int16_t priority, std::int16_t time) const;
    xmlNodePtr insertDispenser(std::int16_t number);

    NodeRef m_site;
    TimeNodes m_dwellTimes;
    TimeNodes m_intervisitTimes;
    NumberedCollection m_events;
    NumberedCollection m_tasks;
    NumberedCollection m_interestZones;
    NumberedCollection m_cameras;
    NumberedCollection m_pointsOfSale;
    std::map<std::int16_t, NodeRef> m_dispensers;
};

} // namespace configstore
