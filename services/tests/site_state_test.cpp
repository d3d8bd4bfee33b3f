// What every member of the site data object answers in each state it can be in.

#include "site_test_support.h"

namespace services::testing {
namespace {

enum class State { Uninitialised, StorageReady, SiteLoaded, ReadFromUnit };

struct MemberRow
{
    const char *member;
    std::function<HRESULT(OrvexConfigData &, const std::string &file)> call;
    // Expected in the order of State.
    std::array<HRESULT, 4> expected;
};

const std::string kDefault = "Default";
const std::string kOther = "Other";

template <typename Interface>
auto retrieve(HRESULT (IOrvexConfigData::*member)(std::shared_ptr<Interface> *))
{
    return [member](OrvexConfigData &site, const std::string &) {
        std::shared_ptr<Interface> table;
        return (site.*member)(&table);
    };
}

const std::vector<MemberRow> &rows()
{
    constexpr HRESULT U = E_UNEXPECTED;
    static const std::vector<MemberRow> table = {
        {"LoadSite", [](auto &s, auto &) { return s.LoadSite(&kDefault); }, {U, S_OK, S_FALSE, S_FALSE}},
        {"GetDwellTime", [](auto &s, auto &) { std::int16_t t; return s.GetDwellTime(1, &t); }, {U, U, S_OK, S_OK}},
        {"SetDwellTime", [](auto &s, auto &) { return s.SetDwellTime(1, 5); }, {U, U, S_OK, S_OK}},
        {"GetIntervisitTime", [](auto &s, auto &) { std::int16_t t; return s.GetIntervisitTime(5, &t); },
         {U, U, S_OK, S_OK}},
        {"SetIntervisitTime", [](auto &s, auto &) { return s.SetIntervisitTime(5, 5); }, {U, U, S_OK, S_OK}},
        {"RetrieveDevice", retrieve(&IOrvexConfigData::RetrieveDevice), {U, U, S_OK, S_OK}},
        {"RetrieveDispenser", retrieve(&IOrvexConfigData::RetrieveDispenser), {U, U, S_OK, S_OK}},
        {"RetrieveEvent", retrieve(&IOrvexConfigData::RetrieveEvent), {U, U, S_OK, S_OK}},
        {"RetrieveCamera", retrieve(&IOrvexConfigData::RetrieveCamera), {U, U, S_OK, S_OK}},
        {"RetrievePOS", retrieve(&IOrvexConfigData::RetrievePOS), {U, U, S_OK, S_OK}},
        // A site read from the unit into no stored site has nowhere to be saved.
        {"Save", [](auto &s, auto &) { return s.Save(); }, {U, U, S_OK, U}},
        {"NewSite", [](auto &s, auto &) { return s.NewSite(&kOther); }, {U, S_OK, S_OK, S_OK}},
        {"ExportSite", [](auto &s, auto &f) { return s.ExportSite(&kDefault, &f); }, {U, S_OK, S_OK, S_OK}},
        {"ImportSite", [](auto &s, auto &f) { return s.ImportSite(&kDefault, &f); }, {U, S_OK, E_FAIL, E_FAIL}},
        {"UnloadSite", [](auto &s, auto &) { return s.UnloadSite(); }, {U, S_OK, S_OK, S_OK}},
        {"DeleteSite", [](auto &s, auto &) { return s.DeleteSite(&kOther); }, {U, S_FALSE, E_ABORT, E_ABORT}},
        {"EnumSites",
         [](auto &s, auto &) {
             std::vector<std::string> sites;
             std::int32_t count = 0;
             return s.EnumSites(&sites, &count);
         },
         {U, S_OK, S_OK, S_OK}},
        {"UnInitializeStorage", [](auto &s, auto &) { return s.UnInitializeStorage(); }, {S_OK, S_OK, S_OK, S_OK}},
        {"UnloadSiteButKeepCameraData", [](auto &s, auto &) { return s.UnloadSiteButKeepCameraData(); },
         {U, S_OK, S_OK, S_OK}},
        {"InitializeStorage", [](auto &s, auto &) { return s.InitializeStorage(); }, {S_OK, S_OK, S_OK, S_OK}},
    };
    return table;
}

class TheSiteData : public SiteOverStore
{
protected:
    const std::string siteFile = folder.file("default.ovx");

    void enter(State state)
    {
        if (state == State::Uninitialised)
            return;
        ASSERT_EQ(site.InitializeStorage(), S_OK);
        ASSERT_EQ(site.NewSite(&defaultName), S_OK);
        ASSERT_EQ(site.ExportSite(&defaultName, &siteFile), S_OK);
        if (state == State::SiteLoaded) {
            ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
        }
        if (state == State::ReadFromUnit) {
            ASSERT_EQ(site.RequestSiteFromUnit(), S_OK);
        }
    }
};

TEST_F(TheSiteData, AnswersEveryMemberAsItsStateAllows)
{
    const char *names[] = {"uninitialised", "storage ready", "site loaded", "read from unit"};
    for (const auto &row : rows()) {
        for (int s = 0; s < 4; ++s) {
            site.UnInitializeStorage();
            enter(static_cast<State>(s));
            EXPECT_EQ(row.call(site, siteFile), row.expected.at(static_cast<std::size_t>(s)))
                << row.member << " when " << names[s];
        }
    }
}

TEST_F(TheSiteData, RefusesNullPointers)
{
    enter(State::StorageReady);
    EXPECT_EQ(site.LoadSite(nullptr), E_POINTER);
    EXPECT_EQ(site.NewSite(nullptr), E_POINTER);
    EXPECT_EQ(site.ExportSite(&defaultName, nullptr), E_POINTER);
    EXPECT_EQ(site.ImportSite(nullptr, &defaultName), E_POINTER);
    EXPECT_EQ(site.DeleteSite(nullptr), E_POINTER);
    EXPECT_EQ(site.EnumSites(nullptr, nullptr), E_POINTER);
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    EXPECT_EQ(site.RetrieveDevice(nullptr), E_POINTER);
    EXPECT_EQ(site.RetrievePOS(nullptr), E_POINTER);
    // The pointer comes before the priority.
    EXPECT_EQ(site.GetDwellTime(9, nullptr), E_POINTER);
}

TEST_F(TheSiteData, RefusesPrioritiesOutsideOneToFive)
{
    enter(State::SiteLoaded);
    std::int16_t time = 0;
    for (std::int16_t priority : {0, 6, -1}) {
        EXPECT_EQ(site.GetDwellTime(priority, &time), E_INVALIDARG);
        EXPECT_EQ(site.GetIntervisitTime(priority, &time), E_INVALIDARG);
        EXPECT_EQ(site.SetDwellTime(priority, 3), E_INVALIDARG);
        EXPECT_EQ(site.SetIntervisitTime(priority, 3), E_INVALIDARG);
    }
    ASSERT_EQ(site.SetIntervisitTime(5, -7), S_OK);
    ASSERT_EQ(site.GetIntervisitTime(5, &time), S_OK);
    EXPECT_EQ(time, -7);
}

TEST_F(TheSiteData, KeepsHandingOutTheSameTablesAcrossUnloads)
{
    enter(State::SiteLoaded);
    std::shared_ptr<ICameraData> before, after;
    ASSERT_EQ(site.RetrieveCamera(&before), S_OK);
    std::int16_t camera = 0;
    before->NewCamera(3, &camera);
    ASSERT_EQ(site.UnloadSite(), S_OK);
    std::int16_t count = -1;
    ASSERT_EQ(before->CountCameras(&count), S_OK);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(site.LoadSite(&defaultName), S_OK);
    ASSERT_EQ(site.RetrieveCamera(&after), S_OK);
    EXPECT_EQ(before, after);
    // A table held past the end of storage is still safe to use, and answers as there were no
    // storage.
    ASSERT_EQ(site.UnInitializeStorage(), S_OK);
    EXPECT_EQ(before->NewCamera(4, &camera), E_UNEXPECTED);
}

TEST_F(TheSiteData, ZeroesTheTimesWhenUnloading)
{
    enter(State::SiteLoaded);
    // A new stored site has every time at 1.
    std::int16_t time = 0;
    ASSERT_EQ(site.GetDwellTime(3, &time), S_OK);
    EXPECT_EQ(time, 1);
    ASSERT_EQ(site.UnloadSiteButKeepCameraData(), S_OK);
    ASSERT_EQ(site.GetDwellTime(3, &time), S_OK);
    EXPECT_EQ(time, 0);
}

} // namespace
} // namespace services::testing
