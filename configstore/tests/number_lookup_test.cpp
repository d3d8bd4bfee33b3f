// Items found by their NUMBER: which element each number finds, as the collections of a site
// are changed through one view and read through others.

#include "store_fixture.h"

#include "interfaces/configstore/inumbered_items.h"

#include <functional>
#include <sstream>

namespace configstore::testing {
namespace {

class ANumberLookup : public StoreTest
{
protected:
    const std::string m_name = "Default";

    void importSite(const std::string &body)
    {
        const std::string file = path("site.ovx");
        WriteFile(file, "<CONFIG><SITE NAME=\"Default\">" + body + "</SITE></CONFIG>");
        ASSERT_EQ(m_config.ImportSite(&m_name, &file), S_OK);
    }

    // Camera 1 of the stored site, through a site view of its own.
    std::shared_ptr<ICamera> camera()
    {
        std::shared_ptr<ISite> site;
        std::shared_ptr<ICamera> camera;
        EXPECT_EQ(m_config.GetSite(&m_name, &site), S_OK);
        EXPECT_EQ(site->GetCamera(1, &camera), S_OK);
        return camera;
    }
};

// Appends `word` to the blank-separated `list`. By appends: GCC 12 at -O3 warns, wrongly, of
// overlapping copies in `"" + std::to_string(n)`.
void appendWord(std::string &list, const std::string &word)
{
    if (!list.empty())
        list.append(" ");
    list.append(word);
}

// Every number from `lowest` to `highest` that finds a preset, with that preset's comment:
// "3:a 5:e". Any answer but S_OK and E_INVALIDARG shows as "n:!".
std::string found(ICamera &camera, int lowest = -32768, int highest = 32767)
{
    std::string text;
    for (int number = lowest; number <= highest; ++number) {
        std::shared_ptr<IPreset> preset;
        const HRESULT hr = camera.GetPreset(static_cast<std::int16_t>(number), &preset);
        if (hr == E_INVALIDARG && preset == nullptr)
            continue;
        std::string comment = "!";
        if (hr == S_OK)
            preset->GetComment(&comment);
        appendWord(text, std::to_string(number) + ":" + comment);
    }
    return text;
}

// The numbers of a found() text: "3 5".
std::string numbersOf(const std::string &found)
{
    std::istringstream items(found);
    std::string text;
    for (std::string item; items >> item;)
        appendWord(text, item.substr(0, item.find(':')));
    return text;
}

// The numbers the camera says its presets answer for, as numbersOf() writes them; "!" when it
// cannot say.
std::string listed(ICamera &camera)
{
    auto *numbered = dynamic_cast<INumberedItems *>(&camera);
    std::vector<std::int16_t> numbers;
    if (numbered == nullptr || numbered->GetNumbers(&numbers) != S_OK)
        return "!";
    std::string text;
    for (const std::int16_t number : numbers)
        appendWord(text, std::to_string(number));
    return text;
}

std::int16_t presetCount(ICamera &camera)
{
    std::int16_t count = -1;
    camera.NumPresets(&count);
    return count;
}

TEST_F(ANumberLookup, FindsTheFirstItemOfANumberThroughEveryViewAsItemsComeAndGo)
{
    importSite("<CAMERAS><CAMERA NUMBER=\"1\"><TYPE>1</TYPE><PRESETS>"
               "<PRESET NUMBER=\"3\"><COMMENT>a</COMMENT></PRESET>"
               "<PRESET><COMMENT>b</COMMENT></PRESET>"
               "<!-- between items -->"
               "<PRESET NUMBER=\"70000\"><COMMENT>c</COMMENT></PRESET>"
               "<PRESET NUMBER=\"3\"><COMMENT>d</COMMENT></PRESET>"
               "<PRESET NUMBER=\" +5 lanes\"><COMMENT>e</COMMENT></PRESET>"
               "<PRESET NUMBER=\"north\"><COMMENT>f</COMMENT></PRESET>"
               "<PRESET NUMBER=\"-32768\"><COMMENT>g</COMMENT></PRESET>"
               "<ZONE NUMBER=\"7\"><COMMENT>h</COMMENT></ZONE>"
               "<PRESET NUMBER=\"99999999999\"><COMMENT>i</COMMENT></PRESET>"
               "<PRESET NUMBER=\"&#51;\"><COMMENT>j</COMMENT></PRESET>"
               "</PRESETS></CAMERA></CAMERAS>");
    // Two views of one camera, each through its own site view, change it in turn.
    const std::shared_ptr<ICamera> first = camera();
    const std::shared_ptr<ICamera> second = camera();
    const auto add = [](ICamera &view, std::int16_t number, const char *comment) {
        std::shared_ptr<IPreset> preset;
        const HRESULT hr = view.NewPreset(number, &preset);
        return SUCCEEDED(hr) && comment != nullptr ? preset->SetComment(comment) : hr;
    };
    struct Step
    {
        const char *legend;
        std::function<HRESULT()> change;
        HRESULT result;
        const char *found;
        std::int16_t count;
    };
    const Step steps[] = {
        {"as imported: no NUMBER, beyond 16 bits and saturated find nothing; the tag plays no part",
         [] { return S_OK; }, S_OK, "-32768:g 0:f 3:a 5:e 7:h", 10},
        {"the first 3 deleted: the next 3 comes forward", [&] { return first->DeletePreset(3); }, S_OK,
         "-32768:g 0:f 3:d 5:e 7:h", 9},
        {"New of 3 gives that one and appends nothing", [&] { return add(*second, 3, nullptr); }, S_OK,
         "-32768:g 0:f 3:d 5:e 7:h", 9},
        {"New of 8 appends it", [&] { return add(*second, 8, "k"); }, S_OK, "-32768:g 0:f 3:d 5:e 7:h 8:k", 10},
        {"3 deleted again: the third 3 comes forward", [&] { return second->DeletePreset(3); }, S_OK,
         "-32768:g 0:f 3:j 5:e 7:h 8:k", 9},
        {"the last 3 deleted", [&] { return first->DeletePreset(3); }, S_OK, "-32768:g 0:f 5:e 7:h 8:k", 8},
        {"a number no item has is refused", [&] { return first->DeletePreset(3); }, E_INVALIDARG,
         "-32768:g 0:f 5:e 7:h 8:k", 8},
        {"New of 3 appends a fresh one after 8", [&] { return add(*first, 3, "l"); }, S_OK,
         "-32768:g 0:f 3:l 5:e 7:h 8:k", 9},
        {"the item that a New appended is deleted", [&] { return second->DeletePreset(8); }, S_OK,
         "-32768:g 0:f 3:l 5:e 7:h", 8},
        {"the lowest number deleted", [&] { return second->DeletePreset(-32768); }, S_OK, "0:f 3:l 5:e 7:h", 7},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.legend);
        EXPECT_EQ(step.change(), step.result);
        const std::shared_ptr<ICamera> fresh = camera();
        for (ICamera *view : {first.get(), second.get(), fresh.get()}) {
            EXPECT_EQ(found(*view), step.found);
            EXPECT_EQ(listed(*view), numbersOf(step.found));
            EXPECT_EQ(presetCount(*view), step.count);
        }
    }
}

TEST_F(ANumberLookup, FindsWhatEachImportBroughtWhileViewsOfTheSitesItReplacedLiveOn)
{
    // Each import replaces the site; the views of the one before keep its items. Once they go
    // too, the next import's elements may take the freed memory of the old ones.
    std::shared_ptr<ICamera> previous;
    std::string previousFound;
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE("import " + std::to_string(round));
        std::string presets;
        std::string expected;
        for (int number = round; number < round + 3; ++number) {
            const std::string comment = std::string("r").append(std::to_string(round));
            presets.append("<PRESET NUMBER=\"").append(std::to_string(number)).append("\"><COMMENT>");
            presets.append(comment).append("</COMMENT></PRESET>");
            appendWord(expected, std::to_string(number) + ":" + comment);
        }
        importSite("<CAMERAS><CAMERA NUMBER=\"1\"><TYPE>1</TYPE><PRESETS>" + presets + "</PRESETS></CAMERA></CAMERAS>");
        const std::shared_ptr<ICamera> current = camera();
        EXPECT_EQ(found(*current, -2, 30), expected);
        if (previous) {
            EXPECT_EQ(found(*previous, -2, 30), previousFound);
            std::shared_ptr<IPreset> preset;
            EXPECT_EQ(previous->NewPreset(-1, &preset), S_OK) << "a view of a replaced site still adds";
            EXPECT_EQ(current->GetPreset(-1, &preset), E_INVALIDARG) << "to the replaced site only";
        }
        // Every other round, the old site's views go before the next import.
        previous = round % 2 == 0 ? current : nullptr;
        previousFound = expected;
    }
}

} // namespace
} // namespace configstore::testing
