#pragma once
// Sinks of the recorder bridge's events that put them on the bus. The bridge fires from its own
// threads; the connection belongs to the service thread, so each event is posted there and the
// firing thread never waits for it (a busy service thread delays the signal, never the bridge).

#include "platform/hresult.h"
#include "services/bus_context.h"
#include "support/trace_log.h"

#include <memory>

namespace services {

template <typename Signals>
class PostedSignals
{
public:
    using Emitter = Signals;

    PostedSignals(std::weak_ptr<BusContext> context, std::weak_ptr<Signals> signals)
        : m_context(std::move(context)), m_signals(std::move(signals))
    {
    }

protected:
    template <typename Emit>
    HRESULT post(Emit &&emit)
    {
        auto context = m_context.lock();
        if (!context)
            return S_OK;
        context->post([signals = m_signals, emit = std::forward<Emit>(emit)](BusContext &bus) {
            if (auto target = signals.lock()) {
                emit(*target);
                bus.afterSend();
            }
        });
        return S_OK;
    }

private:
    std::weak_ptr<BusContext> m_context;
    std::weak_ptr<Signals> m_signals;
};

// The signal emitter with its sink subscribed to the bridge's event object; dropping it
// unsubscribes.
template <typename Sink, typename Signals, typename Source>
class Subscription
{
public:
    Subscription(BusContext &context, std::shared_ptr<Signals> signals, std::shared_ptr<Source> source)
        : m_signals(std::move(signals)), m_source(std::move(source))
    {
        auto sink = std::make_shared<Sink>(context.weak_from_this(), m_signals);
        const HRESULT hr = m_source->Advise(sink, &m_cookie);
        if (FAILED(hr))
            support::TraceError("Error Advising Recorder Events for the bus: %s", DescribeResult(hr).c_str());
    }
    ~Subscription()
    {
        if (m_cookie != 0)
            (void)m_source->Unadvise(m_cookie);
    }
    Subscription(const Subscription &) = delete;
    Subscription &operator=(const Subscription &) = delete;

private:
    std::shared_ptr<Signals> m_signals;
    std::shared_ptr<Source> m_source;
    std::uint32_t m_cookie = 0;
};

template <typename Sink, typename Signals, typename Source>
std::shared_ptr<void> MakeSubscription(BusContext &context, std::shared_ptr<Signals> signals,
                                       std::shared_ptr<Source> source)
{
    return std::make_shared<Subscription<Sink, Signals, Source>>(context, std::move(signals), std::move(source));
}

// A new object at `path` that only emits the signals, subscribed with a new Sink to `source`.
template <typename Sink, typename Source>
std::shared_ptr<void> MakeEmitterSubscription(BusContext &context, const std::string &path,
                                              std::shared_ptr<Source> source)
{
    auto signals = std::make_shared<typename Sink::Emitter>(context.connection(), path);
    return MakeSubscription<Sink>(context, std::move(signals), std::move(source));
}

} // namespace services
