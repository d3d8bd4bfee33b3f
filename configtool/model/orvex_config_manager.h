#pragma once
// The heart of the configuration tool: the connection to the service, the life cycle of the one
// working site the service holds (new, open, save, save as, close), its transfer to and from the
// unit, and the command state of the main window. It owns the tab editors and drives them, in
// registration order, at every site change.
//
// One per main window, owned by it; editors and iterators hold a reference. Every failing call
// on a service interface raises ComError, which ends the command; scope guards restore the
// editing state, the loading flag, the status text and the wait cursor on every exit, so the
// error reaches the caller's guarded() with nothing left set. User-interface thread only.
//
// Editing is paused (BeginEdit) at the start of every command and resumed (EndEdit) at its end.
// Commands nest (a save inside New or Open): editing resumes only at the outermost end, and only
// while a site is open. A transfer keeps editing paused until its busy time has passed and the
// service has returned from the call, whichever is later.

#include "configtool/model/command_state.h"
#include "configtool/model/service_backend.h"

#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/services/iorvex_comms.h"
#include "interfaces/services/iorvex_config_data.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

class QTimer;

namespace configtool {

class BaseEditor;
class OrvexEventSink;
class OrvexMetaData;
class ThreadsafeStringQueue;
class ToolHost;

class OrvexConfigManager
{
public:
    // The service's one site name.
    static constexpr const char *kSiteName = "Default";
    static constexpr std::chrono::milliseconds kSendBusyTime{40000};
    static constexpr std::chrono::milliseconds kRetrieveBusyTime{20000};

    OrvexConfigManager(const OrvexMetaData &metaData, ToolHost &host);
    // Disconnects: stops the busy timer, unsubscribes the event sink, frees the editors and lets
    // the service's storage go. Failures are not reported (the tool is closing).
    ~OrvexConfigManager();
    OrvexConfigManager(const OrvexConfigManager &) = delete;
    OrvexConfigManager &operator=(const OrvexConfigManager &) = delete;

    // Connects to the service in this order: site data and its storage, the comms object and
    // its serial port, the event sink (offline at first) and its subscription, camera control.
    // The backend and the queue must outlive the manager. False, after the error box "Unable to
    // connect to OrvexServices." with the bus's reason on the line below (the service cannot be
    // reached) or "Unable to connect to OrvexServices. " + the error's text: the program then
    // ends. A sink that cannot be subscribed only gets a warning; the tool then stays offline.
    bool Connect(ServiceBackend &backend, ThreadsafeStringQueue &queue, std::int16_t comPort);

    // Takes the editor; editors are driven in the order they were registered.
    BaseEditor &RegisterEditor(std::unique_ptr<BaseEditor> editor);

    [[nodiscard]] const OrvexMetaData &GetMetaData() const { return m_metaData; }
    // The main window that holds the manager (its prompter, panels and camera type).
    [[nodiscard]] ToolHost &GetHost() const { return m_host; }
    [[nodiscard]] std::shared_ptr<services::IOrvexConfigData> GetConfigData() const
    {
        return m_configData;
    }
    [[nodiscard]] std::shared_ptr<services::ICameraCtrl> GetCameraCtrl() const
    {
        return m_cameraCtrl;
    }
    [[nodiscard]] std::shared_ptr<services::IOrvexComms> GetComms() const { return m_comms; }

    [[nodiscard]] bool IsOpenAndIdle() const { return m_siteOpen && !m_busy; }
    [[nodiscard]] bool IsSiteOpen() const { return m_siteOpen; }
    [[nodiscard]] bool IsBusy() const { return m_busy; }
    // Called by the iterators and editors after every change.
    void SetModified() { m_modified = true; }
    [[nodiscard]] bool IsModified() const { return m_modified; }
    // The open site's file (absolute), "Default" for a new site, empty without a site.
    [[nodiscard]] const QString &GetSiteFile() const { return m_siteFile; }
    // A site made by New or by a retrieve into no site, not yet saved to a file.
    [[nodiscard]] bool IsNewSite() const { return m_siteOpen && m_isNew; }

    // File New (with defaults) and a retrieve into no site (blank). Asks to save first.
    void NewSite(bool withDefaults);
    // File Open, the command line and the open request. A file that cannot be read changes
    // nothing ("Error loading file " + its name, and why on the line below: the system's reason
    // when the tool cannot open it, the service's when it cannot import it); asks to save the
    // open site first.
    void OpenSiteFile(const QString &path);
    // True when the site may be dropped: no site, no changes, "No", or saved after "Yes".
    bool QuerySave();
    // Saves to the site's file when modified; false when nothing could be written.
    bool Save();
    bool SaveSiteAs(const QString &path);
    // Validates every editor, then saves the site and exports it to `path`.
    bool SaveSiteToFile(const QString &path);
    // File Close.
    void Close();
    // The main window closing: false keeps it open.
    bool CanClose();
    // Send (true) or retrieve (false) the site; the busy state follows.
    void Transfer(bool send);
    // The end of the busy time (the busy timer's handler).
    void TransferTimeout();
    // Tools Clear FWD Memory, after "Clear FWD memory" is confirmed.
    void ClearMemory();
    // Toggle Debug with time 0, without waiting for the answer; a failure reaches the error box.
    void ToggleDebug();
    // The serial port from the tool's settings (after the Com Port dialog).
    void SetSerialPort(std::int16_t comPort);

    void SetOnline();
    void SetOffline();
    [[nodiscard]] bool IsOnline() const { return m_online; }

    void BeginEdit();
    void EndEdit();

    // Computes which commands are enabled and has the main window apply it.
    void UpdateMenus();
    [[nodiscard]] CommandState ComputeCommandState() const;

    // Shorter busy times for tests and the demo.
    void setBusyTimes(std::chrono::milliseconds send, std::chrono::milliseconds retrieve);

private:
    void OpenOrCreateSite(const QString &nameOrPath, bool isNew, bool withDefaults);
    // Why the service could not import a file (its own words when it kept them, else the text
    // of `hr`).
    [[nodiscard]] QString whyImportFailed(HRESULT hr) const;
    void CloseSite();
    void StartTransfer(bool send);
    void finishTransferWhenDone();
    // A hub command made without waiting; its failure goes to the error box when it returns.
    void startHubCommand(ServiceBackend::LongCommand command);
    // The end of a command: EndEdit while a site is open; without one editing stays paused.
    void finishEdit();
    // Pauses the current editor without a level of its own (after a close, inside a retrieve).
    void pauseEditing();
    void showNoSite();
    void setPanel(int panel, const QString &text);
    [[nodiscard]] BaseEditor *currentEditor() const;
    // The hub's commands; ComError E_POINTER before Connect.
    [[nodiscard]] services::IOrvexComms &comms() const;

    const OrvexMetaData &m_metaData;
    ToolHost &m_host;
    ServiceBackend *m_backend = nullptr;

    bool m_siteOpen = false;
    bool m_isNew = false;
    QString m_siteFile;
    bool m_busy = false;
    bool m_modified = false;
    bool m_online = false;
    bool m_retrieving = false;
    int m_editDepth = 0;

    std::chrono::milliseconds m_sendBusyTime = kSendBusyTime;
    std::chrono::milliseconds m_retrieveBusyTime = kRetrieveBusyTime;
    std::unique_ptr<QTimer> m_busyTimer;
    bool m_busyTimeOver = false;
    bool m_callReturned = false;
    // Answers of the service's long calls go to this context; they are dropped once it is gone.
    QObject m_callContext;

    std::shared_ptr<services::IOrvexConfigData> m_configData;
    std::shared_ptr<services::IOrvexComms> m_comms;
    std::shared_ptr<services::ICameraCtrl> m_cameraCtrl;
    std::unique_ptr<OrvexEventSink> m_sink;
    bool m_subscribed = false;

    std::vector<std::unique_ptr<BaseEditor>> m_editors;
};

} // namespace configtool
