#include "site.h"

#include "camera.h"
#include "dispenser.h"
#include "event.h"
#include "interest_zone.h"
#include "number_text.h"
#include "pos.h"
#include "task.h"
#include "xml_tree.h"

#include <limits>

namespace configstore {

namespace {

constexpr const char *kDwellTime = "DWELL_TIME";
constexpr const char *kIntervisitTime = "INTERVISIT_TIME";
constexpr std::int32_t kLowestPriority = 1;
constexpr std::int32_t kHighestPriority = 5;

bool isPriority(std::int32_t priority)
{
    return priority >= kLowestPriority && priority <= kHighestPriority;
}

} // namespace

Site::Site(NodeRef site) : m_site(std::move(site))
{
    struct Container
    {
        const char *name;
        const ElementSchema &items;
        NumberedCollection &collection;
        xmlNodePtr found = nullptr;
    };
    Container containers[] = {
        {"PRIORITIES", kEventSchema, m_events},
        {"TASKS", kTaskSchema, m_tasks},
        {"INTEREST_ZONES", kInterestZoneSchema, m_interestZones},
        {"CAMERAS", kCameraSchema, m_cameras},
        {"POSCONFIG", kPosSchema, m_pointsOfSale},
    };
    bool hasTimes = false;
    for (xmlNodePtr child = FirstElement(m_site.get()); child != nullptr; child = NextElement(child)) {
        if (HasName(child, "TIMES")) {
            bindTimes(child);
            hasTimes = true;
        } else if (HasName(child, "DISPENSER")) {
            if (const auto number = AttributeNumber(child, "NUMBER"))
                m_dispensers.try_emplace(CutTo16(*number), m_site.refer(child));
        } else {
            for (Container &container : containers) {
                if (HasName(child, container.name))
                    container.found = child;
            }
        }
    }
    if (!hasTimes)
        appendTimes();
    for (Container &container : containers) {
        xmlNodePtr element = container.found;
        if (element == nullptr)
            element = AppendChild(m_site.get(), NewElement(m_site.get()->doc, container.name));
        container.collection = NumberedCollection(m_site.refer(element), container.items);
    }
}

void Site::bindTimes(xmlNodePtr times)
{
    for (xmlNodePtr child = FirstElement(times); child != nullptr; child = NextElement(child)) {
        TimeNodes *slots = HasName(child, kDwellTime)       ? &m_dwellTimes
                           : HasName(child, kIntervisitTime) ? &m_intervisitTimes
                                                             : nullptr;
        // A priority is read like any stored value, so only its low 16 bits count (65537 is 1);
        // only lookups by number compare the whole text.
        const auto priority = AttributeNumber(child, "PRIORITY");
        if (slots == nullptr || !priority || !isPriority(CutTo16(*priority)))
            continue;
        (*slots)[CutTo16(*priority) - kLowestPriority] = m_site.refer(ValueNode(child));
    }
}

void Site::appendTimes()
{
    UniqueNode times = NewElement(m_site.get()->doc, "TIMES");
    for (const char *name : {kDwellTime, kIntervisitTime}) {
        for (std::int32_t priority = kLowestPriority; priority <= kHighestPriority; ++priority) {
            const xmlNodePtr time = AppendValueElement(times.get(), name, "1");
            SetAttribute(time, "PRIORITY", FormatNumber(priority));
        }
    }
    bindTimes(AppendChild(m_site.get(), std::move(times)));
}

HRESULT Site::readTime(const TimeNodes &times, std::int16_t priority, std::int16_t *time) const
{
    if (!isPriority(priority))
        return E_INVALIDARG;
    return ReadNumber(times[priority - kLowestPriority], time);
}

HRESULT Site::writeTime(const TimeNodes &times, std::int16_t priority, std::int16_t time) const
{
    if (!isPriority(priority))
        return E_INVALIDARG;
    return WriteNumber(times[priority - kLowestPriority], time);
}

HRESULT Site::GetDwellTime(std::int16_t priority, std::int16_t *time)
{
    return readTime(m_dwellTimes, priority, time);
}

HRESULT Site::GetIntervisitTime(std::int16_t priority, std::int16_t *time)
{
    return readTime(m_intervisitTimes, priority, time);
}

HRESULT Site::SetIntervisitTime(std::int16_t priority, std::int16_t time)
{
    return writeTime(m_intervisitTimes, priority, time);
}

HRESULT Site::SetDwellTime(std::int16_t priority, std::int16_t time)
{
    return writeTime(m_dwellTimes, priority, time);
}

HRESULT Site::NumEvents(std::int16_t *events)
{
    return m_events.count(events);
}

HRESULT Site::GetEvent(std::int16_t eventNum, std::shared_ptr<IEvent> *pIEvent)
{
    return m_events.get<Event>(eventNum, pIEvent);
}

HRESULT Site::NewEvent(std::int16_t eventNum, std::shared_ptr<IEvent> *pIEvent)
{
    return m_events.create<Event>(eventNum, pIEvent);
}

HRESULT Site::DeleteEvent(std::int16_t eventNum)
{
    return m_events.remove(eventNum);
}

HRESULT Site::NumTasks(std::int16_t *NumTasks)
{
    return m_tasks.count(NumTasks);
}

HRESULT Site::GetTask(std::int16_t taskNum, std::shared_ptr<ITask> *pITask)
{
    return m_tasks.get<Task>(taskNum, pITask);
}

HRESULT Site::NewTask(std::int16_t taskNum, std::shared_ptr<ITask> *pITask)
{
    return m_tasks.create<Task>(taskNum, pITask);
}

HRESULT Site::DeleteTask(std::int16_t taskNum)
{
    return m_tasks.remove(taskNum);
}

HRESULT Site::NumInterestZones(std::int16_t *numZones)
{
    return m_interestZones.count(numZones);
}

HRESULT Site::GetInterestZone(std::int16_t interestZoneNum, std::shared_ptr<IInterestZone> *pIInterestZone)
{
    return m_interestZones.get<InterestZone>(interestZoneNum, pIInterestZone);
}

HRESULT Site::NewInterestZone(std::int16_t interestZoneNum, std::shared_ptr<IInterestZone> *pIInterestZone)
{
    return m_interestZones.create<InterestZone>(interestZoneNum, pIInterestZone);
}

HRESULT Site::DeleteInterestZone(std::int16_t interestZoneNum)
{
    return m_interestZones.remove(interestZoneNum);
}

HRESULT Site::NumCameras(std::int16_t *cameras)
{
    return m_cameras.count(cameras);
}

HRESULT Site::GetCamera(std::int16_t cameraNum, std::shared_ptr<ICamera> *pICamera)
{
    return m_cameras.get<Camera>(cameraNum, pICamera);
}

HRESULT Site::NewCamera(std::int16_t cameraNum, std::shared_ptr<ICamera> *pICamera)
{
    return m_cameras.create<Camera>(cameraNum, pICamera);
}

HRESULT Site::DeleteCamera(std::int16_t cameraNum)
{
    return m_cameras.remove(cameraNum);
}

HRESULT Site::NumPOSs(std::int16_t *NumPOSs)
{
    return m_pointsOfSale.count(NumPOSs);
}

HRESULT Site::GetPOS(std::int16_t posNum, std::shared_ptr<IPOS> *pIPOS)
{
    return m_pointsOfSale.get<POS>(posNum, pIPOS);
}

HRESULT Site::NewPOS(std::int16_t posNum, std::shared_ptr<IPOS> *pIPOS)
{
    return m_pointsOfSale.create<POS>(posNum, pIPOS);
}

HRESULT Site::DeletePOS(std::int16_t posNum)
{
    return m_pointsOfSale.remove(posNum);
}

HRESULT Site::NumDispensers(std::int16_t *NumDispensers)
{
    // At most 65536 numbers fit the index; the count saturates like every other count.
    constexpr std::size_t most = std::numeric_limits<std::int16_t>::max();
    *NumDispensers = static_cast<std::int16_t>(std::min(m_dispensers.size(), most));
    return S_OK;
}

HRESULT Site::GetDispenser(std::int16_t dispenserNum, std::shared_ptr<IDispenser> *pIDispenser)
{
    pIDispenser->reset();
    const auto entry = m_dispensers.find(dispenserNum);
    if (entry == m_dispensers.end())
        return E_INVALIDARG;
    return HandOut<Dispenser>(pIDispenser, entry->second);
}

HRESULT Site::NewDispenser(std::int16_t dispenserNum, std::shared_ptr<IDispenser> *pIDispenser)
{
    pIDispenser->reset();
    auto entry = m_dispensers.find(dispenserNum);
    try {
        if (entry == m_dispensers.end())
            entry = m_dispensers.emplace(dispenserNum, m_site.refer(insertDispenser(dispenserNum))).first;
    } catch (const std::bad_alloc &) {
        return E_FAIL;
    }
    return HandOut<Dispenser>(pIDispenser, entry->second);
}

HRESULT Site::DeleteDispenser(std::int16_t dispenserNum)
{
    const auto entry = m_dispensers.find(dispenserNum);
    if (entry == m_dispensers.end())
        return E_INVALIDARG;
    const NodeRef element = entry->second;
    m_dispensers.erase(entry);
    m_site.document()->remove(element.get());
    return S_OK;
}

xmlNodePtr Site::insertDispenser(std::int16_t number)
{
    // Dispensers stay together between the event priorities and the tasks, in creation order.
    const xmlNodePtr tasks = m_tasks.container().get();
    if (tasks->parent == m_site.get())
        return InsertItemElementBefore(tasks, kDispenserSchema, number);
    return AppendItemElement(m_site.get(), kDispenserSchema, &number);
}

} // namespace configstore
