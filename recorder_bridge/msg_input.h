#pragma once
// The bridge's event input: subscribes the recorder event sink to the service's hub and ends the
// subscription when it goes.
//
// Owned by the parser, which creates it with its own queue as the output and destroys it first
// in its own teardown. RegisterServices returns S_OK whatever the subscription gives; a refused
// subscription writes an error line, since no event would ever arrive. Called from the thread
// that registers the services (any thread).

#include "dvr_event_sink.h"
#include "interfaces/services/idvr_event_source.h"

#include <cstdint>
#include <memory>

namespace support {
class QueuedWorkerThread;
}

namespace recorder_bridge {

class MsgInput
{
public:
    explicit MsgInput(support::QueuedWorkerThread *output);
    MsgInput(const MsgInput &) = delete;
    MsgInput &operator=(const MsgInput &) = delete;
    // Stops posting, then unsubscribes from the service (nothing to end when RegisterServices
    // never ran).
    ~MsgInput();

    HRESULT RegisterServices(std::shared_ptr<services::IDVREventSource> service);

    // The sink the service fires into (also for callers that fire directly, such as tests).
    [[nodiscard]] std::shared_ptr<services::IDVREvents> sink() const { return m_sink; }

private:
    void Unsubscribe();

    std::shared_ptr<DvrEventSink> m_sink;
    std::shared_ptr<services::IDVREventSource> m_service;
    std::uint32_t m_cookie = 0;
};

} // namespace recorder_bridge
