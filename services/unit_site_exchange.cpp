#include "services/unit_site_exchange.h"

#include "services/orvex_config_data.h"
#include "services/unit_fields.h"

#include "platform/service_loop.h"
#include "support/trace_log.h"

#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace services {

namespace {

// A reader that never reports its end (a broken payload) must not hold the service thread: a
// message of at most 1000 bytes cannot hold more tuples than that.
constexpr int kMaxTuplesPerReply = transport::kMaxMessageSize;

bool readerDone(transport::IOrvexOutput &reader)
{
    std::int16_t done = 0;
    return FAILED(reader.isDone(&done)) || done != 0;
}

// The first camera with that number, from the first index; 0 when none has it.
std::int16_t findCamera(ICameraData &cameras, std::int16_t cameraNumber)
{
    std::int16_t index = 0;
    for (cameras.FirstCamera(&index); index != 0; cameras.NextCamera(&index)) {
        std::int16_t number = 0;
        if (SUCCEEDED(cameras.GetCameraNumber(index, &number)) && number == cameraNumber)
            return index;
    }
    return 0;
}

// Gives the camera with that number the preset unless it already has one of that number.
void addCameraPresetIfMissing(ICameraData &cameras, std::int16_t cameraNumber, std::int16_t presetNumber)
{
    const std::int16_t camera = findCamera(cameras, cameraNumber);
    if (camera == 0)
        return;
    std::int16_t preset = 0;
    for (cameras.FirstPreset(camera, &preset); preset != 0; cameras.NextPreset(camera, &preset)) {
        std::int16_t number = 0;
        if (SUCCEEDED(cameras.GetPresetNumber(camera, preset, &number)) && number == presetNumber)
            return;
    }
    cameras.NewPreset(camera, presetNumber, &preset);
}

} // namespace

const UnitSiteExchange::Step UnitSiteExchange::kDownload[2] = {
    {&UnitSiteExchange::sendClear, kClearMemoryWait, true},
    {&UnitSiteExchange::sendTables, {}},
};

const UnitSiteExchange::Step UnitSiteExchange::kUpload[3] = {
    {&UnitSiteExchange::requestFirstGroup, kRequestGroupWait},
    {&UnitSiteExchange::requestSecondGroup, kRequestGroupWait},
    {&UnitSiteExchange::requestThirdGroup, {}},
};

UnitSiteExchange::Wait UnitSiteExchange::OnLoop(ServiceLoop &loop)
{
    return [&loop](std::chrono::milliseconds delay, std::function<void()> then) {
        // A loop timer repeats: this one ends at its first run.
        auto id = std::make_shared<std::uint32_t>(0);
        auto next = std::make_shared<std::function<void()>>(std::move(then));
        *id = loop.SetTimer(static_cast<std::uint32_t>(delay.count()), [&loop, id, next](std::uint32_t) {
            loop.KillTimer(*id);
            if (auto step = std::exchange(*next, nullptr))
                step();
        });
    };
}

UnitSiteExchange::UnitSiteExchange(OrvexConfigData &site,
                                   std::shared_ptr<transport::IOrvexTransport> transport, Wait wait)
    : m_site(site)
    , m_transport(std::move(transport))
    , m_link(std::dynamic_pointer_cast<transport::ILinkBacklog>(m_transport))
    , m_wait(wait ? std::move(wait) : Wait([](std::chrono::milliseconds delay, std::function<void()> then) {
        std::this_thread::sleep_for(delay);
        then();
    }))
{
}

void UnitSiteExchange::run(const char *direction, std::span<const Step> steps, std::size_t total,
                           Completion done)
{
    const Step &step = steps.front();
    support::TraceDebug("Site %s: step %d/%d", direction, static_cast<int>(total - steps.size() + 1),
                        static_cast<int>(total));
    const HRESULT hr = (this->*step.send)();
    if (FAILED(hr) || steps.size() == 1) {
        done(hr);
        return;
    }
    std::function<void()> next = [life = std::weak_ptr(m_life), direction, rest = steps.subspan(1), total,
                                  done = std::move(done)] {
        if (auto self = life.lock())
            (*self)->run(direction, rest, total, done);
    };
    if (!step.waitFromSettled) {
        m_wait(step.waitAfter, std::move(next));
        return;
    }
    afterSettled(transport::LastMessageNumber(m_link.get()),
                 [this, wait = step.waitAfter, next = std::move(next)] { m_wait(wait, next); });
}

void UnitSiteExchange::afterSettled(std::uint64_t number, std::function<void()> then)
{
    // A wait that goes on within the call (a sleep, or a test's that keeps no time) polls here,
    // without piling up one call per poll.
    while (!transport::MessageSettled(m_link.get(), number)) {
        auto ranWithin = std::make_shared<bool>(false);
        auto inCall = std::make_shared<bool>(true);
        m_wait(kSettlePoll, [life = std::weak_ptr(m_life), number, then, ranWithin, inCall] {
            if (*inCall) {
                *ranWithin = true;
                return;
            }
            if (auto self = life.lock())
                (*self)->afterSettled(number, then);
        });
        *inCall = false;
        if (!*ranWithin)
            return;
    }
    then();
}

void UnitSiteExchange::sendDefault(const std::function<void(transport::IDefault &)> &fill)
{
    std::shared_ptr<transport::IDefault> message;
    m_transport->getDefault(&message);
    if (!message)
        return;
    fill(*message);
    m_transport->setDefault(message);
}

void UnitSiteExchange::sendSite(Completion done)
{
    run("download", kDownload, std::size(kDownload), std::move(done));
}

HRESULT UnitSiteExchange::sendClear()
{
    if (!m_site.devices())
        return E_UNEXPECTED;
    if (!m_transport)
        return E_POINTER;
    sendDefault([](transport::IDefault &message) { message.ClearMemory(); });
    return S_OK;
}

HRESULT UnitSiteExchange::sendTables()
{
    // The site is served during the wait: a client may have let go of its storage.
    if (!m_site.devices())
        return E_UNEXPECTED;
    sendTasks();
    sendConfigData();
    sendEvents();
    sendPointsOfSale();
    sendDispensers();
    return S_OK;
}

void UnitSiteExchange::sendTasks()
{
    const UnitFields fields = m_site.unitFields();
    // The unit wants its type-7 tasks first; otherwise the table order holds.
    for (const bool firstPass : {true, false}) {
        int position = 0;
        for (const auto &device : m_site.devices()->records()) {
            ++position;
            if ((device.deviceType == kFirstTaskType) != firstPass)
                continue;
            if (!fields.carried("task " + std::to_string(position),
                                {{"type", device.deviceType},
                                 {"inport", device.inport},
                                 {"outport", device.outport},
                                 {"interface", device.iface}},
                                kUnitNumber))
                continue;
            sendDefault([&device](transport::IDefault &message) {
                message.CreateTaskConfig(device.deviceType, device.inport, device.outport, device.iface);
            });
        }
    }
}

void UnitSiteExchange::sendConfigData()
{
    std::shared_ptr<transport::IConfigData> message;
    m_transport->getConfigData(&message);
    if (!message)
        return;
    const UnitFields fields = m_site.unitFields();
    std::vector<std::int16_t> cameraIds;
    for (const auto &camera : m_site.cameras()->records()) {
        const std::string record = "camera " + std::to_string(camera.cameraNumber);
        if (!fields.carried(record, {{"number", camera.cameraNumber}}, kUnitNumber))
            continue;
        if (std::ssize(cameraIds) == kMaxUnitRecords) {
            fields.warn(RecordText(record, "the unit takes " + std::to_string(kMaxUnitRecords)
                                               + " cameras at most; not sent"));
            continue;
        }
        cameraIds.push_back(camera.cameraNumber);
    }
    message->setNumberOfCameras(static_cast<std::int16_t>(cameraIds.size()));
    std::int16_t slot = 0;
    for (const std::int16_t id : cameraIds)
        message->setCameraID(slot++, id);
    const auto priorityName
        = [](std::int16_t priority) { return "priority " + std::to_string(priority); };
    for (std::int16_t priority = 1; priority <= OrvexConfigData::kPriorities; ++priority)
        message->InsertDwellTime(fields.nearest(priorityName(priority), "dwell time",
                                                m_site.dwellTime(priority), kDwellTimes),
                                 priority);
    for (std::int16_t priority = 1; priority <= OrvexConfigData::kPriorities; ++priority)
        message->InsertIntervisitTime(fields.nearest(priorityName(priority), "intervisit time",
                                                     m_site.intervisitTime(priority),
                                                     kIntervisitTimes),
                                      priority);
    m_transport->setConfigData(message);
}

void UnitSiteExchange::sendEvents()
{
    std::shared_ptr<transport::IEvents> message;
    m_transport->getEvents(&message);
    if (!message)
        return;
    const UnitFields fields = m_site.unitFields();
    int sent = 0;
    for (const auto &event : m_site.events()->records()) {
        const std::string record = "event " + std::to_string(event.eventNumber);
        if (!fields.carried(record, {{"number", event.eventNumber}}, kUnitNumber))
            continue;
        if (sent == kMaxUnitRecords) {
            fields.warn(RecordText(record, "the unit takes " + std::to_string(kMaxUnitRecords)
                                               + " events at most; not sent"));
            continue;
        }
        const std::int16_t priority
            = fields.nearest(record, "priority", event.priority, kPriorities);
        const std::int16_t transition
            = fields.nearest(record, "transition priority", event.transitionPriority, kPriorities);
        message->AppendEvent(event.eventNumber, priority, transition);
        ++sent;
    }
    message->AppendTotalEvents(static_cast<std::int16_t>(sent));
    m_transport->setEvents(message);
}

void UnitSiteExchange::sendPointsOfSale()
{
    const UnitFields fields = m_site.unitFields();
    for (const auto &pos : m_site.pointsOfSale()->records()) {
        const std::string record = "POS " + std::to_string(pos.POSNumber);
        if (!fields.carried(
                record, {{"number", pos.POSNumber}, {"camera", pos.camera}, {"preset", pos.preset}},
                kUnitNumber))
            continue;
        const std::int16_t priority = fields.nearest(record, "priority", pos.priority, kPriorities);
        sendDefault([&pos, priority](transport::IDefault &message) {
            message.CreatePOSEventConfig(pos.POSNumber, pos.camera, pos.movableFlag, pos.preset,
                                         priority);
        });
    }
}

void UnitSiteExchange::sendDispensers()
{
    const UnitFields fields = m_site.unitFields();
    for (const auto &dispenser : m_site.dispensers()->records()) {
        // Without its map the unit knows no dispenser for the presets, and the reverse.
        const std::string record = "dispenser " + std::to_string(dispenser.logicalNumber);
        if (!fields.carried(record,
                            {{"number", dispenser.logicalNumber},
                             {"loop", dispenser.loop},
                             {"address", dispenser.address},
                             {"card terminal address", dispenser.cardTerminalAddress}},
                            kUnitNumber))
            continue;
        sendDefault([&dispenser](transport::IDefault &message) {
            message.CreateDispenserMap(dispenser.logicalNumber, dispenser.loop, dispenser.address,
                                       dispenser.cardTerminalAddress);
        });
        std::shared_ptr<transport::ICameraPresets> presets;
        m_transport->getCameraPresets(&presets);
        if (!presets)
            continue;
        presets->AppendLogicalDispenser(dispenser.logicalNumber);
        for (const auto &entry : dispenser.presets) {
            const std::string entryRecord
                = record + ", entry for event " + std::to_string(entry->eventNumber());
            if (!fields.carried(entryRecord,
                                {{"event", entry->eventNumber()},
                                 {"camera", entry->cameraNumber()},
                                 {"preset", entry->presetNumber()}},
                                kUnitNumber))
                continue;
            if (FAILED(presets->AppendPreset(entry->eventNumber(), entry->cameraNumber(),
                                             entry->presetNumber())))
                fields.warn(
                    RecordText(entryRecord, "the dispenser's presets message is full; not sent"));
        }
        m_transport->setCameraPresets(presets);
    }
}

void UnitSiteExchange::requestSite(Completion done)
{
    run("upload", kUpload, std::size(kUpload), std::move(done));
}

HRESULT UnitSiteExchange::requestFirstGroup()
{
    if (!m_transport)
        return E_POINTER;
    m_site.UnloadSiteButKeepCameraData();
    // The replies come while the later groups wait their turn, and the handlers fill only a
    // loaded site.
    m_site.markLoadedFromUnit();
    sendDefault([](transport::IDefault &message) { message.RequestConfigData(); });
    for (std::int16_t pos = 1; pos <= 3; ++pos)
        sendDefault([pos](transport::IDefault &message) { message.RequestPOSEventConfig(pos); });
    sendDefault([](transport::IDefault &message) { message.RequestDispenserMap(); });
    return S_OK;
}

HRESULT UnitSiteExchange::requestSecondGroup()
{
    sendDefault([](transport::IDefault &message) { message.RequestCameraPresets(); });
    return S_OK;
}

HRESULT UnitSiteExchange::requestThirdGroup()
{
    sendDefault([](transport::IDefault &message) { message.RequestEvents(); });
    sendDefault([](transport::IDefault &message) { message.RequestTaskConfig(); });
    return S_OK;
}

void UnitSiteExchange::onDispenserMap(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                                      std::int16_t cardAddr)
{
    std::shared_ptr<IDispenserData> dispensers;
    if (FAILED(m_site.RetrieveDispenser(&dispensers)))
        return;
    std::int16_t index = 0;
    if (FAILED(dispensers->NewDispenser(dispNumber, &index)))
        return;
    dispensers->SetDispenserLoop(index, loopNumber);
    dispensers->SetDispenserAddress(index, addr);
    dispensers->SetCardTerminalAddress(index, cardAddr);
}

void UnitSiteExchange::onTaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                                    std::int16_t iface)
{
    std::shared_ptr<IDeviceData> devices;
    if (FAILED(m_site.RetrieveDevice(&devices)))
        return;
    std::int16_t index = 0;
    if (FAILED(devices->Append(&index)))
        return;
    devices->SetDeviceType(index, taskType);
    devices->SetInport(index, inPort);
    devices->SetOutport(index, outPort);
    devices->SetInterface(index, iface);
}

void UnitSiteExchange::onCameraPreset(transport::ICameraPresetsOutput &reply)
{
    reply.Begin();
    std::int16_t dispenserNumber = 0;
    reply.getDispenserNumber(&dispenserNumber);
    std::shared_ptr<IDispenserData> dispensers;
    std::shared_ptr<ICameraData> cameras;
    if (FAILED(m_site.RetrieveDispenser(&dispensers)) || FAILED(m_site.RetrieveCamera(&cameras)))
        return;
    for (int tuples = 0; !readerDone(reply) && tuples < kMaxTuplesPerReply; ++tuples) {
        std::int16_t event = 0, camera = 0, preset = 0;
        reply.getTuple(&event, &camera, &preset);
        std::int16_t dispenser = 0;
        for (dispensers->FirstDispenser(&dispenser); dispenser != 0; dispensers->NextDispenser(&dispenser)) {
            std::int16_t number = 0;
            if (SUCCEEDED(dispensers->GetDispenserLogicalNumber(dispenser, &number)) && number == dispenserNumber)
                break;
        }
        if (dispenser == 0)
            continue;
        std::int16_t entryIndex = 0;
        std::shared_ptr<ICameraPresetData> entry;
        if (FAILED(dispensers->NewPreset(dispenser, event, &entryIndex))
            || FAILED(dispensers->RetrieveCameraPreset(dispenser, entryIndex, &entry)))
            continue;
        entry->SetCameraNumber(camera);
        entry->SetPresetNumber(preset);
        entry.reset();
        addCameraPresetIfMissing(*cameras, camera, preset);
    }
}

void UnitSiteExchange::onConfigData(transport::IConfigDataOutput &reply)
{
    std::shared_ptr<ICameraData> cameras;
    if (FAILED(m_site.RetrieveCamera(&cameras)))
        return;
    std::int16_t total = 0;
    reply.getTotalCameras(&total);
    std::int16_t camera = 0;
    for (cameras->LastCamera(&camera); camera != 0; cameras->LastCamera(&camera))
        cameras->DeleteCamera(&camera);
    for (std::int16_t slot = 0; slot < total; ++slot) {
        std::int16_t number = 0;
        reply.getCameraID(slot, &number);
        cameras->NewCamera(number, &camera);
    }
    reply.Begin();
    for (int tuples = 0; !readerDone(reply) && tuples < kMaxTuplesPerReply; ++tuples) {
        std::int16_t priority = 0, dwell = 0, intervisit = 0;
        reply.getTuple(&priority, &dwell, &intervisit);
        // A priority the site does not have is refused there and dropped here.
        m_site.SetDwellTime(priority, dwell);
        m_site.SetIntervisitTime(priority, intervisit);
    }
}

void UnitSiteExchange::onEvents(transport::IEventsOutput &reply)
{
    std::shared_ptr<IEventData> events;
    if (FAILED(m_site.RetrieveEvent(&events)))
        return;
    // The unit's own count is not needed: the tuples end the reply.
    std::int16_t total = 0;
    reply.getTotalEvents(&total);
    reply.Begin();
    for (int tuples = 0; !readerDone(reply) && tuples < kMaxTuplesPerReply; ++tuples) {
        std::int16_t number = 0, priority = 0, transition = 0;
        reply.getTuple(&number, &priority, &transition);
        std::int16_t index = 0;
        if (FAILED(events->NewEvent(number, &index)))
            continue;
        events->SetPriority(index, priority);
        events->SetTransitionPriority(index, transition);
    }
}

void UnitSiteExchange::onPOSEventData(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                      std::int16_t presetNum, std::int16_t priority)
{
    constexpr std::int16_t kTrue = -1;
    if (cameranum == 0)
        return;
    std::shared_ptr<IPOSData> points;
    if (FAILED(m_site.RetrievePOS(&points)))
        return;
    std::int16_t index = 0;
    if (SUCCEEDED(points->NewPOS(POSNum, &index))) {
        points->SetCamera(index, cameranum);
        points->SetMovableFlag(index, MovableFlag);
        points->SetPreset(index, presetNum);
        points->SetPriority(index, priority);
    }
    if (MovableFlag != kTrue || presetNum == 0)
        return;
    std::shared_ptr<ICameraData> cameras;
    if (SUCCEEDED(m_site.RetrieveCamera(&cameras)))
        addCameraPresetIfMissing(*cameras, cameranum, presetNum);
}

} // namespace services
