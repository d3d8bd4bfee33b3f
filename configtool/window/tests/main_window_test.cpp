// Before any Qt header: the service's headers use names that Qt defines as macros.
#include "bus_test_support.h"

#include "configtool/window/frm_main.h"

#include "configtool/window/about_dialog.h"
#include "configtool/window/camera_type_dialog.h"
#include "configtool/window/com_port_dialog.h"
#include "configtool/window/messages_window.h"
#include "configtool/window/options_dialog.h"
#include "configtool/window/single_instance.h"
#include "configtool/window/tool_program.h"

#include "configtool/editors/mgrid.h"
#include "configtool/editors/tests/site_tables.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/testing/in_process_site.h"
#include "configtool/testing/recording_host.h"
#include "configtool/testing/test_meta_data.h"
#include "window_test_support.h"

#include "platform/profile_file.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QSysInfo>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

namespace configtool {
namespace {

// One configuration tool on the service's site in process.
class AMainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installFolder = QString::fromStdString(site.folder.path().string());
        ASSERT_TRUE(QFile::copy(testing::shippedMetaDataPath(),
                                QDir(installFolder).filePath(QStringLiteral("OrvexMetaData.xml"))));
    }

    // The program's start: true when the window came up.
    bool start(const QStringList &files = {})
    {
        window = std::make_unique<FrmMain>(installFolder, site.backend, prompter, chooser);
        if (!window->init(files))
            return false;
        window->show();
        return true;
    }

    QAction *action(const char *name) const
    {
        return window->findChild<QAction *>(QLatin1String(name));
    }

    void trigger(const char *name) { action(name)->trigger(); }

    QString settingsPath() const
    {
        return QDir(installFolder).filePath(QStringLiteral("OrvexSettings.ini"));
    }

    bool called(const std::vector<std::string> &calls, const std::string &call) const
    {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

    // A new site with defaults, saved to a file of the data folder.
    QString makeSiteFile(const QString &name)
    {
        trigger("MenuNewSite");
        const QString path = QDir(window->dataDirectory()).filePath(name);
        chooser.paths.push_back(path);
        trigger("MenuSaveSite");
        EXPECT_TRUE(QFileInfo::exists(path));
        return path;
    }

    // Runs `inDialog` on the modal dialog that the action opens, once it is shown.
    template <typename Dialog, typename Inside>
    void inModal(const char *actionName, Inside inDialog)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            inDialog(*dialog);
            ran = true;
        });
        trigger(actionName);
        EXPECT_TRUE(ran);
    }

    testing::InProcessSite site;
    QString installFolder;
    testing::ScriptedPrompter prompter;
    testing::ScriptedFileChooser chooser;
    std::unique_ptr<FrmMain> window;
};

TEST_F(AMainWindow, StartsWithoutASiteAndTheMenusForIt)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Forecourt Watch Director"));
    EXPECT_EQ(window->pageControl()->currentIndex(), static_cast<int>(Tab::Devices));
    EXPECT_EQ(window->panelText(StatusPanels::Site), QStringLiteral("No Site"));
    // The Messages window's drain brings the unit's state.
    EXPECT_TRUE(testing::waitUntil(
        [&] { return window->panelText(StatusPanels::Unit) == QStringLiteral("Offline"); }));
    EXPECT_TRUE(called(site.comms->calls, "SetSerialPort(1)"));
    EXPECT_TRUE(action("MenuNewSite")->isEnabled());
    EXPECT_TRUE(action("MenuOpenSite")->isEnabled());
    EXPECT_FALSE(action("MenuSaveSite")->isEnabled());
    EXPECT_FALSE(action("MenuDownloadToOrvex")->isEnabled());
    EXPECT_FALSE(action("MenuRetrieveFromOrvex")->isEnabled());
    EXPECT_FALSE(action("MenuAdd")->isEnabled());
    EXPECT_TRUE(action("MenuChangeComPort")->isEnabled());
    EXPECT_TRUE(action("MenuOptions")->isEnabled());
    EXPECT_TRUE(action("MenuCameraType")->isEnabled());
    for (std::size_t i = 0; i < kTabSheets.size(); ++i) {
        EXPECT_EQ(window->pageControl()->tabText(int(i)), QLatin1String(kTabSheets[i].caption));
        EXPECT_EQ(window->pageControl()->widget(int(i))->objectName(),
                  QLatin1String(kTabSheets[i].objectName));
        EXPECT_NE(window->editorOf(kTabSheets[i].tab), nullptr);
    }
    // Without a site no tab adds anything.
    for (const char *add : {"BtnAddDevice", "BtnAddCamera", "BtnAddDispenser", "BtnAddEvent",
                            "BtnAddPOS"}) {
        const auto *button = window->findChild<QPushButton *>(QLatin1String(add));
        ASSERT_NE(button, nullptr) << add;
        EXPECT_FALSE(button->isEnabled()) << add;
    }
    // The fwd.dat defaults are written back at the start.
    const ProfileFile branding(
        QDir(installFolder).filePath(QStringLiteral("fwd.dat")).toStdString());
    EXPECT_EQ(branding.readString("Branding", "ProductName", ""), "Forecourt Watch Director");
}

TEST_F(AMainWindow, OffersItsCommandsWithTheirShortcutsAndTips)
{
    ASSERT_TRUE(start());
    struct Row
    {
        const char *action;
        const char *text;
        const char *shortcut;
        const char *toolButton;
        const char *toolTip;
    };
    const Row rows[] = {
        {"MenuNewSite", "New", "Ctrl+N", "ToolBtnNewSite", "New Site"},
        {"MenuOpenSite", "Open...", "Ctrl+O", "ToolBtnOpenSite", "Open Site"},
        {"MenuCloseSite", "Close", "Ctrl+F4", nullptr, nullptr},
        {"MenuSaveSite", "Save", "Ctrl+S", "ToolBtnSaveSite", "Save Site"},
        {"MenuSaveAs", "Save As ...", "", nullptr, nullptr},
        {"MenuDownloadToOrvex", "Send Data to FWD", "Ctrl+G", "ToolBtnDownloadToORVEX",
         "Send Data to ORVEX"},
        {"MenuRetrieveFromOrvex", "Retrieve Data from FWD", "Ctrl+R", "ToolBtnRetrieveFromOrvex",
         "Retrieve Data From ORVEX"},
        {"MenuExit", "Exit", "", nullptr, nullptr},
        {"MenuAdd", "New", "Ctrl+A", nullptr, nullptr},
        {"MenuDelete", "Delete", "Ctrl+D", nullptr, nullptr},
        {"Messages1", "Messages...", "", nullptr, nullptr},
        {"MenuToggleDebug", "Toggle Debug", "Ctrl+T", nullptr, nullptr},
        {"MenuClearOrvexMemory", "Clear FWD Memory", "", nullptr, nullptr},
        {"MenuChangeComPort", "Change Com Port...", "", "ToolBtnChangeComPort", "Change Com Port"},
        {"MenuOptions", "Options...", "", nullptr, nullptr},
        {"MenuCameraType", "Camera Type...", "", nullptr, nullptr},
        {"About1", "About...", "", nullptr, nullptr},
    };
    for (const Row &row : rows) {
        QAction *item = action(row.action);
        ASSERT_NE(item, nullptr) << row.action;
        EXPECT_EQ(item->text(), QLatin1String(row.text)) << row.action;
        EXPECT_EQ(item->shortcut(), QKeySequence(QLatin1String(row.shortcut))) << row.action;
        if (row.toolButton == nullptr)
            continue;
        auto *button = window->findChild<QToolButton *>(QLatin1String(row.toolButton));
        ASSERT_NE(button, nullptr) << row.toolButton;
        EXPECT_EQ(button->defaultAction(), item);
        EXPECT_EQ(button->toolTip(), QLatin1String(row.toolTip));
    }
}

TEST_F(AMainWindow, StepsThroughItsTabsAndReloadsEach)
{
    ASSERT_TRUE(start());
    trigger("MenuNewSite");
    for (const TabSheet &sheet : kTabSheets) {
        QWidget *tab = window->pageControl()->widget(static_cast<int>(sheet.tab));
        const QString suffix = QLatin1String(sheet.objectName).mid(8);
        const struct
        {
            QString name;
            Tab target;
            const char *tip;
        } buttons[] = {{QStringLiteral("BtnPrevious") + suffix, sheet.previous, "Previous Page"},
                       {QStringLiteral("BtnNext") + suffix, sheet.next, "Next Page"}};
        for (const auto &button : buttons) {
            auto *shown = tab->findChild<QPushButton *>(button.name);
            if (button.target == sheet.tab) {
                EXPECT_EQ(shown, nullptr) << button.name.toStdString();
                continue;
            }
            ASSERT_NE(shown, nullptr) << button.name.toStdString();
            EXPECT_EQ(shown->toolTip(), QLatin1String(button.tip));
            window->pageControl()->setCurrentIndex(static_cast<int>(sheet.tab));
            // The site changes behind the editors: the target tab must show it when it comes up.
            ASSERT_EQ(site.siteData->SetDwellTime(1, 40), S_OK);
            shown->click();
            EXPECT_EQ(window->pageControl()->currentIndex(), static_cast<int>(button.target))
                << button.name.toStdString();
            EXPECT_FALSE(window->editorOf(button.target)->isBusy()) << button.name.toStdString();
        }
    }
    window->pageControl()->setCurrentIndex(static_cast<int>(Tab::POSes));
    ASSERT_EQ(site.siteData->SetDwellTime(1, 42), S_OK);
    window->findChild<QPushButton *>(QStringLiteral("BtnNextPOSes"))->click();
    EXPECT_EQ(window->findChild<QSpinBox *>(QStringLiteral("SpinPriority1DwellTime"))->value(), 42);
}

TEST_F(AMainWindow, OpensTheCommandLinesFileByItsFullPath)
{
    ASSERT_TRUE(start());
    const QString path = makeSiteFile(QStringLiteral("Forecourt.ovx"));
    trigger("MenuCloseSite");
    window.reset();

    const QString before = QDir::currentPath();
    QDir::setCurrent(QFileInfo(path).absolutePath());
    const bool started = start({QStringLiteral("Forecourt.ovx")});
    QDir::setCurrent(before);
    ASSERT_TRUE(started);
    EXPECT_EQ(window->panelText(StatusPanels::Site), QStringLiteral("Forecourt.ovx"));
    EXPECT_EQ(window->manager().GetSiteFile(), path);
    EXPECT_FALSE(window->isLoading());
    EXPECT_TRUE(action("MenuSaveSite")->isEnabled());
}

TEST_F(AMainWindow, EndsItsStartWhenTheServiceCannotBeReached)
{
    site.backend.reachable = false;
    EXPECT_FALSE(start());
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(
        prompter.shown[0].startsWith(QStringLiteral("error: Unable to connect to OrvexServices")))
        << prompter.shown[0].toStdString();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(AMainWindow, GivesACameraTypeOnItsFirstActivation)
{
    ASSERT_TRUE(start());
    site.cameraCtrl->calls.clear();
    window->activateWindow();
    ASSERT_TRUE(testing::waitUntil([&] { return window->cameraType().isSet(); }));
    EXPECT_EQ(window->cameraType().value(), 40);
    EXPECT_TRUE(called(site.cameraCtrl->calls, "SelectCamera(1,40)"));
}

TEST_F(AMainWindow, HoldsPresetNumbersToTheCameraTypeOfItsLastRun)
{
    ASSERT_TRUE(start());
    const QString path = makeSiteFile(QStringLiteral("Forecourt.ovx"));
    trigger("MenuCloseSite");
    window->cameraType().set(40);
    ASSERT_TRUE(window->close());
    window.reset();

    // Opened on the Presets tab, no device is read that would set the type again.
    ASSERT_TRUE(start());
    window->pageControl()->setCurrentIndex(static_cast<int>(Tab::Presets));
    chooser.paths.push_back(path);
    trigger("MenuOpenSite");
    ASSERT_TRUE(window->manager().IsSiteOpen());
    EXPECT_EQ(window->findChild<QSpinBox *>(QStringLiteral("SpnPresetsSelectPreset"))->maximum(),
              94);
}

TEST_F(AMainWindow, IgnoresNewAndOpenWhileASiteLoads)
{
    ASSERT_TRUE(start());
    window->setLoading(true);
    chooser.paths.push_back(QStringLiteral("/nowhere/x.ovx"));
    trigger("MenuNewSite");
    trigger("MenuOpenSite");
    EXPECT_FALSE(window->manager().IsSiteOpen());
    EXPECT_EQ(chooser.paths.size(), 1u);
    EXPECT_TRUE(window->isLoading());
}

TEST_F(AMainWindow, KeepsTheSettingsFileWhenClosingIsCancelled)
{
    ASSERT_TRUE(start());
    ProfileFile(settingsPath().toStdString()).writeInt("MainForm", "Top", 7);
    const QByteArray before = testing::readAll(settingsPath());
    trigger("MenuNewSite");
    prompter.yesNoCancel.push_back(Prompter::Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompter.shown.constLast(), QStringLiteral("ask: Save changes to the current site"));
    EXPECT_EQ(testing::readAll(settingsPath()), before);
}

TEST_F(AMainWindow, WritesItsSettingsWhenItCloses)
{
    ASSERT_TRUE(start());
    inModal<ComPortDialog>("MenuChangeComPort", [](ComPortDialog &dialog) {
        dialog.portSpin()->setValue(9);
        dialog.accept();
    });
    // The port reaches the service at once, before any save.
    EXPECT_EQ(site.comms->calls.back(), "SetSerialPort(9)");
    EXPECT_TRUE(window->panelText(StatusPanels::Activity).isEmpty());
    action("Messages1")->trigger();
    EXPECT_TRUE(window->messagesWindow()->isVisible());
    // A new site's camera driver sets the camera type; a later choice wins.
    trigger("MenuNewSite");
    window->cameraType().set(80);
    prompter.yesNoCancel.push_back(Prompter::Answer::No);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->messagesWindow()->isClosedForGood());

    const ProfileFile settings(settingsPath().toStdString());
    EXPECT_EQ(settings.readInt("Settings", "ComPort", -1), 9);
    EXPECT_EQ(settings.readInt("Settings", "CameraType", -1), 80);
    EXPECT_EQ(settings.readInt("View", "Messages", -1), 1);
    EXPECT_EQ(settings.readInt("MainForm", "Top", -1), window->y());
    EXPECT_EQ(settings.readInt("MainForm", "Left", -1), window->x());
}

TEST_F(AMainWindow, SaysWhenItsSettingsCannotBeWrittenAndClosesAnyway)
{
    ASSERT_TRUE(start());
    ASSERT_TRUE(QDir().mkpath(settingsPath()));
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(
        prompter.shown.contains(QStringLiteral("error: Unable to write to ") + settingsPath()));
}

TEST_F(AMainWindow, OpensTheFileASecondInstanceSends)
{
    ASSERT_TRUE(start());
    const QString path = makeSiteFile(QStringLiteral("Second.ovx"));
    trigger("MenuCloseSite");
    ASSERT_FALSE(window->manager().IsSiteOpen());

    QTemporaryDir runtime;
    SingleInstance first(runtime.path());
    ASSERT_TRUE(first.acquire());
    QObject::connect(&first, &SingleInstance::requested, window.get(), &FrmMain::openRequested);
    ASSERT_TRUE(first.listen());
    SingleInstance second(runtime.path());
    SingleInstance::Claim claim = SingleInstance::Claim::First;
    std::thread sender([&] { claim = second.claim(makeOpenRequest(path)); });
    EXPECT_TRUE(testing::waitUntil([&] { return window->manager().IsSiteOpen(); }));
    sender.join();
    EXPECT_EQ(claim, SingleInstance::Claim::HandedOver);
    EXPECT_EQ(window->manager().GetSiteFile(), path);
    EXPECT_EQ(window->panelText(StatusPanels::Site), QStringLiteral("Second.ovx"));
}

TEST_F(AMainWindow, TakesThePlaceOfAFirstInstanceThatEndsInItsStartAndOpensItsFile)
{
    ASSERT_TRUE(start());
    const QString path = makeSiteFile(QStringLiteral("Kept.ovx"));
    trigger("MenuCloseSite");
    window.reset();

    // A first instance that holds the lock, does not listen yet, and ends a little later.
    QTemporaryDir runtime;
    const std::string lifetime = std::to_string(scaled(std::chrono::seconds(1)).count() / 1000);
    bustest::Child holder({"/usr/bin/sleep", lifetime}, {}, false);
    testing::writeAll(runtime.filePath(QStringLiteral("ORVEXCONFIGMGR.lock")),
                      QByteArray::number(holder.pid()) + "\nsleep\n"
                          + QSysInfo::machineHostName().toUtf8() + "\n");
    std::thread reaper([&] { holder.wait(); });
    ToolProgram program(prompter, chooser, runtime.path());
    EXPECT_EQ(program.claim({path}), ToolProgram::Outcome::Running);
    reaper.join();
    ASSERT_EQ(program.start(site.backend), ToolProgram::Outcome::Running)
        << prompter.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(program.window()->manager().GetSiteFile(), path);
}

TEST_F(AMainWindow, DropsOpenRequestsOnceItCloses)
{
    ASSERT_TRUE(start());
    const QString path = makeSiteFile(QStringLiteral("Late.ovx"));
    trigger("MenuCloseSite");
    EXPECT_TRUE(window->close());
    window->openRequested({path});
    EXPECT_FALSE(window->manager().IsSiteOpen());
}

TEST_F(AMainWindow, HoldsAnOpenRequestWhileAnotherOpenRuns)
{
    ASSERT_TRUE(start());
    const QString path = makeSiteFile(QStringLiteral("Waiting.ovx"));
    trigger("MenuCloseSite");
    // Another open is asking its question (its box runs the event loop).
    window->setLoading(true);
    window->openRequested({path});
    EXPECT_FALSE(window->manager().IsSiteOpen());
    QTest::qWait(300);
    EXPECT_FALSE(window->manager().IsSiteOpen());
    window->setLoading(false);
    EXPECT_TRUE(testing::waitUntil([&] { return window->manager().IsSiteOpen(); }));
}

TEST_F(AMainWindow, ReachesItsDialogsFromItsMenus)
{
    ASSERT_TRUE(start());
    site.cameraCtrl->calls.clear();
    inModal<CameraTypeDialog>("MenuCameraType", [](CameraTypeDialog &dialog) {
        QStringList names;
        for (int i = 0; i < dialog.typeList()->count(); ++i)
            names << dialog.typeList()->itemText(i);
        EXPECT_FALSE(names.isEmpty());
        dialog.typeList()->setCurrentIndex(dialog.typeList()->count() - 1);
        dialog.accept();
    });
    EXPECT_NE(window->cameraType().value(), -1);
    EXPECT_TRUE(called(site.cameraCtrl->calls,
                       "SelectCamera(1," + std::to_string(window->cameraType().value()) + ")"));

    inModal<OptionsDialog>("MenuOptions", [](OptionsDialog &dialog) {
        EXPECT_EQ(dialog.tabs()->currentIndex(), 0);
        dialog.reject();
    });
    inModal<AboutDialog>("About1", [](AboutDialog &dialog) {
        ASSERT_EQ(dialog.versionGrid()->rowCount(), 5);
        EXPECT_EQ(dialog.versionGrid()->item(0, 1)->text(), QStringLiteral("2.5.1.1"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Forecourt Watch Director"));
        dialog.accept();
    });
}

TEST_F(AMainWindow, FollowsTheUnitOnlineAndOffline)
{
    ASSERT_TRUE(start());
    trigger("MenuNewSite");
    ASSERT_NE(site.backend.sink, nullptr);
    site.backend.sink->OrvexOnline(QStringLiteral("V1.2"));
    window->messagesWindow()->tick();
    EXPECT_EQ(window->panelText(StatusPanels::Unit), QStringLiteral("Online V1.2"));
    EXPECT_TRUE(action("MenuDownloadToOrvex")->isEnabled());
    EXPECT_TRUE(action("MenuRetrieveFromOrvex")->isEnabled());
    EXPECT_TRUE(action("MenuToggleDebug")->isEnabled());
    // Tools Toggle Debug goes through the Messages window to the unit.
    trigger("MenuToggleDebug");
    EXPECT_EQ(site.comms->calls.back(), "ToggleDebug(0)");
    site.backend.sink->OrvexOffline();
    window->messagesWindow()->tick();
    EXPECT_EQ(window->panelText(StatusPanels::Unit), QStringLiteral("Offline"));
    EXPECT_FALSE(action("MenuDownloadToOrvex")->isEnabled());
    EXPECT_FALSE(action("MenuToggleDebug")->isEnabled());
}

TEST_F(AMainWindow, DropsSignsAndPointsTypedIntoItsSpins)
{
    ASSERT_TRUE(start());
    trigger("MenuNewSite");
    window->findChild<QPushButton *>(QStringLiteral("BtnNextPOSes"))->click();
    auto *spin = window->findChild<QSpinBox *>(QStringLiteral("SpinPriority2IntervisitTime"));
    const int before = spin->value();
    spin->setFocus();
    QTest::keyClicks(spin, QStringLiteral("-+."));
    EXPECT_EQ(spin->value(), before);
    EXPECT_EQ(spin->text(), QString::number(before));
}

TEST_F(AMainWindow, PaintsEveryGridInTheMainWindowsColours)
{
    ASSERT_TRUE(start());
    const QList<Mgrid *> grids = window->findChildren<Mgrid *>();
    EXPECT_EQ(grids.size(), 6);
    for (Mgrid *grid : grids) {
        grid->setGridRowCount(3);
        grid->setGridRow(1);
        const Mgrid::CellLook title = grid->cellLook(0, 0);
        EXPECT_EQ(title.background.color(), QColor(0, 0, 255)) << grid->objectName().toStdString();
        EXPECT_EQ(title.textColor, QColor(Qt::white));
        EXPECT_TRUE(title.font.bold());
        EXPECT_EQ(grid->cellLook(0, 1).background.color(), QColor(0x47, 0xBA, 0xF8));
        EXPECT_EQ(grid->cellLook(0, 2).background.color(), QColor(0xB6, 0xE3, 0xFC));
        EXPECT_TRUE(grid->cellLook(0, 2).font.bold());
        EXPECT_EQ(grid->cellLook(0, 2).textColor, QColor(Qt::black));
        if (grid->columnCount() > 1 && !grid->isColumnHidden(1)) {
            EXPECT_EQ(grid->cellLook(1, 2).background.color(), QColor(Qt::white));
            EXPECT_FALSE(grid->cellLook(1, 2).font.bold());
        }
    }
}

TEST_F(AMainWindow, PicturesEveryTabWithASiteLoaded)
{
    ASSERT_TRUE(start());
    trigger("MenuNewSite");
    testing::SiteTables tables(*site.siteData);
    tables.addDevice(11, 6);
    tables.addDevice(21, 3);
    for (std::int16_t dispenser : {1, 2, 3, 4, 5})
        tables.addDispenser(dispenser, 1, dispenser);
    // The new site's defaults hold camera 1 already; it gets the presets.
    std::int16_t firstCamera = 0;
    ASSERT_EQ(tables.cameras->FirstCamera(&firstCamera), S_OK);
    const std::pair<std::int16_t, std::string> presets[]
        = {{1, "Pumps 1-2"}, {2, "Pumps 3-4"}, {3, "Shop door"}};
    for (const auto &[number, comment] : presets) {
        std::int16_t index = 0;
        ASSERT_EQ(tables.cameras->NewPreset(firstCamera, number, &index), S_OK);
        ASSERT_EQ(tables.cameras->SetComment(firstCamera, index, &comment), S_OK);
    }
    tables.addCamera(2, {{1, "Till"}, {5, "Car wash"}});
    std::int16_t pos = 0;
    ASSERT_EQ(tables.points->NewPOS(1, &pos), S_OK);
    ASSERT_EQ(tables.points->SetCamera(pos, 2), S_OK);
    ASSERT_EQ(tables.points->SetPreset(pos, 1), S_OK);
    ASSERT_EQ(tables.points->SetMovableFlag(pos, -1), S_OK);
    ASSERT_EQ(tables.points->SetPriority(pos, 2), S_OK);
    site.backend.sink->OrvexOnline(QStringLiteral("ORVEX SIM 1.0"));
    window->messagesWindow()->tick();

    // Every tab comes up anew, the first one too.
    window->pageControl()->setCurrentIndex(static_cast<int>(Tab::Timings));
    const char *names[]
        = {"devices", "cameras", "presets", "dispensers", "dispenser-events", "pos", "timings"};
    for (const TabSheet &sheet : kTabSheets) {
        window->pageControl()->setCurrentIndex(static_cast<int>(sheet.tab));
        if (auto *grid = window->pageControl()->currentWidget()->findChild<Mgrid *>()) {
            grid->setGridRow(qMin(2, grid->gridRowCount() - 1));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->cellRect(0, grid->gridRow()).center());
        }
        testing::saveScreenshot(*window, QStringLiteral("window-main-")
                                             + QLatin1String(names[static_cast<int>(sheet.tab)]));
    }
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join(QLatin1Char('\n')).toStdString();
}

} // namespace
} // namespace configtool
