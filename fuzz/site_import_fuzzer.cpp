// A site file, as the configuration tool hands it to the store's import.
//
// Input: the file. Its site "Default" is imported beside another site, read through every view,
// edited the way the service writes a site back, exported, and imported, read and exported again.
// Checked besides memory safety: the other site is never touched; texts are UTF-8 that the bus
// can carry; a site that imported exports, its export imports again, and the second export
// equals the first.

#include "fuzz_support.h"

#include "configstore/orvex_config.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace configstore;

namespace {

const std::string kDefault = "Default";
const std::string kOther = "Other";
// Item numbers tried on every collection: enough for the seeds' items and the edits below.
constexpr std::int16_t kNumbersTried = 40;

std::string readBack(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void checkText(const std::string &text)
{
    FUZZ_CHECK(fuzz::IsBusText(text), "stored texts are UTF-8 for the bus");
}

template <typename Item>
void readNumber(Item &item, HRESULT (Item::*getter)(std::int16_t *))
{
    std::int16_t value = 0;
    (void)(item.*getter)(&value);
}

void readCamera(ICamera &camera)
{
    readNumber(camera, &ICamera::GetType);
    std::int16_t count = 0;
    camera.NumPresets(&count);
    for (std::int16_t number = 0; number < kNumbersTried; ++number) {
        std::shared_ptr<IPreset> preset;
        if (camera.GetPreset(number, &preset) != S_OK)
            continue;
        std::string comment;
        if (preset->GetComment(&comment) == S_OK)
            checkText(comment);
    }
}

void readDispenser(IDispenser &dispenser)
{
    std::shared_ptr<IDispenserMap> map;
    if (dispenser.GetDispenserMap(&map) == S_OK && map) {
        readNumber(*map, &IDispenserMap::GetLoop);
        readNumber(*map, &IDispenserMap::GetAddress);
        readNumber(*map, &IDispenserMap::GetCardTerminalAddress);
        readNumber(*map, &IDispenserMap::GetAttendantTagAddress);
    }
    std::shared_ptr<ICameraPresets> presets;
    if (dispenser.GetCameraPresets(&presets) != S_OK || !presets)
        return;
    std::int16_t count = 0;
    presets->NumPresetEvents(&count);
    for (std::int16_t number = 0; number < kNumbersTried; ++number) {
        std::shared_ptr<IPresetEvent> event;
        if (presets->GetPresetEvent(number, &event) != S_OK)
            continue;
        readNumber(*event, &IPresetEvent::GetCamera);
        readNumber(*event, &IPresetEvent::GetPresetValue);
    }
}

// Every value the service reads when it loads a site.
void readSite(ISite &site)
{
    for (std::int16_t priority = 1; priority <= 5; ++priority) {
        std::int16_t time = 0;
        site.GetDwellTime(priority, &time);
        site.GetIntervisitTime(priority, &time);
    }
    std::int16_t count = 0;
    site.NumEvents(&count);
    site.NumTasks(&count);
    site.NumDispensers(&count);
    site.NumInterestZones(&count);
    site.NumCameras(&count);
    site.NumPOSs(&count);
    for (std::int16_t number = -1; number < kNumbersTried; ++number) {
        std::shared_ptr<IEvent> event;
        if (site.GetEvent(number, &event) == S_OK) {
            readNumber(*event, &IEvent::GetPriority);
            readNumber(*event, &IEvent::GetTransitionPriority);
        }
        std::shared_ptr<ITask> task;
        if (site.GetTask(number, &task) == S_OK) {
            readNumber(*task, &ITask::GetType);
            readNumber(*task, &ITask::GetInport);
            readNumber(*task, &ITask::GetOutport);
            readNumber(*task, &ITask::GetInterface);
        }
        std::shared_ptr<IDispenser> dispenser;
        if (site.GetDispenser(number, &dispenser) == S_OK)
            readDispenser(*dispenser);
        std::shared_ptr<IInterestZone> zone;
        if (site.GetInterestZone(number, &zone) == S_OK) {
            readNumber(*zone, &IInterestZone::GetCameraNumber);
            readNumber(*zone, &IInterestZone::GetPresetNumber);
            std::string text;
            if (zone->GetText(&text) == S_OK)
                checkText(text);
        }
        std::shared_ptr<ICamera> camera;
        if (site.GetCamera(number, &camera) == S_OK)
            readCamera(*camera);
        std::shared_ptr<IPOS> pos;
        if (site.GetPOS(number, &pos) == S_OK) {
            readNumber(*pos, &IPOS::GetCamera);
            readNumber(*pos, &IPOS::GetPreset);
            readNumber(*pos, &IPOS::GetPriority);
            bool movable = false;
            pos->GetMovableFlag(&movable);
        }
    }
}

// Edits of every kind, on whatever the file held: the service deletes and recreates tables,
// and the configuration tool adds items to them.
void editSite(ISite &site)
{
    site.SetDwellTime(1, 7);
    site.SetIntervisitTime(5, 9);
    std::shared_ptr<IEvent> event;
    if (site.NewEvent(3, &event) == S_OK)
        event->SetPriority(2);
    site.DeleteTask(0);
    std::shared_ptr<ITask> task;
    if (site.NewTask(0, &task) == S_OK)
        task->SetType(7);
    std::shared_ptr<IDispenser> dispenser;
    if (site.NewDispenser(1, &dispenser) == S_OK) {
        std::shared_ptr<ICameraPresets> presets;
        std::shared_ptr<IPresetEvent> preset;
        if (dispenser->GetCameraPresets(&presets) == S_OK && presets && presets->NewPresetEvent(2, &preset) == S_OK)
            preset->SetCamera(1);
    }
    site.DeleteDispenser(2);
    std::shared_ptr<IInterestZone> zone;
    const std::string text = "Kiosk & <door>";
    if (site.NewInterestZone(1, &zone) == S_OK)
        zone->SetText(&text);
    std::shared_ptr<ICamera> camera;
    std::shared_ptr<IPreset> preset;
    if (site.NewCamera(2, &camera) == S_OK && camera->NewPreset(4, &preset) == S_OK)
        preset->SetComment("Pump 4");
    site.DeleteCamera(3);
    std::shared_ptr<IPOS> pos;
    if (site.NewPOS(1, &pos) == S_OK)
        pos->SetMovableFlag(true);
    site.DeletePOS(2);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ::setenv("ORVEX_INSTALL_DIR", fuzz::ScratchFolder().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string file = (fuzz::ScratchFolder() / "site.ovx").string();
    const std::string exported = (fuzz::ScratchFolder() / "exported.ovx").string();
    const std::string again = (fuzz::ScratchFolder() / "again.ovx").string();
    fuzz::WriteFile(file, data, size);

    OrvexConfig config;
    FUZZ_CHECK(config.LoadAndParse() == S_OK, "the store starts");
    std::shared_ptr<ISite> other;
    std::shared_ptr<ICamera> otherCamera;
    FUZZ_CHECK(config.NewSite(&kOther, &other) == S_OK && other->NewCamera(1, &otherCamera) == S_OK,
               "the other site is made");

    const HRESULT imported = config.ImportSite(&kDefault, &file);
    std::int16_t cameras = 0;
    FUZZ_CHECK(other->NumCameras(&cameras) == S_OK && cameras == 1, "the other site is not touched");
    if (imported != S_OK)
        return 0;

    std::shared_ptr<ISite> site;
    FUZZ_CHECK(config.GetSite(&kDefault, &site) == S_OK, "an imported site can be opened");
    readSite(*site);
    editSite(*site);
    readSite(*site);

    FUZZ_CHECK(config.ExportSite(&kDefault, &exported) == S_OK, "an imported site exports");
    FUZZ_CHECK(config.ImportSite(&kDefault, &exported) == S_OK, "an exported site imports again");
    // Read as before, so that empty texts get back the nodes that views give them.
    FUZZ_CHECK(config.GetSite(&kDefault, &site) == S_OK, "a re-imported site can be opened");
    readSite(*site);
    FUZZ_CHECK(config.ExportSite(&kDefault, &again) == S_OK, "a re-imported site exports");
    FUZZ_CHECK(readBack(exported) == readBack(again), "export and import lose nothing");
    FUZZ_CHECK(config.SaveSite() == S_OK, "the configuration saves");
    return 0;
}
