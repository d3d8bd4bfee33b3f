#include "configtool/model/orvex_config_manager.h"

#include "configtool/model/base_editor.h"
#include "configtool/model/guarded.h"
#include "configtool/model/orvex_event_sink.h"
#include "configtool/model/prompter.h"
#include "configtool/model/scope_exit.h"
#include "configtool/model/service_backend.h"
#include "configtool/model/status_panels.h"
#include "configtool/model/tool_host.h"

#include "platform/com_error.h"
#include "platform/regular_file.h"

#include <QFileInfo>
#include <QTimer>

namespace configtool {

namespace {

const std::string kSite = OrvexConfigManager::kSiteName;

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

// The box for a site file that cannot be opened: its name, and why on the line below.
QString loadingError(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Error loading file ") + fileName + QLatin1Char('\n') + reason;
}

} // namespace

OrvexConfigManager::OrvexConfigManager(const OrvexMetaData &metaData, ToolHost &host)
    : m_metaData(metaData), m_host(host)
{}

OrvexConfigManager::~OrvexConfigManager()
{
    m_busyTimer.reset();
    if (m_subscribed && m_backend && m_sink)
        m_backend->unsubscribeCommsEvents(*m_sink);
    m_editors.clear();
    if (m_configData) {
        try {
            m_configData->UnInitializeStorage();
        } catch (...) {
            // The service may be gone already; there is nothing left to tell anyone.
        }
    }
}

bool OrvexConfigManager::Connect(ServiceBackend &backend, ThreadsafeStringQueue &queue,
                                 std::int16_t comPort)
{
    m_backend = &backend;
    Prompter &prompter = m_host.prompter();
    bool reached = false;
    try {
        m_configData = backend.getOrvexConfigData();
        reached = true;
        ThrowIfFailed(m_configData->InitializeStorage());
        m_comms = backend.getOrvexComms();
        ThrowIfFailed(m_comms->SetSerialPort(comPort));
        m_sink = std::make_unique<OrvexEventSink>(queue, *this);
        m_sink->OrvexOffline();
        m_subscribed = backend.subscribeCommsEvents(*m_sink);
        if (!m_subscribed)
            prompter.warning(
                QStringLiteral("Unable to find connection point. No events will be received."));
        m_cameraCtrl = backend.getCameraCtrl();
        return true;
    } catch (const ComError &error) {
        if (!reached && error.result() == ServiceBackend::kServiceUnreachable)
            prompter.error(QStringLiteral("Unable to connect to OrvexServices.\n")
                           + QString::fromUtf8(error.what()));
        else
            prompter.error(QStringLiteral("Unable to connect to OrvexServices. ")
                           + QString::fromUtf8(error.what()));
    }
    return false;
}

BaseEditor &OrvexConfigManager::RegisterEditor(std::unique_ptr<BaseEditor> editor)
{
    m_editors.push_back(std::move(editor));
    return *m_editors.back();
}

BaseEditor *OrvexConfigManager::currentEditor() const
{
    return m_host.currentEditor();
}

void OrvexConfigManager::setPanel(int panel, const QString &text)
{
    m_host.statusPanels().setPanelText(static_cast<StatusPanels::Panel>(panel), text);
}

void OrvexConfigManager::setBusyTimes(std::chrono::milliseconds send,
                                      std::chrono::milliseconds retrieve)
{
    m_sendBusyTime = send;
    m_retrieveBusyTime = retrieve;
}

void OrvexConfigManager::BeginEdit()
{
    ++m_editDepth;
    if (BaseEditor *editor = currentEditor())
        editor->DisableEditing();
    UpdateMenus();
}

void OrvexConfigManager::EndEdit()
{
    if (m_editDepth > 0)
        --m_editDepth;
    // A command inside another (a save inside New) leaves editing to the outer one.
    if (m_editDepth == 0) {
        if (BaseEditor *editor = currentEditor())
            editor->EnableEditing();
    }
    UpdateMenus();
}

void OrvexConfigManager::finishEdit()
{
    if (m_siteOpen) {
        EndEdit();
        return;
    }
    if (m_editDepth > 0)
        --m_editDepth;
    UpdateMenus();
}

void OrvexConfigManager::pauseEditing()
{
    if (BaseEditor *editor = currentEditor())
        editor->DisableEditing();
    UpdateMenus();
}

void OrvexConfigManager::showNoSite()
{
    for (const auto &editor : m_editors)
        editor->ShowEmpty();
    setPanel(StatusPanels::Site, QStringLiteral("No Site"));
    UpdateMenus();
}

QString OrvexConfigManager::whyImportFailed(HRESULT hr) const
{
    std::string reason;
    try {
        if (m_configData->GetErrorDescription(&reason) == S_OK && !reason.empty())
            return QString::fromStdString(reason);
    } catch (const ComError &) {
        // The service cannot say more: the code's text is reason enough for the box.
    }
    return QString::fromStdString(DescribeResult(hr));
}

void OrvexConfigManager::OpenOrCreateSite(const QString &nameOrPath, bool isNew, bool withDefaults)
{
    m_host.beginWaitCursor();
    ScopeExit restore([this] {
        setPanel(StatusPanels::Activity, QString());
        m_host.endWaitCursor();
    });
    if (!m_configData)
        return;
    if (isNew) {
        setPanel(StatusPanels::Activity, QStringLiteral("Creating New Site"));
        ThrowIfFailed(m_configData->NewSite(&kSite));
    } else {
        setPanel(StatusPanels::Activity, QStringLiteral("Loading Site ") + nameOrPath);
        const std::string path = nameOrPath.toStdString();
        const HRESULT hr = m_configData->ImportSite(&kSite, &path);
        if (FAILED(hr)) {
            setPanel(StatusPanels::Activity, QString());
            m_host.prompter().error(loadingError(fileNameOf(nameOrPath), whyImportFailed(hr)));
            // A site open before was closed for the import: show that none is open now rather
            // than its rows.
            showNoSite();
            return;
        }
    }
    ThrowIfFailed(m_configData->LoadSite(&kSite));
    m_siteOpen = true;
    m_isNew = isNew;
    m_siteFile = isNew ? QString::fromLatin1(kSiteName) : nameOrPath;
    m_modified = false;
    if (isNew) {
        for (const auto &editor : m_editors) {
            if (withDefaults)
                editor->LoadDefaults();
            else
                editor->ClearAll();
        }
    }
    for (const auto &editor : m_editors)
        editor->AfterSiteLoad();
    if (BaseEditor *editor = currentEditor()) {
        editor->EnableEditing();
        editor->Reload();
    }
    setPanel(StatusPanels::Activity, QString());
    setPanel(StatusPanels::Site, isNew ? QStringLiteral("New Site") : fileNameOf(nameOrPath));
}

void OrvexConfigManager::NewSite(bool withDefaults)
{
    BeginEdit();
    ScopeExit finish([this] {
        m_host.setLoading(false);
        finishEdit();
    });
    if (m_siteOpen) {
        if (m_busy || !QuerySave())
            return;
        CloseSite();
    }
    OpenOrCreateSite(QString::fromLatin1(kSiteName), true, withDefaults);
    // A new site always counts as changed.
    m_modified = m_siteOpen;
}

void OrvexConfigManager::OpenSiteFile(const QString &path)
{
    BeginEdit();
    ScopeExit finish([this] {
        m_host.setLoading(false);
        finishEdit();
    });
    // The service opens the file in its own working folder, and an import that fails has
    // already dropped the open site: check the file here, before anything is closed.
    const QFileInfo file(path);
    const QString absolute = file.absoluteFilePath();
    int error = 0;
    if (!OpenRegularFile(absolute.toStdString(), &error).valid()) {
        m_host.prompter().error(
            loadingError(file.fileName(), QString::fromStdString(DescribeFileError(error))));
        return;
    }
    if (m_siteOpen) {
        if (m_busy || !QuerySave())
            return;
        CloseSite();
    }
    OpenOrCreateSite(absolute, false, false);
}

bool OrvexConfigManager::QuerySave()
{
    if (!m_siteOpen)
        return true;
    if (m_busy)
        return false;
    if (!m_modified)
        return true;
    switch (m_host.prompter().askYesNoCancel(QStringLiteral("Save changes to the current site"))) {
    case Prompter::Answer::Cancel:
        return false;
    case Prompter::Answer::No:
        return true;
    case Prompter::Answer::Yes:
        break;
    }
    // After "Yes" the changes are never dropped: a save that fails stops the command.
    bool saved = false;
    guarded(m_host.prompter(), [&] { saved = m_host.saveSiteWithSaveDialog(); });
    return saved;
}

bool OrvexConfigManager::SaveSiteToFile(const QString &path)
{
    m_host.beginWaitCursor();
    ScopeExit restore([this] {
        setPanel(StatusPanels::Activity, QString());
        m_host.endWaitCursor();
    });
    setPanel(StatusPanels::Activity, QStringLiteral("Saving Site "));
    for (const auto &editor : m_editors) {
        if (!editor->Validate())
            return false;
    }
    const std::string file = QFileInfo(path).absoluteFilePath().toStdString();
    ThrowIfFailed(m_configData->Save());
    ThrowIfFailed(m_configData->ExportSite(&kSite, &file));
    m_modified = false;
    return true;
}

bool OrvexConfigManager::Save()
{
    BeginEdit();
    ScopeExit finish([this] { finishEdit(); });
    // A new site has no file yet: it goes through SaveSiteAs.
    if (!m_siteOpen || m_busy || m_isNew)
        return false;
    if (m_modified && !SaveSiteToFile(m_siteFile))
        return false;
    m_modified = false;
    return true;
}

bool OrvexConfigManager::SaveSiteAs(const QString &path)
{
    BeginEdit();
    ScopeExit finish([this] { finishEdit(); });
    if (!m_siteOpen || m_busy)
        return false;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!SaveSiteToFile(absolute))
        return false;
    m_siteFile = absolute;
    m_isNew = false;
    m_modified = false;
    setPanel(StatusPanels::Site, fileNameOf(absolute));
    return true;
}

void OrvexConfigManager::CloseSite()
{
    ThrowIfFailed(m_configData->UnloadSite());
    m_siteOpen = false;
    m_isNew = false;
    m_siteFile.clear();
    m_modified = false;
}

void OrvexConfigManager::Close()
{
    if (m_siteOpen) {
        if (m_busy || !QuerySave())
            return;
        CloseSite();
        showNoSite();
    }
    pauseEditing();
}

bool OrvexConfigManager::CanClose()
{
    BeginEdit();
    if (!m_siteOpen)
        return true;
    ScopeExit refuse([this] { EndEdit(); });
    if (m_busy || !QuerySave())
        return false;
    CloseSite();
    refuse.dismiss();
    return true;
}

void OrvexConfigManager::Transfer(bool send)
{
    if (m_host.isLoading())
        return;
    // The menus never offer it, but a send with no site would clear the unit for nothing.
    if (send && !m_siteOpen)
        return;
    BeginEdit();
    ScopeExit finish([this] { finishEdit(); });
    if (m_busy)
        return;
    if (!send && m_siteOpen && m_modified) {
        switch (
            m_host.prompter().askYesNoCancel(QStringLiteral("Save changes to the current site"))) {
        case Prompter::Answer::Cancel:
            return;
        case Prompter::Answer::Yes:
            if (!m_host.saveSiteWithSaveDialog())
                return;
            break;
        case Prompter::Answer::No:
            break;
        }
    }
    if (!m_online) {
        m_host.prompter().error(QStringLiteral("Orvex is offline"));
        return;
    }
    if (send && !QuerySave())
        return;
    if (!m_comms || !m_backend)
        throw ComError(E_POINTER);
    if (!send && !m_siteOpen) {
        NewSite(false);
        if (!m_siteOpen)
            return;
        // New resumed the editor; it stays paused while busy.
        pauseEditing();
    }
    m_busy = true;
    m_retrieving = !send;
    UpdateMenus();
    // Editing stays paused until the transfer has ended.
    finish.dismiss();
    StartTransfer(send);
}

void OrvexConfigManager::StartTransfer(bool send)
{
    m_host.beginWaitCursor();
    if (!m_busyTimer) {
        m_busyTimer = std::make_unique<QTimer>();
        m_busyTimer->setSingleShot(true);
        QObject::connect(m_busyTimer.get(), &QTimer::timeout, m_busyTimer.get(),
                         [this] { guarded(m_host.prompter(), [this] { TransferTimeout(); }); });
    }
    m_retrieving = !send;
    setPanel(StatusPanels::Activity, send ? QStringLiteral("Sending data to Orvex")
                                          : QStringLiteral("Retrieving data from Orvex"));
    // Counted from before the call, as the unit's work starts with it.
    m_busyTimeOver = false;
    m_callReturned = false;
    m_busyTimer->start(send ? m_sendBusyTime : m_retrieveBusyTime);
    const auto command = send ? ServiceBackend::LongCommand::SendCurrentSite
                              : ServiceBackend::LongCommand::ReadData;
    m_backend->startLongCommand(
        comms(), command, &m_callContext, [this](HRESULT hr, const QString &text) {
            m_callReturned = true;
            guarded(m_host.prompter(), [&] {
                if (FAILED(hr))
                    throw ComError(hr, text.toStdString());
            });
            guarded(m_host.prompter(), [this] { finishTransferWhenDone(); });
        });
}

void OrvexConfigManager::TransferTimeout()
{
    if (m_busyTimer)
        m_busyTimer->stop();
    m_busyTimeOver = true;
    finishTransferWhenDone();
}

void OrvexConfigManager::finishTransferWhenDone()
{
    // The service thread is inside the download until the call returns: no command may follow
    // before that, however long the busy time was.
    if (!m_busy || !m_busyTimeOver || !m_callReturned)
        return;
    m_busy = false;
    setPanel(StatusPanels::Activity, QString());
    m_host.endWaitCursor();
    EndEdit();
    if (m_retrieving) {
        m_modified = true;
        if (BaseEditor *editor = currentEditor())
            editor->Reload();
    }
}

void OrvexConfigManager::ClearMemory()
{
    if (!m_host.prompter().askOkCancel(QStringLiteral("Clear FWD memory")))
        return;
    startHubCommand(ServiceBackend::LongCommand::ClearMemory);
}

void OrvexConfigManager::ToggleDebug()
{
    // Offered during a transfer too, when the service answers only after the download: waiting
    // for it here would freeze the window for that long.
    startHubCommand(ServiceBackend::LongCommand::ToggleDebug);
}

void OrvexConfigManager::startHubCommand(ServiceBackend::LongCommand command)
{
    services::IOrvexComms &hub = comms();
    m_backend->startLongCommand(hub, command, &m_callContext,
                                [this](HRESULT hr, const QString &text) {
                                    guarded(m_host.prompter(), [&] {
                                        if (FAILED(hr))
                                            throw ComError(hr, text.toStdString());
                                    });
                                });
}

void OrvexConfigManager::SetSerialPort(std::int16_t comPort)
{
    ThrowIfFailed(comms().SetSerialPort(comPort));
}

services::IOrvexComms &OrvexConfigManager::comms() const
{
    if (!m_comms || !m_backend)
        throw ComError(E_POINTER);
    return *m_comms;
}

void OrvexConfigManager::SetOnline()
{
    m_online = true;
    UpdateMenus();
}

void OrvexConfigManager::SetOffline()
{
    m_online = false;
    UpdateMenus();
}

CommandState OrvexConfigManager::ComputeCommandState() const
{
    CommandState state;
    state.clearMemory = m_online;
    state.toggleDebug = m_online;
    state.changeComPort = true;
    if (m_busy || m_host.isLoading())
        return state;

    state.newSite = true;
    state.openSite = true;
    state.retrieve = m_online;
    if (!m_siteOpen)
        return state;

    state.saveSite = true;
    state.saveSiteAs = true;
    state.closeSite = true;
    state.send = m_online;
    // Connecting goes offline before any editor exists.
    if (BaseEditor *editor = m_host.currentEditor()) {
        state.editNew = editor->CanAdd();
        state.editDelete = editor->CanDelete();
    }
    return state;
}

void OrvexConfigManager::UpdateMenus()
{
    m_host.applyCommandState(ComputeCommandState());
}

} // namespace configtool
