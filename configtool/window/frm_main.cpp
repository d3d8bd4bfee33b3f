#include "configtool/window/frm_main.h"

#include "configtool/window/about_dialog.h"
#include "configtool/window/branding.h"
#include "configtool/window/camera_type_dialog.h"
#include "configtool/window/com_port_dialog.h"
#include "configtool/window/messages_window.h"
#include "configtool/window/options_dialog.h"

#include "configtool/editors/camera_editor.h"
#include "configtool/editors/camera_page.h"
#include "configtool/editors/device_editor.h"
#include "configtool/editors/device_page.h"
#include "configtool/editors/dispenser_editor.h"
#include "configtool/editors/dispenser_events_page.h"
#include "configtool/editors/dispenser_page.h"
#include "configtool/editors/event_priority_editor.h"
#include "configtool/editors/pos_editor.h"
#include "configtool/editors/pos_page.h"
#include "configtool/editors/preset_editor.h"
#include "configtool/editors/preset_page.h"
#include "configtool/editors/tab_page.h"
#include "configtool/editors/times_editor.h"
#include "configtool/editors/timings_page.h"
#include "configtool/model/base_editor.h"
#include "configtool/model/file_chooser.h"
#include "configtool/model/guarded.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/prompter.h"
#include "configtool/model/threadsafe_string_queue.h"

#include "platform/install_folder.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSplashScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <sys/stat.h>

namespace configtool {

namespace {

// The window's client area, below its menu bar.
constexpr QSize kClientSize(631, 423);
constexpr std::array<int, 3> kPanelWidths = {300, 100, 100};
// The splash screen stays this long after the window appeared.
constexpr int kSplashMilliseconds = 2500;
// The camera type of a tool that never had one chosen.
constexpr int kFirstCameraType = 40;
constexpr QSize kNavigationButton(80, 26);
constexpr int kOpenRetryMilliseconds = 200;

QString settingsPathIn(const QString &installFolder)
{
    return QString::fromStdString(JoinPath(installFolder.toStdString(), kSettingsFileName));
}

} // namespace

FrmMain::FrmMain(QString installFolder, ServiceBackend &backend, Prompter &prompter,
                 FileChooser &fileChooser, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint),
      m_installFolder(std::move(installFolder)), m_backend(backend), m_prompter(prompter),
      m_fileChooser(fileChooser)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(applicationTitle());
    createMenus();
    createToolBar();
    createStatusBar();
    createTabs();
    setFixedSize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());
}

FrmMain::~FrmMain()
{
    // The manager's editors hold the pages; the manager lets go of the service before the
    // metadata and the queue it reads go.
    m_messages.reset();
    m_manager.reset();
    m_metaData.reset();
    m_queue.reset();
}

void FrmMain::runGuarded(const std::function<void()> &handler)
{
    guarded(m_prompter, handler);
}

void FrmMain::connectHandler(QAction *action, void (FrmMain::*handler)())
{
    connect(action, &QAction::triggered, this,
            [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
}

void FrmMain::createMenus()
{
    struct Item
    {
        const char *menu;
        const char *text;
        const char *objectName;
        const char *shortcut;
        void (FrmMain::*handler)();
        bool CommandState::*enabledBy;
        bool separatorAfter;
    };
    static const Item items[] = {
        {"&File", "New", "MenuNewSite", "Ctrl+N", &FrmMain::newSite, &CommandState::newSite, false},
        {"&File", "Open...", "MenuOpenSite", "Ctrl+O", &FrmMain::openSite, &CommandState::openSite,
         false},
        {"&File", "Close", "MenuCloseSite", "Ctrl+F4", &FrmMain::closeSite,
         &CommandState::closeSite, true},
        {"&File", "Save", "MenuSaveSite", "Ctrl+S", &FrmMain::saveSite, &CommandState::saveSite,
         false},
        {"&File", "Save As ...", "MenuSaveAs", nullptr, &FrmMain::saveSiteAs,
         &CommandState::saveSiteAs, true},
        {"&File", "Send Data to FWD", "MenuDownloadToOrvex", "Ctrl+G", &FrmMain::sendToUnit,
         &CommandState::send, false},
        {"&File", "Retrieve Data from FWD", "MenuRetrieveFromOrvex", "Ctrl+R",
         &FrmMain::retrieveFromUnit, &CommandState::retrieve, true},
        {"&File", "Exit", "MenuExit", nullptr, nullptr, nullptr, false},
        {"&Edit", "New", "MenuAdd", "Ctrl+A", &FrmMain::addRecord, &CommandState::editNew, false},
        {"&Edit", "Delete", "MenuDelete", "Ctrl+D", &FrmMain::deleteRecord,
         &CommandState::editDelete, false},
        {"&View", "Messages...", "Messages1", nullptr, &FrmMain::toggleMessages, nullptr, false},
        {"&Tools", "Toggle Debug", "MenuToggleDebug", "Ctrl+T", &FrmMain::toggleDebug,
         &CommandState::toggleDebug, false},
        {"&Tools", "Clear FWD Memory", "MenuClearOrvexMemory", nullptr, &FrmMain::clearUnitMemory,
         &CommandState::clearMemory, true},
        {"&Tools", "Change Com Port...", "MenuChangeComPort", nullptr, &FrmMain::changeComPort,
         &CommandState::changeComPort, false},
        // Not on the first toolkit's menus, which left both dialogs out of reach.
        {"&Tools", "Options...", "MenuOptions", nullptr, &FrmMain::showOptions, nullptr, false},
        {"&Tools", "Camera Type...", "MenuCameraType", nullptr, &FrmMain::changeCameraType, nullptr,
         false},
        {"&Help", "About...", "About1", nullptr, &FrmMain::showAbout, nullptr, false},
    };
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *menu = nullptr;
    QString menuTitle;
    for (const Item &item : items) {
        if (menuTitle != QLatin1String(item.menu)) {
            menuTitle = QLatin1String(item.menu);
            menu = menuBar()->addMenu(tr(item.menu));
        }
        QAction *action = menu->addAction(tr(item.text));
        action->setObjectName(QLatin1String(item.objectName));
        if (item.shortcut != nullptr)
            action->setShortcut(QKeySequence(QLatin1String(item.shortcut)));
        if (item.handler != nullptr)
            connectHandler(action, item.handler);
        if (item.enabledBy != nullptr)
            m_commands.push_back({action, item.enabledBy});
        if (item.separatorAfter)
            menu->addSeparator();
    }
    connect(findChild<QAction *>(QStringLiteral("MenuExit")), &QAction::triggered, this,
            &QWidget::close);
    m_viewMessages = findChild<QAction *>(QStringLiteral("Messages1"));
    m_viewMessages->setCheckable(true);
}

void FrmMain::createToolBar()
{
    struct Button
    {
        const char *action;
        const char *objectName;
        const char *toolTip;
        QStyle::StandardPixmap icon;
    };
    static const Button buttons[] = {
        {"MenuNewSite", "ToolBtnNewSite", "New Site", QStyle::SP_FileIcon},
        {"MenuOpenSite", "ToolBtnOpenSite", "Open Site", QStyle::SP_DialogOpenButton},
        {"MenuSaveSite", "ToolBtnSaveSite", "Save Site", QStyle::SP_DialogSaveButton},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"MenuRetrieveFromOrvex", "ToolBtnRetrieveFromOrvex", "Retrieve Data From ORVEX",
         QStyle::SP_ArrowDown},
        {"MenuDownloadToOrvex", "ToolBtnDownloadToORVEX", "Send Data to ORVEX", QStyle::SP_ArrowUp},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"MenuChangeComPort", "ToolBtnChangeComPort", "Change Com Port", QStyle::SP_ComputerIcon},
    };
    QToolBar *bar = addToolBar(QString());
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->toggleViewAction()->setEnabled(false);
    for (const Button &button : buttons) {
        if (button.action == nullptr) {
            bar->addSeparator();
            continue;
        }
        auto *action = findChild<QAction *>(QLatin1String(button.action));
        action->setIcon(style()->standardIcon(button.icon));
        // Menus show no tool tips, so the action carries the button's.
        action->setToolTip(tr(button.toolTip));
        bar->addAction(action);
        bar->widgetForAction(action)->setObjectName(QLatin1String(button.objectName));
    }
}

void FrmMain::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        // The unit's panel takes the rest of the bar, so that its version can be read.
        const bool last = i + 1 == m_panels.size();
        if (last)
            panel->setMinimumWidth(kPanelWidths[i]);
        else
            panel->setFixedWidth(kPanelWidths[i]);
        bar->addWidget(panel, last ? 1 : 0);
        m_panels[i] = panel;
    }
}

void FrmMain::createTabs()
{
    m_pageControl = new QTabWidget(this);
    m_pageControl->setObjectName(QStringLiteral("PageControlMain"));
    for (const TabSheet &sheet : kTabSheets) {
        auto *tab = new QWidget;
        tab->setObjectName(QLatin1String(sheet.objectName));
        // The page's controls stay above NavigationTop; the buttons take the strip below.
        const QString suffix = QLatin1String(sheet.objectName).mid(int(qstrlen("TabSheet")));
        const auto addButton
            = [&](const char *text, const char *name, const char *tip, Tab target, int left) {
                  auto *button = new QPushButton(tr(text), tab);
                  button->setObjectName(QLatin1String(name) + suffix);
                  button->setToolTip(tr(tip));
                  button->setGeometry(left, NavigationTop + 2, kNavigationButton.width(),
                                      kNavigationButton.height());
                  connect(button, &QPushButton::clicked, this, [this, target] { goToTab(target); });
              };
        const int nextLeft = TabPageSize.width() - 8 - kNavigationButton.width();
        if (sheet.previous != sheet.tab)
            addButton("<<", "BtnPrevious", "Previous Page", sheet.previous,
                      nextLeft - 8 - kNavigationButton.width());
        if (sheet.next != sheet.tab)
            addButton("Next >>", "BtnNext", "Next Page", sheet.next, nextLeft);
        m_pageControl->addTab(tab, tr(sheet.caption));
    }
    connect(m_pageControl, &QTabWidget::currentChanged, this, [this] {
        if (!m_switchingTab)
            runGuarded([this] { PageControlMainChange(); });
    });
    setCentralWidget(m_pageControl);
}

void FrmMain::createEditors()
{
    const auto tabOf = [this](Tab tab) { return m_pageControl->widget(static_cast<int>(tab)); };
    auto *devicePage = new DevicePage(tabOf(Tab::Devices));
    auto *dispenserPage = new DispenserPage(tabOf(Tab::Dispensers));
    auto *cameraPage = new CameraPage(tabOf(Tab::Cameras));
    auto *eventsPage = new DispenserEventsPage(tabOf(Tab::Events));
    auto *timingsPage = new TimingsPage(tabOf(Tab::Timings));
    auto *presetPage = new PresetPage(tabOf(Tab::Presets));
    auto *posPage = new POSPage(tabOf(Tab::POSes));

    OrvexConfigManager &manager = *m_manager;
    const auto add = [&](Tab tab, std::unique_ptr<BaseEditor> editor, bool initView) {
        BaseEditor &registered = manager.RegisterEditor(std::move(editor));
        m_editors[static_cast<std::size_t>(tab)] = &registered;
        registered.DisableEditing();
        if (initView)
            registered.InitView();
    };
    // The manager drives its editors in this order at every site change.
    add(Tab::Devices, std::make_unique<DeviceEditor>(manager, *this, *devicePage), true);
    add(Tab::Dispensers, std::make_unique<DispenserEditor>(manager, *this, *dispenserPage), true);
    add(Tab::Cameras, std::make_unique<CameraEditor>(manager, *this, *cameraPage), true);
    add(Tab::Events, std::make_unique<EventPriorityEditor>(manager, *this, *eventsPage), true);
    add(Tab::Timings, std::make_unique<TimesEditor>(manager, *this, *timingsPage), false);
    add(Tab::Presets, std::make_unique<PresetEditor>(manager, *this, *presetPage), true);
    add(Tab::POSes, std::make_unique<POSEditor>(manager, *this, *posPage), true);

    for (QAbstractSpinBox *spin : m_pageControl->findChildren<QAbstractSpinBox *>())
        spin->installEventFilter(this);
}

BaseEditor *FrmMain::editorOf(Tab tab) const
{
    return m_editors[static_cast<std::size_t>(tab)];
}

BaseEditor *FrmMain::currentEditor()
{
    const int index = m_pageControl->currentIndex();
    if (index < 0 || index >= int(m_editors.size()))
        return nullptr;
    return m_editors[static_cast<std::size_t>(index)];
}

int FrmMain::tabIndexOf(BaseEditor &editor) const
{
    for (std::size_t i = 0; i < m_editors.size(); ++i)
        if (m_editors[i] == &editor)
            return int(i);
    return -1;
}

void FrmMain::makeActivePage(BaseEditor &editor)
{
    const int index = tabIndexOf(editor);
    if (index < 0)
        return;
    // Shown in the middle of a command (a failed check before a save): no reload here.
    m_switchingTab = true;
    m_pageControl->setCurrentIndex(index);
    m_switchingTab = false;
}

void FrmMain::goToTab(Tab tab)
{
    runGuarded([this, tab] {
        m_switchingTab = true;
        m_pageControl->setCurrentIndex(static_cast<int>(tab));
        m_switchingTab = false;
        PageControlMainChange();
    });
}

void FrmMain::PageControlMainChange()
{
    if (BaseEditor *editor = currentEditor()) {
        if (m_manager->IsOpenAndIdle())
            editor->EnableEditing();
        else
            editor->DisableEditing();
        editor->Reload();
    }
    m_manager->UpdateMenus();
}

void FrmMain::applyCommandState(const CommandState &state)
{
    for (const Command &command : m_commands)
        command.action->setEnabled(state.*command.enabledBy);
}

void FrmMain::setPanelText(Panel panel, const QString &text)
{
    m_panels[static_cast<std::size_t>(panel)]->setText(text);
}

QString FrmMain::panelText(Panel panel) const
{
    return m_panels[static_cast<std::size_t>(panel)]->text();
}

void FrmMain::beginWaitCursor()
{
    if (m_waitDepth++ == 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void FrmMain::endWaitCursor()
{
    if (m_waitDepth > 0 && --m_waitDepth == 0)
        QApplication::restoreOverrideCursor();
}

QString FrmMain::dataDirectory()
{
    const std::string folder = JoinPath(m_installFolder.toStdString(), "Data");
    QDir().mkpath(QString::fromStdString(folder));
    // The service writes the site files here as its own user, of the install folder's group.
    struct stat status
    {
    };
    if (::stat(folder.c_str(), &status) == 0 && (status.st_mode & S_IRWXG) != S_IRWXG)
        (void)::chmod(folder.c_str(), status.st_mode | S_IRWXG);
    return QString::fromStdString(folder);
}

bool FrmMain::saveSiteWithSaveDialog()
{
    bool saved = false;
    if (m_manager->IsNewSite()) {
        const QString path = m_fileChooser.chooseFileToSave(dataDirectory());
        if (!path.isEmpty())
            saved = m_manager->SaveSiteAs(path);
    } else {
        saved = m_manager->Save();
    }
    m_manager->UpdateMenus();
    return saved;
}

// ---- start-up ----

bool FrmMain::init(const QStringList &files)
{
    m_startupFinished = false;
    m_branding = std::make_unique<Branding>(m_installFolder);
    setWindowTitle(m_branding->productName());
    m_loading = false;
    move(0, 0);

    m_metaData = std::make_unique<OrvexMetaData>();
    const QString metaDataPath
        = QString::fromStdString(JoinPath(m_installFolder.toStdString(), "OrvexMetaData.xml"));
    // A number the file gets wrong ends the reading there; the tool goes on with what was read.
    ReportMetaDataResult(m_metaData->ReadMetaData(metaDataPath), m_prompter);

    m_queue = std::make_unique<ThreadsafeStringQueue>();
    m_settings = MainWindowSettings::load(settingsPathIn(m_installFolder));
    move(m_settings.left, m_settings.top);
    m_cameraType.set(m_settings.cameraType);

    m_manager = std::make_unique<OrvexConfigManager>(*m_metaData, *this);
    m_versions.setBaseFolders(VersionNumberReader::programFolders());
    RegisterComponentVersions(m_versions);
    // The manager says why when it cannot connect.
    if (!m_manager->Connect(m_backend, *m_queue, static_cast<std::int16_t>(m_settings.comPort)))
        return false;

    const bool built = guarded(m_prompter, [&] {
        createEditors();
        m_switchingTab = true;
        m_pageControl->setCurrentIndex(static_cast<int>(Tab::Devices));
        m_switchingTab = false;
        setPanelText(Site, QStringLiteral("No Site"));
        m_manager->UpdateMenus();
    });
    if (!built)
        return false;

    if (!files.isEmpty())
        guarded(m_prompter, [&] {
            m_loading = true;
            m_manager->OpenSiteFile(QFileInfo(files.constFirst()).absoluteFilePath());
            m_loading = false;
            m_manager->UpdateMenus();
        });
    m_loading = false;
    m_startupFinished = true;
    createSecondaryWindows();
    return true;
}

void FrmMain::createSecondaryWindows()
{
    m_messages = std::make_unique<MessagesWindow>(m_installFolder, *m_queue, *this, m_prompter,
                                                  *m_viewMessages);
    connect(m_messages.get(), &MessagesWindow::toggleDebugRequested, this,
            [this] { runGuarded([this] { m_manager->ToggleDebug(); }); });
    m_comPortDialog = new ComPortDialog(this);
    m_aboutDialog = new AboutDialog(*m_branding, m_versions, this);
    m_cameraTypeDialog = new CameraTypeDialog(
        m_cameraType,
        [this] {
            std::vector<CameraProtocol> protocols;
            const QString camera = QStringLiteral("Camera");
            for (const QString &name : m_metaData->GetProtocolNames(camera))
                protocols.push_back({name, m_metaData->GetProtocolId(camera, name)});
            return protocols;
        },
        this);
    m_optionsDialog = new OptionsDialog(settingsPathIn(m_installFolder), m_prompter, this);
}

void FrmMain::openRequested(const QStringList &files)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    // Requests that come while the window closes are dropped.
    if (!m_startupFinished)
        return;
    // A box of another open (save the changes?) runs the event loop: this one waits its turn.
    if (m_loading) {
        QTimer::singleShot(kOpenRetryMilliseconds, this, [this, files] { openRequested(files); });
        return;
    }
    for (const QString &file : files)
        runGuarded([&] {
            m_loading = true;
            m_manager->OpenSiteFile(file);
            m_loading = false;
            m_manager->UpdateMenus();
        });
    m_loading = false;
}

// ---- window events ----

void FrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (m_splash)
        QTimer::singleShot(kSplashMilliseconds, m_splash.data(), &QWidget::close);
}

void FrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || m_activatedOnce)
        return;
    m_activatedOnce = true;
    if (!m_cameraType.isSet())
        runGuarded([this] { m_cameraType.set(kFirstCameraType); });
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_manager) {
        event->accept();
        return;
    }
    bool canClose = false;
    // A service that fails here cannot take the site any more: the window closes.
    if (!guarded(m_prompter, [&] { canClose = m_manager->CanClose(); }))
        canClose = true;
    if (!canClose) {
        event->ignore();
        return;
    }
    m_startupFinished = false;
    m_settings.top = y();
    m_settings.left = x();
    m_settings.messages = m_viewMessages->isChecked();
    m_settings.cameraType = m_cameraType.value();
    const QString path = settingsPathIn(m_installFolder);
    if (!m_settings.save(path))
        m_prompter.error(QStringLiteral("Unable to write to ") + path);
    if (m_messages)
        m_messages->closeForGood();
    event->accept();
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Signs and decimal points mean nothing in the tool's counts and numbers.
    if (event->type() == QEvent::KeyPress && qobject_cast<QAbstractSpinBox *>(watched) != nullptr) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (text == QLatin1String("-") || text == QLatin1String("+")
            || text == QLatin1String(".")) {
            QApplication::beep();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- commands ----

void FrmMain::newSite()
{
    if (m_loading)
        return;
    m_loading = true;
    const auto cleared = qScopeGuard([this] { m_loading = false; });
    m_manager->NewSite(true);
}

void FrmMain::openSite()
{
    if (m_loading)
        return;
    m_loading = true;
    {
        const auto cleared = qScopeGuard([this] { m_loading = false; });
        const QString path = m_fileChooser.chooseFileToOpen(dataDirectory());
        if (!path.isEmpty())
            m_manager->OpenSiteFile(path);
    }
    m_manager->UpdateMenus();
}

void FrmMain::closeSite()
{
    m_manager->Close();
}

void FrmMain::saveSite()
{
    saveSiteWithSaveDialog();
}

void FrmMain::saveSiteAs()
{
    const QString path = m_fileChooser.chooseFileToSave(dataDirectory());
    if (!path.isEmpty())
        m_manager->SaveSiteAs(path);
    m_manager->UpdateMenus();
}

void FrmMain::sendToUnit()
{
    m_manager->Transfer(true);
}

void FrmMain::retrieveFromUnit()
{
    m_manager->Transfer(false);
}

void FrmMain::addRecord()
{
    if (BaseEditor *editor = currentEditor())
        editor->AddNew();
}

void FrmMain::deleteRecord()
{
    BaseEditor *editor = currentEditor();
    if (editor == nullptr)
        return;
    if (m_manager->IsOpenAndIdle())
        editor->EnableEditing();
    else
        editor->DisableEditing();
    editor->DeleteCurrent();
}

void FrmMain::toggleMessages()
{
    m_messages->setVisible(m_viewMessages->isChecked());
}

void FrmMain::toggleDebug()
{
    m_messages->toggleDebug();
}

void FrmMain::clearUnitMemory()
{
    m_manager->ClearMemory();
}

void FrmMain::changeComPort()
{
    m_comPortDialog->setPort(m_settings.comPort);
    if (m_comPortDialog->exec() == QDialog::Accepted) {
        m_settings.comPort = m_comPortDialog->port();
        m_manager->SetSerialPort(static_cast<std::int16_t>(m_settings.comPort));
    }
    setPanelText(Activity, QString());
}

void FrmMain::showOptions()
{
    m_optionsDialog->exec();
}

void FrmMain::changeCameraType()
{
    m_cameraTypeDialog->exec();
}

void FrmMain::showAbout()
{
    m_aboutDialog->exec();
}

} // namespace configtool
