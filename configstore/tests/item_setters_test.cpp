// Every setter writes the element it names and nothing else, and its getter reads it back.

#include "store_fixture.h"
#include "xml_query.h"

#include <functional>

namespace configstore::testing {
namespace {

// Each row makes one item of a fresh site (number 1; dispenser and camera items under number 1)
// and sets one value to 1234 (flags to true).
struct SetterCase
{
    const char *legend;
    std::function<HRESULT(ISite &, std::int16_t)> set;
    std::function<HRESULT(ISite &, std::int16_t *)> get;
    const char *element; // below the site
};

template <class Item>
using Maker = std::function<std::shared_ptr<Item>(ISite &)>;

template <class Item, class Value>
SetterCase row(const char *legend, Maker<Item> make, HRESULT (Item::*set)(Value), HRESULT (Item::*get)(Value *),
               const char *element)
{
    return {legend,
            [make, set](ISite &site, std::int16_t value) {
                return (*make(site).*set)(static_cast<Value>(value));
            },
            [make, get](ISite &site, std::int16_t *value) {
                Value read{};
                const HRESULT hr = (*make(site).*get)(&read);
                *value = static_cast<std::int16_t>(read);
                return hr;
            },
            element};
}

// Item number 1 of the site, made when missing.
template <class Item, HRESULT (ISite::*New)(std::int16_t, std::shared_ptr<Item> *)>
std::shared_ptr<Item> made(ISite &site)
{
    std::shared_ptr<Item> item;
    (site.*New)(1, &item);
    return item;
}

const auto event = made<IEvent, &ISite::NewEvent>;
const auto task = made<ITask, &ISite::NewTask>;
const auto dispenser = made<IDispenser, &ISite::NewDispenser>;
const auto zone = made<IInterestZone, &ISite::NewInterestZone>;
const auto camera = made<ICamera, &ISite::NewCamera>;
const auto pos = made<IPOS, &ISite::NewPOS>;

std::shared_ptr<IDispenserMap> dispenserMap(ISite &site)
{
    std::shared_ptr<IDispenserMap> item;
    dispenser(site)->GetDispenserMap(&item);
    return item;
}

std::shared_ptr<IPresetEvent> presetEvent(ISite &site)
{
    std::shared_ptr<ICameraPresets> presets;
    dispenser(site)->GetCameraPresets(&presets);
    std::shared_ptr<IPresetEvent> item;
    presets->NewPresetEvent(1, &item);
    return item;
}

std::vector<SetterCase> setterCases()
{
    return {
        row<IEvent>("event priority", event, &IEvent::SetPriority, &IEvent::GetPriority,
                    "PRIORITIES/EVENT[@NUMBER='1']/PRIORITY"),
        row<IEvent>("event transition priority", event, &IEvent::SetTransitionPriority,
                    &IEvent::GetTransitionPriority, "PRIORITIES/EVENT[@NUMBER='1']/TRANSITION_PRIORITY"),
        row<ITask>("task type", task, &ITask::SetType, &ITask::GetType, "TASKS/TASK[@NUMBER='1']/TYPE"),
        row<ITask>("task inport", task, &ITask::SetInport, &ITask::GetInport, "TASKS/TASK[@NUMBER='1']/INPORT"),
        row<ITask>("task outport", task, &ITask::SetOutport, &ITask::GetOutport, "TASKS/TASK[@NUMBER='1']/OUTPORT"),
        row<ITask>("task interface", task, &ITask::SetInterface, &ITask::GetInterface,
                   "TASKS/TASK[@NUMBER='1']/INTERFACE"),
        row<IDispenserMap>("dispenser loop", dispenserMap, &IDispenserMap::SetLoop, &IDispenserMap::GetLoop,
                           "DISPENSER[@NUMBER='1']/DISPENSER_MAP/DISPENSER_LOOP"),
        row<IDispenserMap>("dispenser address", dispenserMap, &IDispenserMap::SetAddress,
                           &IDispenserMap::GetAddress, "DISPENSER[@NUMBER='1']/DISPENSER_MAP/DISPENSER_ADDRESS"),
        row<IDispenserMap>("card terminal address", dispenserMap, &IDispenserMap::SetCardTerminalAddress,
                           &IDispenserMap::GetCardTerminalAddress,
                           "DISPENSER[@NUMBER='1']/DISPENSER_MAP/CARD_TERMINAL_ADDRESS"),
        row<IDispenserMap>("attendant tag address", dispenserMap, &IDispenserMap::SetAttendantTagAddress,
                           &IDispenserMap::GetAttendantTagAddress,
                           "DISPENSER[@NUMBER='1']/DISPENSER_MAP/ATTENDANT_TAG_ADDRESS"),
        row<IPresetEvent>("preset event camera", presetEvent, &IPresetEvent::SetCamera, &IPresetEvent::GetCamera,
                          "DISPENSER[@NUMBER='1']/CAMERA_PRESETS/EVENT[@NUMBER='1']/CAMERA"),
        row<IPresetEvent>("preset event preset", presetEvent, &IPresetEvent::SetPresetValue,
                          &IPresetEvent::GetPresetValue, "DISPENSER[@NUMBER='1']/CAMERA_PRESETS/EVENT[@NUMBER='1']/PRESET"),
        row<IInterestZone>("zone camera", zone, &IInterestZone::SetCameraNumber, &IInterestZone::GetCameraNumber,
                           "INTEREST_ZONES/INTEREST_ZONE[@NUMBER='1']/CAMERA_NUMBER"),
        row<IInterestZone>("zone preset", zone, &IInterestZone::SetPresetNumber, &IInterestZone::GetPresetNumber,
                           "INTEREST_ZONES/INTEREST_ZONE[@NUMBER='1']/PRESET_NUMBER"),
        row<ICamera>("camera type", camera, &ICamera::SetType, &ICamera::GetType, "CAMERAS/CAMERA[@NUMBER='1']/TYPE"),
        row<IPOS>("pos priority", pos, &IPOS::SetPriority, &IPOS::GetPriority, "POSCONFIG/POS[@NUMBER='1']/PRIORITY"),
        row<IPOS>("pos camera", pos, &IPOS::SetCamera, &IPOS::GetCamera, "POSCONFIG/POS[@NUMBER='1']/CAMERA"),
        row<IPOS>("pos preset", pos, &IPOS::SetPreset, &IPOS::GetPreset, "POSCONFIG/POS[@NUMBER='1']/PRESET"),
        {"dwell time", [](ISite &s, std::int16_t v) { return s.SetDwellTime(3, v); },
         [](ISite &s, std::int16_t *v) { return s.GetDwellTime(3, v); }, "TIMES/DWELL_TIME[@PRIORITY='3']"},
        {"intervisit time", [](ISite &s, std::int16_t v) { return s.SetIntervisitTime(3, v); },
         [](ISite &s, std::int16_t *v) { return s.GetIntervisitTime(3, v); }, "TIMES/INTERVISIT_TIME[@PRIORITY='3']"},
    };
}

class AnItemSetter : public StoreTest
{
};

TEST_F(AnItemSetter, WritesTheElementItNamesAndNothingElse)
{
    for (const SetterCase &c : setterCases()) {
        SCOPED_TRACE(c.legend);
        const std::string name = c.legend;
        std::shared_ptr<ISite> target = site(name);
        ASSERT_EQ(c.set(*target, 1234), S_OK);
        std::int16_t read = 0;
        EXPECT_EQ(c.get(*target, &read), S_OK);
        EXPECT_EQ(read, 1234);

        const std::string file = path("setter.ovx");
        ASSERT_EQ(m_config.ExportSite(&name, &file), S_OK);
        const SavedFile saved(file);
        EXPECT_EQ(saved.text(std::string("/CONFIG/SITE/") + c.element), "1234");
        EXPECT_EQ(saved.texts("//*[text()='1234']").size(), 1u) << "another element changed too";
    }
}

TEST_F(AnItemSetter, WritesNegativeNumbersWithASign)
{
    std::shared_ptr<ICamera> cam = camera(*site());
    ASSERT_EQ(cam->SetType(-5), S_OK);
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_EQ(SavedFile(path("orvexconfig.xml")).text("//CAMERA/TYPE"), "-5");
}

TEST_F(AnItemSetter, StoresTheMovableFlagAsMinusOneOrZero)
{
    std::shared_ptr<IPOS> point = pos(*site());
    bool movable = true;
    ASSERT_EQ(point->GetMovableFlag(&movable), S_OK);
    EXPECT_FALSE(movable);

    ASSERT_EQ(point->SetMovableFlag(true), S_OK);
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_EQ(SavedFile(path("orvexconfig.xml")).text("//POS/MOVABLE_FLAG"), "-1");
    ASSERT_EQ(point->GetMovableFlag(&movable), S_OK);
    EXPECT_TRUE(movable);

    ASSERT_EQ(point->SetMovableFlag(false), S_OK);
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_EQ(SavedFile(path("orvexconfig.xml")).text("//POS/MOVABLE_FLAG"), "0");
}

TEST_F(AnItemSetter, KeepsTextsAsGivenAndRefusesNullComments)
{
    std::shared_ptr<ISite> s = site();
    std::shared_ptr<IInterestZone> z = zone(*s);
    const std::string text = "  pump 3 & <kiosk> \xC3\xA9 ";
    ASSERT_EQ(z->SetText(&text), S_OK);
    std::string read;
    ASSERT_EQ(z->GetText(&read), S_OK);
    EXPECT_EQ(read, text);

    std::shared_ptr<IPreset> preset;
    ASSERT_EQ(camera(*s)->NewPreset(4, &preset), S_OK);
    ASSERT_EQ(preset->SetComment("north island"), S_OK);
    EXPECT_EQ(preset->SetComment(nullptr), E_POINTER);
    EXPECT_EQ(preset->GetComment(nullptr), E_POINTER);
    ASSERT_EQ(preset->GetComment(&read), S_OK);
    EXPECT_EQ(read, "north island");
}

TEST_F(AnItemSetter, RefusesTextsNoFileCouldHoldAndKeepsTheSiteImportable)
{
    std::shared_ptr<ISite> s = site();
    std::shared_ptr<IInterestZone> z = zone(*s);
    std::shared_ptr<IPreset> preset;
    ASSERT_EQ(camera(*s)->NewPreset(4, &preset), S_OK);
    const std::string kept = "lane\t1\r\n\xF0\x9F\x9A\x97";
    ASSERT_EQ(z->SetText(&kept), S_OK);
    ASSERT_EQ(preset->SetComment(kept.c_str()), S_OK);
    for (const char *bad : {"a\x01z", "\x1F", "\xEF\xBF\xBE", "\xC3", "\xC1\xBF", "\xED\xA0\x80"}) {
        const std::string text = bad;
        EXPECT_EQ(z->SetText(&text), E_INVALIDARG) << text;
        EXPECT_EQ(preset->SetComment(bad), E_INVALIDARG) << text;
    }
    const std::string withNul("a\0z", 3);
    EXPECT_EQ(z->SetText(&withNul), E_INVALIDARG);
    const std::string badName = "site\x02";
    std::shared_ptr<ISite> refused;
    EXPECT_EQ(m_config.NewSite(&badName, &refused), E_INVALIDARG);

    const std::string name = "Default";
    const std::string file = path("kept.ovx");
    ASSERT_EQ(m_config.ExportSite(&name, &file), S_OK);
    ASSERT_EQ(m_config.ImportSite(&name, &file), S_OK);
    std::shared_ptr<ISite> back;
    ASSERT_EQ(m_config.GetSite(&name, &back), S_OK);
    std::shared_ptr<IInterestZone> zoneBack;
    ASSERT_EQ(back->GetInterestZone(1, &zoneBack), S_OK);
    std::string read;
    ASSERT_EQ(zoneBack->GetText(&read), S_OK);
    EXPECT_EQ(read, kept);
}

} // namespace
} // namespace configstore::testing
