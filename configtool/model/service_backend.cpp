#include "configtool/model/service_backend.h"

#include <QObject>

namespace configtool {

bool ServiceBackend::subscribeCommsEvents(OrvexEventSink &)
{
    return false;
}

void ServiceBackend::unsubscribeCommsEvents(OrvexEventSink &) {}

void ServiceBackend::startLongCommand(services::IOrvexComms &comms, LongCommand command, QObject *,
                                      CommandFinished finished)
{
    HRESULT hr = E_UNEXPECTED;
    switch (command) {
    case LongCommand::SendCurrentSite:
        hr = comms.SendCurrentSiteToOrvex();
        break;
    case LongCommand::ReadData:
        hr = comms.ReadDataFromOrvex();
        break;
    case LongCommand::ClearMemory:
        hr = comms.ClearOrvexMemory();
        break;
    case LongCommand::ToggleDebug:
        hr = comms.ToggleDebug(0);
        break;
    }
    finished(hr, FAILED(hr) ? QString::fromStdString(DescribeResult(hr)) : QString());
}

} // namespace configtool
