// Loading the in-memory site from the configuration store and saving it back.

#include "services/stored_site_tables.h"
#include "site_test_support.h"

#include "configstore/numbered_collection.h"
#include "configstore/orvex_config.h"
#include "configstore/xml_tree.h"
#include "interfaces/configstore/inumbered_items.h"
#include "support/trace_log.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <utility>

namespace services::testing {
namespace {

using ::testing::ElementsAre;

std::string readFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class AStoredSite : public SiteOverStore
{
protected:
    std::shared_ptr<configstore::ISite> stored;

    void SetUp() override
    {
        ASSERT_EQ(site.InitializeStorage(), S_OK);
        ASSERT_EQ(site.NewSite(&defaultName), S_OK);
        stored = storedSite();
        ASSERT_TRUE(stored);
    }

    // A site with gaps in every numbering and a value in every field.
    void seed()
    {
        for (std::int16_t number : {3, 9}) {
            std::shared_ptr<configstore::ITask> task;
            ASSERT_EQ(stored->NewTask(number, &task), S_OK);
            task->SetType(number);
            task->SetInterface(static_cast<std::int16_t>(number + 1));
            task->SetInport(static_cast<std::int16_t>(number + 2));
            task->SetOutport(static_cast<std::int16_t>(number + 3));
        }
        for (std::int16_t number : {0, 2, 7}) {
            std::shared_ptr<configstore::ICamera> camera;
            ASSERT_EQ(stored->NewCamera(number, &camera), S_OK);
            camera->SetType(static_cast<std::int16_t>(40 + number));
            for (std::int16_t presetNumber : {1, 4}) {
                std::shared_ptr<configstore::IPreset> preset;
                ASSERT_EQ(camera->NewPreset(static_cast<std::int16_t>(presetNumber + number), &preset), S_OK);
                preset->SetComment(("camera " + std::to_string(number)).c_str());
            }
        }
        std::shared_ptr<configstore::IDispenser> dispenser;
        ASSERT_EQ(stored->NewDispenser(4, &dispenser), S_OK);
        std::shared_ptr<configstore::IDispenserMap> map;
        dispenser->GetDispenserMap(&map);
        map->SetLoop(1);
        map->SetAddress(2);
        map->SetCardTerminalAddress(3);
        std::shared_ptr<configstore::ICameraPresets> presets;
        dispenser->GetCameraPresets(&presets);
        for (std::int16_t event : {1, 5}) {
            std::shared_ptr<configstore::IPresetEvent> entry;
            ASSERT_EQ(presets->NewPresetEvent(event, &entry), S_OK);
            entry->SetCamera(2);
            entry->SetPresetValue(static_cast<std::int16_t>(event + 2));
        }
        for (std::int16_t number : {2, 6}) {
            std::shared_ptr<configstore::IEvent> event;
            ASSERT_EQ(stored->NewEvent(number, &event), S_OK);
            event->SetPriority(static_cast<std::int16_t>(number / 2));
            event->SetTransitionPriority(1);
        }
        std::shared_ptr<configstore::IPOS> pos;
        ASSERT_EQ(stored->NewPOS(1, &pos), S_OK);
        pos->SetCamera(7);
        pos->SetMovableFlag(true);
        pos->SetPreset(5);
        pos->SetPriority(2);
        for (std::int16_t p = 1; p <= 5; ++p) {
            stored->SetDwellTime(p, static_cast<std::int16_t>(10 * p));
            stored->SetIntervisitTime(p, static_cast<std::int16_t>(20 * p));
        }
    }
};

TEST_F(AStoredSite, LoadsIntoEveryTableKeepingItsNumbers)
{
    seed();
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    const SiteSnapshot loaded = snapshot(site);
    EXPECT_THAT(loaded.devices, ElementsAre(ElementsAre(3, 4, 5, 6), ElementsAre(9, 10, 11, 12)));
    EXPECT_THAT(loaded.cameras, ElementsAre(ElementsAre(0, 40, 1, 4), ElementsAre(2, 42, 3, 6),
                                            ElementsAre(7, 47, 8, 11)));
    EXPECT_EQ(loaded.comments.at(2), "camera 2");
    EXPECT_THAT(loaded.dispensers, ElementsAre(ElementsAre(4, 1, 2, 3, 1, 2, 3, 5, 2, 7)));
    EXPECT_THAT(loaded.events, ElementsAre(ElementsAre(2, 1, 1), ElementsAre(6, 3, 1)));
    EXPECT_THAT(loaded.pointsOfSale, ElementsAre(ElementsAre(1, 7, -1, 5, 2)));
    EXPECT_THAT(loaded.times, ElementsAre(10, 20, 20, 40, 30, 60, 40, 80, 50, 100));
}

TEST_F(AStoredSite, IsNotReadAgainWhileLoaded)
{
    seed();
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    EXPECT_EQ(site.LoadSite(&defaultName), S_FALSE);
    EXPECT_EQ(snapshot(site).devices.size(), 2u);
}

TEST_F(AStoredSite, ThatDoesNotExistLoadsNothing)
{
    const std::string unknown = "Elsewhere";
    EXPECT_EQ(site.LoadSite(&unknown), E_INVALIDARG);
    EXPECT_FALSE(site.isSiteLoaded());
    EXPECT_EQ(site.Save(), E_UNEXPECTED);
}

TEST_F(AStoredSite, KeepsCameraNumbersAndRenumbersTasksFromZeroWhenSaved)
{
    seed();
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    ASSERT_EQ(site.Save(), S_OK);
    stored = storedSite();
    std::shared_ptr<configstore::ITask> task;
    EXPECT_EQ(stored->GetTask(0, &task), S_OK);
    EXPECT_EQ(stored->GetTask(1, &task), S_OK);
    EXPECT_EQ(stored->GetTask(3, &task), E_INVALIDARG);
    EXPECT_EQ(stored->GetTask(9, &task), E_INVALIDARG);
    std::shared_ptr<configstore::ICamera> camera;
    for (std::int16_t number : {0, 2, 7})
        EXPECT_EQ(stored->GetCamera(number, &camera), S_OK) << number;
    std::int16_t cameras = 0;
    stored->NumCameras(&cameras);
    EXPECT_EQ(cameras, 3);
    // The whole document went to the configuration file.
    EXPECT_NE(readFile(folder.file("orvexconfig.xml")).find("Default"), std::string::npos);
}

TEST_F(AStoredSite, ComesBackFromASaveAsItWasEdited)
{
    seed();
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    std::shared_ptr<ICameraData> cameras;
    std::shared_ptr<IDeviceData> devices;
    std::shared_ptr<IPOSData> points;
    site.RetrieveCamera(&cameras);
    site.RetrieveDevice(&devices);
    site.RetrievePOS(&points);
    std::int16_t index = 1;
    cameras->DeleteCamera(&index);
    const std::string comment = "Forecourt <north> & \"exit\"";
    cameras->SetComment(1, 2, &comment);
    devices->Append(&index);
    devices->SetDeviceType(index, 7);
    points->SetMovableFlag(1, 0);
    site.SetDwellTime(4, -3);
    const SiteSnapshot edited = snapshot(site);

    ASSERT_EQ(site.Save(), S_OK);
    ASSERT_EQ(site.UnloadSite(), S_OK);
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    EXPECT_EQ(snapshot(site), edited);
}

TEST_F(AStoredSite, SurvivesAnExportAndImport)
{
    seed();
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    const SiteSnapshot original = snapshot(site);
    const std::string file = folder.file("exported.ovx");
    ASSERT_EQ(site.ExportSite(&defaultName, &file), S_OK);
    ASSERT_EQ(site.UnloadSite(), S_OK);
    ASSERT_EQ(site.DeleteSite(&defaultName), S_OK);
    ASSERT_EQ(site.ImportSite(&defaultName, &file), S_OK);
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    EXPECT_EQ(snapshot(site), original);
}

TEST_F(AStoredSite, SaveReportsTheStoresFailureToWriteTheFile)
{
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    std::filesystem::remove_all(folder.file(""));
    EXPECT_TRUE(FAILED(site.Save()));
}

// A comment the store would refuse is refused where it comes in: once in the table, it would
// make every later Save of the site fail.
TEST_F(AStoredSite, RefusesACommentNoSiteFileCouldHoldAndStaysSaveable)
{
    seed();
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    std::shared_ptr<ICameraData> cameras;
    ASSERT_EQ(site.RetrieveCamera(&cameras), S_OK);
    for (const std::string &bad : {std::string("bay\x01"), std::string("\x1B[0m"), std::string("a\0z", 3),
                                  std::string("\xEF\xBF\xBE"), std::string("caf\xC3")}) {
        EXPECT_EQ(cameras->SetComment(1, 1, &bad), E_INVALIDARG) << bad;
        std::string comment;
        ASSERT_EQ(cameras->GetComment(1, 1, &comment), S_OK);
        EXPECT_EQ(comment, "camera 0");
    }
    const std::string kept = "lane\t1\r\n\xC3\xA9";
    ASSERT_EQ(cameras->SetComment(1, 2, &kept), S_OK);

    ASSERT_EQ(site.Save(), S_OK);
    ASSERT_EQ(site.UnloadSite(), S_OK);
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    std::string comment;
    ASSERT_EQ(cameras->GetComment(1, 1, &comment), S_OK);
    EXPECT_EQ(comment, "camera 0");
    ASSERT_EQ(cameras->GetComment(1, 2, &comment), S_OK);
    EXPECT_EQ(comment, kept);
}

TEST_F(AStoredSite, SaveThatFailsIsTracedWithItsCause)
{
    support::OpenTrace(folder.file("").c_str(), nullptr, "OrvexServices");
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    // A folder where the file should be: the rename over it fails, for root too.
    std::filesystem::create_directory(folder.file("orvexconfig.xml"));
    EXPECT_EQ(site.Save(), ResultFromErrno(EISDIR));
    support::CloseTrace();
    const std::string trace = readFile(folder.file("OrvexServices_0.txt")) + readFile(folder.file("OrvexServices_1.txt"));
    EXPECT_NE(trace.find("[ERROR]   Error Saving Site \"Default\" while writing the configuration file: 0x"),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("Is a directory"), std::string::npos) << trace;
}

// A client that connects again starts a fresh store: the site it had loaded must not be saved
// into the store's old document, nor that empty new document over the configuration file.
TEST_F(AStoredSite, IsLetGoWhenStorageIsInitialisedAgain)
{
    seed();
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    ASSERT_EQ(site.Save(), S_OK);
    const std::string saved = readFile(folder.file("orvexconfig.xml"));

    ASSERT_EQ(site.InitializeStorage(), S_OK);
    EXPECT_FALSE(site.isSiteLoaded());
    EXPECT_EQ(site.Save(), E_UNEXPECTED);
    std::int16_t time = 0;
    EXPECT_EQ(site.GetDwellTime(1, &time), E_UNEXPECTED);
    EXPECT_EQ(readFile(folder.file("orvexconfig.xml")), saved);
}

TEST_F(AStoredSite, WhoseCountNamesAnItemNoNumberReachesStillLoadsTheRest)
{
    // A task numbered beyond 16 bits counts, but no 16-bit number finds it.
    const std::string file = folder.file("odd.ovx");
    std::ofstream(file) << "<CONFIG><SITE NAME=\"Odd\"><TASKS>"
                           "<TASK NUMBER=\"70000\"><TYPE>1</TYPE><INPORT>0</INPORT><OUTPORT>0</OUTPORT>"
                           "<INTERFACE>0</INTERFACE></TASK>"
                           "<TASK NUMBER=\"2\"><TYPE>7</TYPE><INPORT>0</INPORT><OUTPORT>0</OUTPORT>"
                           "<INTERFACE>0</INTERFACE></TASK></TASKS>"
                           "<CAMERAS><CAMERA NUMBER=\"5\"><TYPE>3</TYPE><PRESETS/></CAMERA></CAMERAS>"
                           "</SITE></CONFIG>";
    const std::string odd = "Odd";
    ASSERT_EQ(site.ImportSite(&odd, &file), S_OK);
    ASSERT_EQ(site.LoadSite(&odd), S_OK);
    const SiteSnapshot loaded = snapshot(site);
    EXPECT_THAT(loaded.devices, ElementsAre(ElementsAre(7, 0, 0, 0)));
    EXPECT_THAT(loaded.cameras, ElementsAre(ElementsAre(5, 3)));
}

// The store's library says which numbers a camera's presets and a dispenser's preset events
// answer for; a scan of those numbers alone makes the tries that a scan of every number makes
// there, and ends as it does.
TEST_F(AStoredSite, IsReadAtTheNumbersItsListsAnswerForAsByTryingEveryNumber)
{
    struct Row
    {
        const char *legend;
        std::vector<const char *> items; // the NUMBER of each item in document order; null: none
        std::vector<std::int16_t> numbers;
        HRESULT presetsResult; // of the scan of the camera's presets, from 1
        // The try of a number that answers otherwise than the store.
        std::optional<std::pair<std::int16_t, HRESULT>> odd = std::nullopt;
    };
    const Row rows[] = {
        {"gaps", {"2", "5", "9"}, {2, 5, 9}, S_OK},
        {"out of order in the file", {"9", "2", "5"}, {2, 5, 9}, S_OK},
        {"a repeat counts, but answers once", {"3", "3", "4"}, {3, 4}, E_FAIL},
        {"items without NUMBER count, but answer for none", {nullptr, "1", nullptr}, {1}, E_FAIL},
        {"no item answers", {nullptr, nullptr}, {}, E_FAIL},
        {"below the first preset number", {"0", "1", "2"}, {0, 1, 2}, E_FAIL},
        {"negative numbers", {"-32768", "-5", "4"}, {-32768, -5, 4}, E_FAIL},
        {"beyond 16 bits, text, the last number", {"70000", "north", "7", "32767", " +5 lanes"}, {0, 5, 7, 32767},
         E_FAIL},
        {"a try that fails ends the scan", {"1", "2", "3"}, {1, 2, 3}, E_FAIL,
         std::pair{std::int16_t{2}, E_ACCESSDENIED}},
        {"a listed number refused is passed over", {"1", "2", "3"}, {1, 2, 3}, E_FAIL,
         std::pair{std::int16_t{2}, E_INVALIDARG}},
        {"an empty list", {}, {}, S_OK},
    };
    const std::string file = folder.file("lists.ovx");
    const std::string name = "Lists";
    using Tries = std::vector<std::pair<std::int16_t, HRESULT>>;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.legend);
        std::string presets;
        std::string events;
        for (const char *number : row.items) {
            const std::string attribute = number ? std::string(" NUMBER=\"") + number + "\"" : "";
            presets += "<PRESET" + attribute + "/>";
            events += "<EVENT" + attribute + "/>";
        }
        std::ofstream(file, std::ios::trunc)
            << "<CONFIG><SITE NAME=\"Lists\"><DISPENSER NUMBER=\"1\"><DISPENSER_MAP/><CAMERA_PRESETS>" << events
            << "</CAMERA_PRESETS></DISPENSER><CAMERAS><CAMERA NUMBER=\"1\"><TYPE>80</TYPE><PRESETS>" << presets
            << "</PRESETS></CAMERA></CAMERAS></SITE></CONFIG>";
        ASSERT_EQ(site.ImportSite(&name, &file), S_OK);
        const std::shared_ptr<configstore::ISite> lists = storedSite(name);
        std::shared_ptr<configstore::ICamera> camera;
        std::shared_ptr<configstore::IDispenser> dispenser;
        std::shared_ptr<configstore::ICameraPresets> presetEvents;
        ASSERT_EQ(lists->GetCamera(1, &camera), S_OK);
        ASSERT_EQ(lists->GetDispenser(1, &dispenser), S_OK);
        ASSERT_EQ(dispenser->GetCameraPresets(&presetEvents), S_OK);

        // Both scans of one list, through the view the store's library handed out; the result.
        const auto scanBoth = [&](const char *list, const std::shared_ptr<configstore::INumberedItems> &numbered,
                                  std::int16_t count, std::int16_t first,
                                  const std::function<HRESULT(std::int16_t)> &get) {
            SCOPED_TRACE(list);
            std::vector<std::int16_t> numbers;
            EXPECT_NE(numbered, nullptr) << "the cast reaches the library's view";
            if (!numbered)
                return E_UNEXPECTED;
            EXPECT_EQ(numbered->GetNumbers(&numbers), S_OK);
            EXPECT_EQ(numbers, row.numbers);
            for (const std::int16_t number : numbers)
                EXPECT_NE(get(number), E_INVALIDARG) << number;
            const auto recordedInto = [&](Tries &tries) {
                return [&](std::int16_t number) {
                    const HRESULT hr = row.odd && row.odd->first == number ? row.odd->second : get(number);
                    tries.emplace_back(number, hr);
                    return hr;
                };
            };
            Tries everyNumber;
            Tries listed;
            const HRESULT result = ScanStoredNumbers(count, first, recordedInto(everyNumber));
            EXPECT_EQ(ScanListedNumbers(count, first, numbers, recordedInto(listed)), result);
            const auto isListed = [&](const auto &tried) {
                return std::find(numbers.begin(), numbers.end(), tried.first) != numbers.end();
            };
            Tries atListed;
            for (const auto &tried : everyNumber) {
                if (isListed(tried))
                    atListed.push_back(tried);
                else
                    EXPECT_EQ(tried.second, E_INVALIDARG) << tried.first << " is answered, but not listed";
            }
            EXPECT_EQ(listed, atListed);
            return result;
        };
        std::int16_t count = 0;
        ASSERT_EQ(camera->NumPresets(&count), S_OK);
        EXPECT_EQ(scanBoth("presets", std::dynamic_pointer_cast<configstore::INumberedItems>(camera), count, 1,
                           [&](std::int16_t number) {
                               std::shared_ptr<configstore::IPreset> preset;
                               return camera->GetPreset(number, &preset);
                           }),
                  row.presetsResult);
        ASSERT_EQ(presetEvents->NumPresetEvents(&count), S_OK);
        scanBoth("preset events", std::dynamic_pointer_cast<configstore::INumberedItems>(presetEvents), count, 0,
                 [&](std::int16_t number) {
                     std::shared_ptr<configstore::IPresetEvent> event;
                     return presetEvents->GetPresetEvent(number, &event);
                 });
    }
}

// `count` elements `<tag NUMBER="numberOf(i)"/>` (no NUMBER where it gives nothing) in a container.
std::string storedItems(const char *container, const char *tag, int count,
                        const std::function<std::optional<int>(int)> &numberOf)
{
    std::string text = std::string("<") + container + ">";
    for (int i = 0; i < count; ++i) {
        const std::optional<int> number = numberOf(i);
        text += std::string("<") + tag + (number ? " NUMBER=\"" + std::to_string(*number) + "\"" : "") + "/>";
    }
    return text + "</" + container + ">";
}

// The site data over the store's core rather than its library, so that the count of NUMBER reads
// that the test takes is the store's own.
TEST(ASiteOverTheStoresCore, ReadsEachStoredNumberOnceToLoadAndNoMoreToSave)
{
    TemporaryInstallFolder folder;
    OrvexConfigData site{nullptr, {}, [] { return std::make_shared<configstore::OrvexConfig>(); }};
    // Numbers with gaps and repeats, and a camera of presets that no number finds, whose scan
    // goes on to the last 16-bit number.
    const std::string file = folder.file("site.ovx");
    std::ofstream(file) << "<CONFIG><SITE NAME=\"Default\">"
                        << storedItems("TASKS", "TASK", 40, [](int i) { return 2 * i; })
                        << storedItems("PRIORITIES", "EVENT", 40, [](int i) { return i + 1; })
                        << storedItems("POSCONFIG", "POS", 20, [](int i) { return i; })
                        << "<DISPENSER NUMBER=\"1\"><DISPENSER_MAP/>"
                        << storedItems("CAMERA_PRESETS", "EVENT", 13, [](int i) { return i; }) << "</DISPENSER>"
                        << "<CAMERAS><CAMERA NUMBER=\"1\"><TYPE>80</TYPE>"
                        << storedItems("PRESETS", "PRESET", 400, [](int i) { return i / 2 + 1; })
                        << "</CAMERA><CAMERA NUMBER=\"2\"><TYPE>80</TYPE>"
                        << storedItems("PRESETS", "PRESET", 300, [](int) { return std::nullopt; })
                        << "</CAMERA></CAMERAS></SITE></CONFIG>";
    const std::uint64_t items = 40 + 40 + 20 + 13 + 2 + 400 + 300;
    const std::string name = "Default";
    ASSERT_EQ(site.InitializeStorage(), S_OK);
    ASSERT_EQ(site.ImportSite(&name, &file), S_OK);

    std::uint64_t reads = configstore::NumberReads();
    ASSERT_EQ(site.LoadSite(&name), S_OK);
    EXPECT_LE(configstore::NumberReads() - reads, items);
    const SiteSnapshot loaded = snapshot(site);
    EXPECT_EQ(loaded.devices.size(), 40u);
    EXPECT_EQ(loaded.events.size(), 40u);
    EXPECT_EQ(loaded.pointsOfSale.size(), 20u);
    ASSERT_EQ(loaded.dispensers.size(), 1u);
    EXPECT_EQ(loaded.dispensers[0].size(), 4u + 3 * 13);
    ASSERT_EQ(loaded.cameras.size(), 2u);
    EXPECT_EQ(loaded.cameras[0].size(), 2u + 200) << "each repeated number once";
    EXPECT_EQ(loaded.cameras[1].size(), 2u) << "no preset a number finds";

    reads = configstore::NumberReads();
    ASSERT_EQ(site.Save(), S_OK);
    EXPECT_LE(configstore::NumberReads() - reads, items);
}

// Cameras and dispensers whose lists count an item that no number finds: the lookups a load makes
// are in proportion to the site, not to the 16-bit numbers for each list.
TEST(ASiteOverTheStoresCore, LooksUpNoMoreNumbersThanItHoldsItemsToLoadListsOfUnnumberedItems)
{
    TemporaryInstallFolder folder;
    OrvexConfigData site{nullptr, {}, [] { return std::make_shared<configstore::OrvexConfig>(); }};
    constexpr int kEach = 64;
    const std::string file = folder.file("site.ovx");
    {
        std::ofstream out(file);
        out << "<CONFIG><SITE NAME=\"Default\">";
        for (int i = 0; i < kEach; ++i)
            out << "<DISPENSER NUMBER=\"" << i
                << "\"><DISPENSER_MAP/><CAMERA_PRESETS><EVENT/></CAMERA_PRESETS></DISPENSER>";
        out << "<CAMERAS>";
        for (int i = 1; i <= kEach; ++i)
            out << "<CAMERA NUMBER=\"" << i
                << "\"><TYPE>80</TYPE><PRESETS><PRESET/><PRESET NUMBER=\"1\"/></PRESETS></CAMERA>";
        out << "</CAMERAS></SITE></CONFIG>";
    }
    // Dispensers and their events, cameras and their two presets.
    const std::uint64_t items = 2 * kEach + 3 * kEach;
    const std::string name = "Default";
    ASSERT_EQ(site.InitializeStorage(), S_OK);
    ASSERT_EQ(site.ImportSite(&name, &file), S_OK);

    const std::uint64_t lookups = configstore::NumberedCollection::lookups();
    ASSERT_EQ(site.LoadSite(&name), S_OK);
    EXPECT_LE(configstore::NumberedCollection::lookups() - lookups, items);
    const SiteSnapshot loaded = snapshot(site);
    ASSERT_EQ(loaded.cameras.size(), std::size_t{kEach});
    EXPECT_THAT(loaded.cameras.back(), ElementsAre(kEach, 80, 1));
    ASSERT_EQ(loaded.dispensers.size(), std::size_t{kEach});
    EXPECT_THAT(loaded.dispensers.back(), ElementsAre(kEach - 1, 0, 0, 0)) << "no preset event a number finds";
}

TEST(AScanOfStoredNumbers, SkipsRefusedNumbersUntilTheCountIsFound)
{
    std::vector<int> tried;
    const HRESULT hr = ScanStoredNumbers(2, 1, [&](std::int16_t number) {
        tried.push_back(number);
        return number == 2 || number == 4 ? S_OK : E_INVALIDARG;
    });
    EXPECT_EQ(hr, S_OK);
    EXPECT_THAT(tried, ElementsAre(1, 2, 3, 4));
}

TEST(AScanOfStoredNumbers, EndsWithAnErrorOnAnyOtherFailure)
{
    int tries = 0;
    EXPECT_EQ(ScanStoredNumbers(3, 0, [&](std::int16_t) { return ++tries == 2 ? E_ACCESSDENIED : S_OK; }), E_FAIL);
    EXPECT_EQ(tries, 2);
}

TEST(AScanOfStoredNumbers, StopsAtTheLastSixteenBitNumber)
{
    int tries = 0;
    int last = -1;
    const HRESULT hr = ScanStoredNumbers(2, 0, [&](std::int16_t number) {
        ++tries;
        last = number;
        return number == 100 ? S_OK : E_INVALIDARG;
    });
    EXPECT_EQ(hr, E_FAIL);
    EXPECT_EQ(tries, 32768);
    EXPECT_EQ(last, 32767);
}

TEST(TheStorage, FailsWithTheStoresCodeAndStaysUninitialised)
{
    struct RefusingStore final : configstore::IOrvexConfig
    {
        HRESULT GetSite(const std::string *, std::shared_ptr<configstore::ISite> *) override { return E_FAIL; }
        HRESULT NewSite(const std::string *, std::shared_ptr<configstore::ISite> *) override { return E_FAIL; }
        HRESULT DeleteSite(const std::string *) override { return E_FAIL; }
        HRESULT ExportSite(const std::string *, const std::string *) override { return E_FAIL; }
        HRESULT ImportSite(const std::string *, const std::string *) override { return E_FAIL; }
        HRESULT LoadAndParse() override { return E_ACCESSDENIED; }
        HRESULT EnumSites(std::vector<std::string> *, std::int32_t *) override { return E_FAIL; }
        HRESULT SaveSite() override { return E_FAIL; }
    };
    OrvexConfigData refused{nullptr, {}, [] { return std::make_shared<RefusingStore>(); }};
    EXPECT_EQ(refused.InitializeStorage(), E_ACCESSDENIED);
    EXPECT_FALSE(refused.hasStorage());
    std::vector<std::string> sites;
    std::int32_t count = 0;
    EXPECT_EQ(refused.EnumSites(&sites, &count), E_UNEXPECTED);

    OrvexConfigData absent{nullptr, {}, [] { return std::shared_ptr<configstore::IOrvexConfig>(); }};
    EXPECT_EQ(absent.InitializeStorage(), E_POINTER);
    EXPECT_FALSE(absent.hasStorage());
}

} // namespace
} // namespace services::testing
