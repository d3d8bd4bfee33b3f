#include "msg_input.h"

#include "support/trace_log.h"

namespace recorder_bridge {

MsgInput::MsgInput(support::QueuedWorkerThread *output) : m_sink(std::make_shared<DvrEventSink>(output)) {}

MsgInput::~MsgInput()
{
    m_sink->Detach();
    Unsubscribe();
}

void MsgInput::Unsubscribe()
{
    if (m_service && m_cookie != 0)
        m_service->UnadviseDVREvents(m_cookie);
    m_cookie = 0;
}

HRESULT MsgInput::RegisterServices(std::shared_ptr<services::IDVREventSource> service)
{
    Unsubscribe();
    m_service = std::move(service);
    if (!m_service) {
        support::TraceError("Unable to subscribe to recorder events: no service given");
        return S_OK;
    }
    const HRESULT hr = m_service->AdviseDVREvents(m_sink, &m_cookie);
    if (FAILED(hr)) {
        m_cookie = 0;
        support::TraceError("Unable to subscribe to recorder events: 0x%08X - %s", static_cast<unsigned>(hr),
                            DescribeResult(hr).c_str());
    }
    return S_OK;
}

} // namespace recorder_bridge
