#pragma once
// The one creatable class of the OrvexConfigPDS library: a new site registry, still without a
// document (call LoadAndParse next).

#include "interfaces/configstore/iorvex_config.h"
#include "platform/export.h"

#include <memory>

namespace configstore {

// S_OK; E_POINTER for a null `config`; E_FAIL when the object cannot be made.
ORVEX_EXPORT HRESULT CreateOrvexConfig(std::shared_ptr<IOrvexConfig> *config);

} // namespace configstore
