#include "orvex_config.h"

#include "interfaces/configstore/orvex_config_factory.h"

#include <new>

namespace configstore {

HRESULT CreateOrvexConfig(std::shared_ptr<IOrvexConfig> *config)
{
    if (config == nullptr)
        return E_POINTER;
    try {
        *config = std::make_shared<OrvexConfig>();
    } catch (const std::bad_alloc &) {
        return E_FAIL;
    }
    return S_OK;
}

} // namespace configstore
