#include "interfaces/recorder_bridge/orvex_interface_factory.h"

#include "orvex_interface.h"
#include "platform/install_folder.h"

namespace recorder_bridge {

HRESULT CreateOrvexInterface(std::shared_ptr<IOrvexInterface> *bridge)
{
    if (!bridge)
        return E_POINTER;
    std::shared_ptr<OrvexInterface> made;
    const HRESULT hr = OrvexInterface::Create(InstallFolder(), &made);
    *bridge = std::move(made);
    return hr;
}

} // namespace recorder_bridge
