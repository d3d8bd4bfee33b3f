#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/testing/recording_host.h"

#include <gtest/gtest.h>

namespace configtool {
namespace {

// An editor whose answers to CanAdd and CanDelete are set by the test.
class AnsweringEditor : public BaseEditor
{
public:
    using BaseEditor::BaseEditor;
    void QuickAdd() override {}
    void DeleteCurrent() override {}
    void DisableEditing() override {}
    void InitView() override {}
    void AddNew() override {}
    void Reload() override {}
    void LoadDefaults() override {}
    void ClearAll() override {}
    void EnableEditing() override {}
    bool Validate() override { return true; }
    bool CanAdd() override { return canAdd; }
    bool CanDelete() override { return canDelete; }
    void AfterSiteLoad() override {}

    bool canAdd = true;
    bool canDelete = false;
};

TEST(AConfigManagersCommandState, EnablesOnlyTheToolsThatNeedTheUnitWhileLoading)
{
    testing::RecordingHost host;
    OrvexMetaData metaData;
    OrvexConfigManager manager(metaData, host);
    host.loading = true;
    manager.SetOnline();

    CommandState expected;
    expected.clearMemory = true;
    expected.toggleDebug = true;
    expected.changeComPort = true;
    EXPECT_EQ(host.commands, expected);
}

TEST(AConfigManagersCommandState, FollowsTheCurrentEditorOnlyWithASiteOpen)
{
    testing::RecordingHost host;
    OrvexMetaData metaData;
    OrvexConfigManager manager(metaData, host);
    auto &editor = static_cast<AnsweringEditor &>(
        manager.RegisterEditor(std::make_unique<AnsweringEditor>(manager, host)));
    host.current = &editor;

    manager.SetOffline();
    EXPECT_FALSE(host.commands.editNew);
    EXPECT_TRUE(host.commands.newSite);
    EXPECT_FALSE(host.commands.retrieve);
}

} // namespace
} // namespace configtool
