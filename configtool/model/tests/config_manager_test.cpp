// The configuration manager against the service's own site data in process (real store on a
// temporary install folder), with recording editors, a scripted prompter and file chooser, and
// a recording hub.

#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/testing/in_process_site.h"
#include "configtool/testing/recording_editor.h"
#include "configtool/testing/recording_host.h"
#include "configtool/testing/test_meta_data.h"

#include "configtool/model/guarded.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace configtool {
namespace {

using Answer = Prompter::Answer;

class AConfigManager : public ::testing::Test
{
protected:
    testing::InProcessSite site;
    testing::RecordingHost host;
    OrvexMetaData metaData = testing::testMetaData();
    ThreadsafeStringQueue queue;
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
    std::unique_ptr<OrvexConfigManager> manager
        = std::make_unique<OrvexConfigManager>(metaData, host);
    testing::RecordingEditor *first = nullptr;
    testing::RecordingEditor *second = nullptr;

    void SetUp() override
    {
        first = &addEditor("first");
        second = &addEditor("second");
        host.current = second;
        host.dataFolder = QString::fromStdString(site.folder.path().string());
        // What the main window does for a save with the dialog.
        host.saveWithDialog = [this] {
            if (!manager->IsNewSite())
                return manager->Save();
            const QString path = host.fileChooser().chooseFileToSave(host.dataFolder);
            return !path.isEmpty() && manager->SaveSiteAs(path);
        };
    }

    testing::RecordingEditor &addEditor(const char *name)
    {
        return static_cast<testing::RecordingEditor &>(
            manager->RegisterEditor(std::make_unique<testing::RecordingEditor>(
                *manager, host, QString::fromLatin1(name), log)));
    }
    void connect()
    {
        ASSERT_TRUE(manager->Connect(site.backend, queue, 3)) << shown().toStdString();
        log->clear();
    }
    QString file(const char *name) const { return QString::fromStdString(site.folder.file(name)); }
    QString shown() const { return host.scriptedPrompter.shown.join(QLatin1Char('|')); }
    QString sitePanel() const { return host.panels.texts[StatusPanels::Site]; }
    bool called(const std::string &member) const
    {
        const auto &calls = site.configData->calls;
        return std::find(calls.begin(), calls.end(), member) != calls.end();
    }
    // A command as the main window runs it: through guarded(), as from a menu.
    template <typename Command> bool run(Command command)
    {
        return guarded(host.prompter(), command);
    }
    // A saved site file with one dispenser, the site then closed.
    QString savedSite(const char *name)
    {
        manager->NewSite(true);
        std::shared_ptr<services::IDispenserData> dispensers;
        site.siteData->RetrieveDispenser(&dispensers);
        std::int16_t index = 0;
        dispensers->NewDispenser(12, &index);
        EXPECT_TRUE(manager->SaveSiteAs(file(name)));
        manager->Close();
        log->clear();
        return file(name);
    }
};

TEST_F(AConfigManager, ConnectsInOrderAndStartsOffline)
{
    connect();
    EXPECT_EQ(site.configData->calls.front(), "InitializeStorage");
    EXPECT_EQ(site.comms->calls, std::vector<std::string>{"SetSerialPort(3)"});
    EXPECT_EQ(queue.Pop(), StringMsg::status(StatusPanels::Unit, "Offline"));
    EXPECT_NE(site.backend.sink, nullptr);
    EXPECT_EQ(manager->GetCameraCtrl(), site.cameraCtrl);
    EXPECT_FALSE(manager->IsOnline());
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(AConfigManager, SaysWhyItCannotConnect)
{
    struct Case
    {
        const char *legend;
        std::function<void(testing::InProcessSite &)> arrange;
        bool connects;
        const char *shown;
    };
    const std::vector<Case> cases = {
        {"no service", [](auto &s) { s.backend.reachable = false; }, false,
         "error: Unable to connect to OrvexServices.\n"
         "The name org.orvex.OrvexServices was not provided by any .service files"},
        {"storage refused", [](auto &s) { s.configData->failures["InitializeStorage"] = E_FAIL; },
         false, "error: Unable to connect to OrvexServices. Unspecified error"},
        {"port refused", [](auto &s) { s.comms->result = E_POINTER; }, false,
         "error: Unable to connect to OrvexServices. Invalid pointer"},
        {"no events", [](auto &s) { s.backend.eventsAvailable = false; }, true,
         "warning: Unable to find connection point. No events will be received."},
    };
    for (const Case &c : cases) {
        testing::RecordingHost caseHost;
        OrvexConfigManager caseManager(metaData, caseHost);
        site.backend.reachable = true;
        site.backend.eventsAvailable = true;
        site.configData->failures.clear();
        site.comms->result = S_OK;
        c.arrange(site);
        EXPECT_EQ(caseManager.Connect(site.backend, queue, 1), c.connects) << c.legend;
        EXPECT_EQ(caseHost.scriptedPrompter.shown, QStringList{c.shown}) << c.legend;
    }
}

TEST_F(AConfigManager, CreatesANewSiteWithDefaultsThroughEveryEditorInOrder)
{
    connect();
    host.loading = true;
    manager->NewSite(true);
    EXPECT_EQ(*log,
              (QStringList{"second:DisableEditing", "first:LoadDefaults", "second:LoadDefaults",
                           "first:AfterSiteLoad", "second:AfterSiteLoad", "second:EnableEditing",
                           "second:Reload", "second:EnableEditing"}));
    EXPECT_EQ(sitePanel(), "New Site");
    EXPECT_TRUE(manager->IsModified());
    EXPECT_TRUE(manager->IsNewSite());
    EXPECT_FALSE(host.loading);
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_TRUE(host.commands.saveSite);
}

TEST_F(AConfigManager, SavesANewSiteThroughTheDialogAndOpensItAgain)
{
    connect();
    manager->NewSite(true);
    host.scriptedChooser.paths = {file("forecourt.ovx")};
    EXPECT_TRUE(host.saveSiteWithSaveDialog());
    EXPECT_TRUE(QFileInfo::exists(file("forecourt.ovx")));
    EXPECT_EQ(sitePanel(), "forecourt.ovx");
    EXPECT_FALSE(manager->IsModified());
    EXPECT_FALSE(manager->IsNewSite());

    manager->Close();
    EXPECT_EQ(sitePanel(), "No Site");
    EXPECT_TRUE(log->contains("first:ShowEmpty") && log->contains("second:ShowEmpty"));
    EXPECT_FALSE(host.commands.saveSite);
    EXPECT_FALSE(host.commands.saveSiteAs);
    EXPECT_FALSE(second->enabled);

    // A path relative to the tool is made absolute: the service opens it in its own folder.
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(site.folder.path());
    manager->OpenSiteFile("forecourt.ovx");
    std::filesystem::current_path(here);
    EXPECT_EQ(sitePanel(), "forecourt.ovx");
    EXPECT_EQ(manager->GetSiteFile(), file("forecourt.ovx"));
    EXPECT_FALSE(manager->IsModified());
    EXPECT_TRUE(second->enabled);
}

TEST_F(AConfigManager, WritesNothingForAnUnchangedSite)
{
    connect();
    const QString path = savedSite("quiet.ovx");
    manager->OpenSiteFile(path);
    const auto before = std::filesystem::last_write_time(path.toStdString());
    site.configData->calls.clear();
    EXPECT_TRUE(host.saveSiteWithSaveDialog());
    EXPECT_FALSE(called("ExportSite"));
    EXPECT_FALSE(called("Save"));
    EXPECT_EQ(std::filesystem::last_write_time(path.toStdString()), before);
}

TEST_F(AConfigManager, ChangesNothingAndSaysWhyWhenTheFileToOpenCannotBeRead)
{
    connect();
    const QString path = savedSite("kept.ovx");
    manager->OpenSiteFile(path);
    manager->SetModified();
    std::filesystem::create_directory(file("folder.ovx").toStdString());
    ASSERT_EQ(::mkfifo(file("pipe.ovx").toLocal8Bit().constData(), 0600), 0);
    const std::vector<std::pair<const char *, const char *>> cases = {
        {"missing.ovx", "No such file or directory"},
        {"folder.ovx", "it is a folder"},
        {"pipe.ovx", "it is not a plain file (a FIFO, a device or a socket)"},
    };
    for (const auto &[name, reason] : cases) {
        host.scriptedPrompter.shown.clear();
        site.configData->calls.clear();
        manager->OpenSiteFile(file(name));
        EXPECT_EQ(shown(), QStringLiteral("error: Error loading file %1\n%2")
                               .arg(QLatin1String(name), QLatin1String(reason)))
            << shown().toStdString();
        EXPECT_FALSE(called("UnloadSite")) << name;
        EXPECT_TRUE(manager->IsSiteOpen()) << name;
        EXPECT_TRUE(manager->IsModified()) << name;
        EXPECT_EQ(sitePanel(), "kept.ovx") << name;
    }
}

TEST_F(AConfigManager, ShowsNoSiteAndTheServicesReasonWhenTheImportFailsAfterTheClose)
{
    connect();
    manager->OpenSiteFile(savedSite("good.ovx"));
    std::ofstream(file("broken.ovx").toStdString()) << "<CONFIG><unfinished";
    log->clear();
    manager->OpenSiteFile(file("broken.ovx"));
    const QStringList lines = shown().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2) << shown().toStdString();
    EXPECT_EQ(lines[0], "error: Error loading file broken.ovx");
    // The store's own words on the file, not the code's text.
    EXPECT_FALSE(lines[1].isEmpty());
    EXPECT_NE(lines[1].toStdString(), DescribeResult(E_ABORT));
    EXPECT_FALSE(manager->IsSiteOpen());
    EXPECT_EQ(sitePanel(), "No Site");
    EXPECT_TRUE(log->contains("second:ShowEmpty"));
    EXPECT_TRUE(host.commands.openSite);

    // A failure the service gives no words for is told by its code.
    site.configData->failures["ImportSite"] = E_FAIL;
    host.scriptedPrompter.shown.clear();
    manager->OpenSiteFile(file("good.ovx"));
    EXPECT_EQ(shown(), "error: Error loading file good.ovx\nUnspecified error");
}

TEST_F(AConfigManager, AsksBeforeDroppingChangesAndKeepsThemOnCancelOrAFailedSave)
{
    connect();
    manager->OpenSiteFile(savedSite("first.ovx"));
    const QString other = savedSite("other.ovx");
    manager->OpenSiteFile(file("first.ovx"));
    manager->SetModified();

    host.scriptedPrompter.yesNoCancel = {Answer::Cancel};
    manager->OpenSiteFile(other);
    EXPECT_EQ(sitePanel(), "first.ovx");

    // Yes, but a tab refuses the save: the command stops and the changes stay.
    second->valid = false;
    host.scriptedPrompter.yesNoCancel = {Answer::Yes};
    manager->NewSite(true);
    EXPECT_EQ(sitePanel(), "first.ovx");
    EXPECT_TRUE(manager->IsModified());

    // Yes, but the service fails the save: the same, after the error box.
    second->valid = true;
    site.configData->failures["Save"] = E_FAIL;
    host.scriptedPrompter.shown.clear();
    host.scriptedPrompter.yesNoCancel = {Answer::Yes};
    EXPECT_TRUE(run([&] { manager->OpenSiteFile(other); }));
    EXPECT_EQ(shown(), "ask: Save changes to the current site|error: Unspecified error");
    EXPECT_EQ(sitePanel(), "first.ovx");
    EXPECT_TRUE(manager->IsModified());
    EXPECT_EQ(host.panels.texts[StatusPanels::Activity], "");
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_TRUE(second->enabled);

    site.configData->failures.clear();
    host.scriptedPrompter.yesNoCancel = {Answer::No};
    manager->OpenSiteFile(other);
    EXPECT_EQ(sitePanel(), "other.ovx");
}

TEST_F(AConfigManager, ResumesEditingOnlyAtTheEndOfTheOutermostCommand)
{
    connect();
    manager->OpenSiteFile(savedSite("nested.ovx"));
    manager->SetModified();
    log->clear();
    host.scriptedPrompter.yesNoCancel = {Answer::Yes};
    manager->NewSite(false);
    // The save inside New leaves the editor paused until New has loaded the new site.
    const auto firstEnable = log->indexOf("second:EnableEditing");
    EXPECT_GT(firstEnable, log->indexOf("second:AfterSiteLoad"));
    EXPECT_TRUE(log->contains("second:Validate"));
    EXPECT_TRUE(second->enabled);
}

TEST_F(AConfigManager, RestoresEveryFlagWhenAServiceCallFails)
{
    connect();
    site.configData->failures["LoadSite"] = E_FAIL;
    host.loading = true;
    EXPECT_FALSE(run([&] { manager->NewSite(true); }));
    EXPECT_EQ(shown(), "error: Unspecified error");
    EXPECT_FALSE(host.loading);
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_EQ(host.panels.texts[StatusPanels::Activity], "");
    EXPECT_TRUE(host.commands.newSite);
    EXPECT_TRUE(host.commands.openSite);

    site.configData->failures.clear();
    manager->NewSite(true);
    EXPECT_TRUE(manager->IsSiteOpen());
    EXPECT_TRUE(second->enabled);
}

TEST_F(AConfigManager, RefusesCloseWhileBusyAndKeepsTheSiteOnCancel)
{
    connect();
    manager->NewSite(true);
    host.scriptedPrompter.yesNoCancel = {Answer::Cancel, Answer::Cancel};
    manager->Close();
    EXPECT_TRUE(manager->IsSiteOpen());
    EXPECT_FALSE(manager->CanClose());
    EXPECT_TRUE(manager->IsSiteOpen());
    EXPECT_TRUE(second->enabled);

    site.backend.sink->OrvexOnline("V1");
    site.backend.holdLongCommands = true;
    host.scriptedPrompter.yesNoCancel = {Answer::No};
    manager->Transfer(true);
    ASSERT_TRUE(manager->IsBusy());
    host.scriptedPrompter.shown.clear();
    manager->Close();
    EXPECT_FALSE(manager->CanClose());
    manager->NewSite(true);
    manager->Transfer(false);
    EXPECT_TRUE(manager->IsSiteOpen());
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(site.comms->calls.back(), "SetSerialPort(3)");
    site.backend.finishHeldCommands();
    manager->TransferTimeout();
    EXPECT_FALSE(manager->IsBusy());
    EXPECT_TRUE(second->enabled);
}

TEST_F(AConfigManager, RefusesATransferOfflineOrWithoutASiteToSend)
{
    connect();
    manager->Transfer(true);
    EXPECT_TRUE(log->isEmpty());

    manager->NewSite(true);
    log->clear();
    host.scriptedPrompter.yesNoCancel = {Answer::No};
    manager->Transfer(false);
    EXPECT_EQ(shown(), "ask: Save changes to the current site|error: Orvex is offline");
    EXPECT_EQ(site.comms->calls, std::vector<std::string>{"SetSerialPort(3)"});
    EXPECT_TRUE(second->enabled);

    // Send with unsaved changes asks first; Cancel ends with editing resumed.
    site.backend.sink->OrvexOnline("V1");
    host.scriptedPrompter.shown.clear();
    host.scriptedPrompter.yesNoCancel = {Answer::Cancel};
    manager->Transfer(true);
    EXPECT_EQ(shown(), "ask: Save changes to the current site");
    EXPECT_FALSE(manager->IsBusy());
    EXPECT_TRUE(second->enabled);
}

TEST_F(AConfigManager, RetrievesIntoABlankSiteAndEndsBusyWhenTimeAndCallAreBothDone)
{
    connect();
    site.backend.sink->OrvexOnline("V2.5");
    site.backend.holdLongCommands = true;
    log->clear();
    manager->Transfer(false);
    EXPECT_TRUE(manager->IsBusy());
    EXPECT_TRUE(log->contains("second:ClearAll"));
    EXPECT_FALSE(log->contains("second:LoadDefaults"));
    EXPECT_EQ(host.panels.texts[StatusPanels::Activity], "Retrieving data from Orvex");
    EXPECT_FALSE(second->enabled);
    EXPECT_EQ(host.waitDepth, 1);
    EXPECT_EQ(host.commands,
              (CommandState{.clearMemory = true, .toggleDebug = true, .changeComPort = true}));

    // The busy time is over, but the service is still inside the command.
    manager->TransferTimeout();
    EXPECT_TRUE(manager->IsBusy());
    site.backend.finishHeldCommands();
    EXPECT_FALSE(manager->IsBusy());
    EXPECT_EQ(site.comms->calls.back(), "ReadDataFromOrvex()");
    EXPECT_TRUE(manager->IsModified());
    EXPECT_EQ(sitePanel(), "New Site");
    EXPECT_EQ(log->back(), "second:Reload");
    EXPECT_TRUE(second->enabled);
    EXPECT_EQ(host.waitDepth, 0);
    EXPECT_EQ(host.panels.texts[StatusPanels::Activity], "");
}

TEST_F(AConfigManager, EndsASendOnItsTimerAfterAFailedCall)
{
    connect();
    manager->NewSite(true);
    site.backend.sink->OrvexOnline("V2.5");
    manager->setBusyTimes(std::chrono::milliseconds(20), std::chrono::milliseconds(20));
    site.comms->result = E_POINTER;
    host.scriptedPrompter.yesNoCancel = {Answer::No};
    manager->Transfer(true);
    EXPECT_EQ(site.comms->calls.back(), "SendCurrentSiteToOrvex()");
    EXPECT_TRUE(host.scriptedPrompter.shown.contains("error: Invalid pointer"));
    EXPECT_TRUE(manager->IsBusy());
    QElapsedTimer clock;
    clock.start();
    while (manager->IsBusy() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(manager->IsBusy());
    EXPECT_TRUE(manager->IsModified()) << "a send saves nothing";
    EXPECT_TRUE(second->enabled);
}

TEST_F(AConfigManager, PassesTheToolsCommandsToTheHub)
{
    connect();
    host.scriptedPrompter.okCancel = {false, true};
    manager->ClearMemory();
    manager->ClearMemory();
    manager->ToggleDebug();
    manager->SetSerialPort(4);
    EXPECT_EQ(site.comms->calls, (std::vector<std::string>{"SetSerialPort(3)", "ClearOrvexMemory()",
                                                           "ToggleDebug(0)", "SetSerialPort(4)"}));
    EXPECT_EQ(shown(), "ask: Clear FWD memory|ask: Clear FWD memory");

    // During a send the service answers Toggle Debug only after the download: the window does
    // not wait for it, and a refusal still reaches the error box when the answer comes.
    site.backend.holdLongCommands = true;
    site.comms->result = E_FAIL;
    manager->ToggleDebug();
    EXPECT_EQ(site.comms->calls.back(), "SetSerialPort(4)");
    EXPECT_EQ(site.backend.heldCommands.size(), 1u);
    site.backend.finishHeldCommands();
    EXPECT_EQ(site.comms->calls.back(), "ToggleDebug(0)");
    EXPECT_EQ(host.scriptedPrompter.shown.back(), "error: Unspecified error");
}

struct MenuCase
{
    const char *legend;
    bool loading;
    bool siteOpen;
    bool online;
    bool busy;
    CommandState expected;
};

class AConfigManagersMenus : public AConfigManager, public ::testing::WithParamInterface<MenuCase>
{
};

TEST_P(AConfigManagersMenus, FollowTheTable)
{
    const MenuCase &c = GetParam();
    connect();
    second->canAdd = true;
    second->canDelete = false;
    if (c.siteOpen)
        manager->NewSite(true);
    if (c.online)
        site.backend.sink->OrvexOnline("V1");
    if (c.busy) {
        site.backend.holdLongCommands = true;
        host.scriptedPrompter.yesNoCancel = {Answer::No};
        manager->Transfer(true);
        ASSERT_TRUE(manager->IsBusy());
    }
    host.loading = c.loading;
    manager->UpdateMenus();
    EXPECT_EQ(host.commands, c.expected) << c.legend;
}

constexpr CommandState kUnitTools{.clearMemory = true, .toggleDebug = true, .changeComPort = true};

INSTANTIATE_TEST_SUITE_P(
    Rows, AConfigManagersMenus,
    ::testing::Values(MenuCase{"loading, site, online", true, true, true, false, kUnitTools},
                      MenuCase{"loading, no site, offline", true, false, false, false,
                               CommandState{.changeComPort = true}},
                      MenuCase{"busy", false, true, true, true, kUnitTools},
                      MenuCase{"idle, site, online", false, true, true, false,
                               CommandState{true, true, true, true, true, true, true, true, false,
                                            true, true, true}},
                      MenuCase{"idle, site, offline", false, true, false, false,
                               CommandState{.newSite = true,
                                            .openSite = true,
                                            .saveSite = true,
                                            .saveSiteAs = true,
                                            .closeSite = true,
                                            .editNew = true,
                                            .changeComPort = true}},
                      MenuCase{"idle, no site, online", false, false, true, false,
                               CommandState{.newSite = true,
                                            .openSite = true,
                                            .retrieve = true,
                                            .clearMemory = true,
                                            .toggleDebug = true,
                                            .changeComPort = true}},
                      MenuCase{
                          "idle, no site, offline", false, false, false, false,
                          CommandState{.newSite = true, .openSite = true, .changeComPort = true}}),
    [](const auto &info) { return "Row" + std::to_string(info.index); });

} // namespace
} // namespace configtool
