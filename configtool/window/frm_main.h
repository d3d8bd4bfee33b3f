#pragma once
// The configuration tool's main window: menus, tool bar, the seven tabs with their editors, the
// status bar's three panels, and everything the tool's logic asks of its window (ToolHost).
//
// init() runs the start-up in its order (branding, metadata, event queue, settings, the
// connection to the service, the editors, the file of the command line); when the service
// cannot be reached it shows why and returns false, and the program ends without a window.
// Closing asks to save a changed site first (Cancel keeps the window and writes nothing), then
// writes the window's settings; the Messages window goes with it.
//
// Every handler of a menu item, button or request runs through guarded(): an error is shown in
// a box and the window goes on. User-interface thread only.

#include "configtool/model/camera_type_state.h"
#include "configtool/model/command_state.h"
#include "configtool/model/status_panels.h"
#include "configtool/model/tool_host.h"
#include "configtool/window/main_window_settings.h"
#include "configtool/window/tab_navigation.h"
#include "configtool/window/version_number_reader.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QTabWidget;

namespace configtool {

class AboutDialog;
class Branding;
class CameraTypeDialog;
class ComPortDialog;
class MessagesWindow;
class OptionsDialog;
class OrvexConfigManager;
class OrvexMetaData;
class ServiceBackend;
class ThreadsafeStringQueue;

class FrmMain : public QMainWindow, public ToolHost, public StatusPanels
{
    Q_OBJECT

public:
    FrmMain(QString installFolder, ServiceBackend &backend, Prompter &prompter,
            FileChooser &fileChooser, QWidget *parent = nullptr);
    ~FrmMain() override;

    // The start-up; false when the tool cannot run (the reason was shown).
    [[nodiscard]] bool init(const QStringList &files);
    // The splash screen to close 2.5 s after the window was first shown.
    void setSplashScreen(QWidget *splash) { m_splash = splash; }

    // An open request of a later instance: raises the window and opens each file.
    void openRequested(const QStringList &files);

    [[nodiscard]] OrvexConfigManager &manager() const { return *m_manager; }
    [[nodiscard]] QTabWidget *pageControl() const { return m_pageControl; }
    [[nodiscard]] MessagesWindow *messagesWindow() const { return m_messages.get(); }
    [[nodiscard]] BaseEditor *editorOf(Tab tab) const;
    [[nodiscard]] int comPort() const { return m_settings.comPort; }
    [[nodiscard]] bool startupFinished() const { return m_startupFinished; }

    // ToolHost
    Prompter &prompter() override { return m_prompter; }
    FileChooser &fileChooser() override { return m_fileChooser; }
    StatusPanels &statusPanels() override { return *this; }
    CameraTypeState &cameraType() override { return m_cameraType; }
    [[nodiscard]] BaseEditor *currentEditor() override;
    void makeActivePage(BaseEditor &editor) override;
    [[nodiscard]] bool isLoading() const override { return m_loading; }
    void setLoading(bool loading) override { m_loading = loading; }
    bool saveSiteWithSaveDialog() override;
    void applyCommandState(const CommandState &state) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    [[nodiscard]] QString dataDirectory() override;

    // StatusPanels
    void setPanelText(Panel panel, const QString &text) override;
    [[nodiscard]] QString panelText(Panel panel) const override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createTabs();
    void createEditors();
    void createSecondaryWindows();
    void connectHandler(QAction *action, void (FrmMain::*handler)());

    // Menu items and buttons.
    void newSite();
    void openSite();
    void closeSite();
    void saveSite();
    void saveSiteAs();
    void sendToUnit();
    void retrieveFromUnit();
    void addRecord();
    void deleteRecord();
    void toggleMessages();
    void toggleDebug();
    void clearUnitMemory();
    void changeComPort();
    void showOptions();
    void changeCameraType();
    void showAbout();

    // A tab became the active one: its editor follows the site's state and reloads.
    void PageControlMainChange();
    void goToTab(Tab tab);
    [[nodiscard]] int tabIndexOf(BaseEditor &editor) const;
    void runGuarded(const std::function<void()> &handler);

    QString m_installFolder;
    ServiceBackend &m_backend;
    Prompter &m_prompter;
    FileChooser &m_fileChooser;
    CameraTypeState m_cameraType;
    MainWindowSettings m_settings;
    VersionNumberReader m_versions;
    bool m_loading = false;
    bool m_startupFinished = false;
    bool m_activatedOnce = false;
    bool m_shownOnce = false;
    int m_waitDepth = 0;
    // Set while the tool itself changes the tab, so that the change does not reload.
    bool m_switchingTab = false;

    std::unique_ptr<Branding> m_branding;
    std::unique_ptr<OrvexMetaData> m_metaData;
    std::unique_ptr<ThreadsafeStringQueue> m_queue;
    std::unique_ptr<OrvexConfigManager> m_manager;
    std::array<BaseEditor *, kTabSheets.size()> m_editors{};

    QTabWidget *m_pageControl = nullptr;
    std::array<QLabel *, 3> m_panels{};
    QAction *m_viewMessages = nullptr;
    struct Command
    {
        QAction *action;
        bool CommandState::*enabledBy;
    };
    std::vector<Command> m_commands;

    std::unique_ptr<MessagesWindow> m_messages;
    ComPortDialog *m_comPortDialog = nullptr;
    AboutDialog *m_aboutDialog = nullptr;
    CameraTypeDialog *m_cameraTypeDialog = nullptr;
    OptionsDialog *m_optionsDialog = nullptr;
    QPointer<QWidget> m_splash;
};

} // namespace configtool
