#pragma once
// The one creatable class of the RecorderBridge library: a new bridge over the install folder
// (InstallFolder()), with its output, parser and licence plate threads running, its trace open
// and its point-of-sale rules loaded from "RecorderBridgeConfig.xml".
//
// Fails with E_POINTER for a null `bridge`; E_ACCESSDENIED when the install folder cannot be
// read; the rules loader's code when the rules cannot be loaded (the trace then ends with
// "Failed Parsing XML File.  Exiting..."). Nothing is left running after a failure.

#include "interfaces/recorder_bridge/orvex_interface.h"
#include "platform/export.h"

#include <memory>

namespace recorder_bridge {

ORVEX_EXPORT HRESULT CreateOrvexInterface(std::shared_ptr<IOrvexInterface> *bridge);

} // namespace recorder_bridge
