#pragma once
// Where the tool's service objects come from: the service's root on the bus in the program
// (serviceclient), the service's own in-process site tables in tests. User-interface thread
// only.
//
// Errors: each getter raises ComError when the service refuses (a failed result, with its
// text). A service that cannot be reached at all raises ComError with kServiceUnreachable from
// getOrvexConfigData, the first call the tool makes.

#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/services/iorvex_comms.h"
#include "interfaces/services/iorvex_config_data.h"

#include <QString>

#include <functional>
#include <memory>

class QObject;

namespace configtool {

class OrvexEventSink;

class ServiceBackend
{
public:
    // The result a client gets when its server cannot be reached (no such name on the bus, no
    // answer in time).
    static constexpr HRESULT kServiceUnreachable = MakeResult(0x800706BAu);

    // The hub's commands that keep the service thread busy for seconds, and Toggle Debug (time
    // 0), which waits behind them when it comes during a transfer.
    enum class LongCommand { SendCurrentSite, ReadData, ClearMemory, ToggleDebug };
    // The command's result and, for a failure, its readable text.
    using CommandFinished = std::function<void(HRESULT hr, const QString &errorText)>;

    virtual ~ServiceBackend() = default;

    virtual std::shared_ptr<services::IOrvexConfigData> getOrvexConfigData() = 0;
    virtual std::shared_ptr<services::IOrvexComms> getOrvexComms() = 0;
    virtual std::shared_ptr<services::ICameraCtrl> getCameraCtrl() = 0;

    // Connects the sink's five slots to the hub's status events of the comms object handed out
    // by getOrvexComms; false when that cannot be done (the tool then runs without events).
    virtual bool subscribeCommsEvents(OrvexEventSink &sink);
    virtual void unsubscribeCommsEvents(OrvexEventSink &sink);

    // Starts a long command without waiting for it, so the window keeps painting; `finished`
    // runs later on this thread, once the service has returned, unless `context` is gone by then.
    // This default calls `comms` and finishes before it returns.
    virtual void startLongCommand(services::IOrvexComms &comms, LongCommand command,
                                  QObject *context, CommandFinished finished);
};

} // namespace configtool
