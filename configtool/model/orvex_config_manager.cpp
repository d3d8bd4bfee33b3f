#include "configtool/model/orvex_config_manager.h"

#include "configtool/model/base_editor.h"
#include "configtool/model/service_backend.h"
#include "configtool/model/tool_host.h"

#include "platform/com_error.h"

namespace configtool {

OrvexConfigManager::OrvexConfigManager(const OrvexMetaData &metaData, ToolHost &host)
    : m_metaData(metaData), m_host(host)
{
}

OrvexConfigManager::~OrvexConfigManager() = default;

void OrvexConfigManager::Connect(ServiceBackend &backend)
{
    m_configData = backend.getOrvexConfigData();
    ThrowIfFailed(m_configData->InitializeStorage());
    m_comms = backend.getOrvexComms();
    m_cameraCtrl = backend.getCameraCtrl();
}

BaseEditor &OrvexConfigManager::RegisterEditor(std::unique_ptr<BaseEditor> editor)
{
    m_editors.push_back(std::move(editor));
    return *m_editors.back();
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
