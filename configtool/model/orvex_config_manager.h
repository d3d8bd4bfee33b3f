#pragma once
// The heart of the configuration tool: the connection to the service, the life cycle of the one
// working site the service holds (new, open, save, save as, close), its transfer to and from the
// unit, and the command state of the main window. It owns the tab editors and drives them, in
// registration order, at every site change.
//
// One per main window, owned by it; editors and iterators hold a reference. Every failing call
// on a service interface raises ComError, which ends the command; scope guards restore the
// editing state, the loading flag and the wait cursor on every exit. User-interface thread only.

#include "configtool/model/command_state.h"

#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/services/iorvex_comms.h"
#include "interfaces/services/iorvex_config_data.h"

#include <memory>
#include <vector>

namespace configtool {

class BaseEditor;
class OrvexMetaData;
class ServiceBackend;
class ToolHost;

class OrvexConfigManager
{
public:
    OrvexConfigManager(const OrvexMetaData &metaData, ToolHost &host);
    ~OrvexConfigManager();
    OrvexConfigManager(const OrvexConfigManager &) = delete;
    OrvexConfigManager &operator=(const OrvexConfigManager &) = delete;

    // Connects to the service and prepares its storage; raises ComError when it cannot.
    void Connect(ServiceBackend &backend);

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
    // Called by the iterators and editors after every change.
    void SetModified() { m_modified = true; }
    [[nodiscard]] bool IsModified() const { return m_modified; }

    void SetOnline();
    void SetOffline();
    [[nodiscard]] bool IsOnline() const { return m_online; }

    // Computes which commands are enabled and has the main window apply it.
    void UpdateMenus();
    [[nodiscard]] CommandState ComputeCommandState() const;

private:
    const OrvexMetaData &m_metaData;
    ToolHost &m_host;

    bool m_siteOpen = false;
    bool m_busy = false;
    bool m_modified = false;
    bool m_online = false;

    std::shared_ptr<services::IOrvexConfigData> m_configData;
    std::shared_ptr<services::IOrvexComms> m_comms;
    std::shared_ptr<services::ICameraCtrl> m_cameraCtrl;

    std::vector<std::unique_ptr<BaseEditor>> m_editors;
};

} // namespace configtool
