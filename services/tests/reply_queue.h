#pragma once
// Holds the unit's replies, as the transport fires them on its dispatcher thread, until the
// thread that stands in for the service thread applies them to the site, as the hub would.

#include "interfaces/transport/iorvex_transport_events.h"
#include "services/site_exchange.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace services::testing {

// Holds the unit's replies, as the transport fires them on its own thread, until the test
// thread (standing in for the service thread) applies them to the site.
class ReplyQueue final : public transport::IOrvexTransportEvents
{
public:
    using Reply = std::function<void(SiteExchange &)>;

    HRESULT DispenserMap(std::int16_t d, std::int16_t l, std::int16_t a, std::int16_t c) override
    {
        return push([=](SiteExchange &s) { s.OnDispenserMapReply(d, l, a, c); });
    }
    HRESULT TaskConfig(std::int16_t t, std::int16_t i, std::int16_t o, std::int16_t f) override
    {
        return push([=](SiteExchange &s) { s.OnTaskConfigReply(t, i, o, f); });
    }
    HRESULT OnCameraPreset(const std::shared_ptr<transport::ICameraPresetsOutput> &r) override
    {
        return push([=](SiteExchange &s) { s.OnCameraPresetReply(r); });
    }
    HRESULT OnConfigData(const std::shared_ptr<transport::IConfigDataOutput> &r) override
    {
        return push([=](SiteExchange &s) { s.OnConfigDataReply(r); });
    }
    HRESULT OnEvents(const std::shared_ptr<transport::IEventsOutput> &r) override
    {
        return push([=](SiteExchange &s) { s.OnEventsReply(r); });
    }
    HRESULT OnPOSEventData(std::int16_t p, std::int16_t c, std::int16_t m, std::int16_t n, std::int16_t y) override
    {
        // The hub hands over only the points of sale with a camera.
        if (c == 0)
            return S_OK;
        return push([=](SiteExchange &s) { s.OnPOSEventDataReply(p, c, m, n, y); });
    }

    [[nodiscard]] std::size_t size() const
    {
        std::lock_guard lock(m_mutex);
        return m_replies.size();
    }
    void applyTo(SiteExchange &site)
    {
        std::deque<Reply> replies;
        {
            std::lock_guard lock(m_mutex);
            replies.swap(m_replies);
        }
        for (auto &reply : replies)
            reply(site);
    }

    HRESULT HeartBeat(const std::string &) override { return S_OK; }
    HRESULT Debug(const std::string &) override { return S_OK; }
    HRESULT BootLoadReadyRequest(std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT SystemDiagnostics(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT VehicleReg(std::int16_t, const std::string &) override { return S_OK; }
    HRESULT OnError(const std::string &) override { return S_OK; }
    HRESULT InterestZone(std::int16_t, std::int16_t, std::int16_t, const std::string &) override { return S_OK; }
    HRESULT TaskDiagnostics(std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT ResetCount(std::int16_t) override { return S_OK; }
    HRESULT CameraPosition(std::int16_t, float, float, float) override { return S_OK; }
    HRESULT OnCameraEvent(std::int16_t, std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT OnPOSMessage(std::int16_t, std::int16_t, std::int16_t, const std::string &) override { return S_OK; }
    HRESULT OnPumpEvent(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT OnPumpEventWithDeliveryTotals(std::int16_t, std::int16_t, std::int16_t, Currency, Currency, double,
                                          std::int16_t) override
    {
        return S_OK;
    }

private:
    HRESULT push(Reply reply)
    {
        std::lock_guard lock(m_mutex);
        m_replies.push_back(std::move(reply));
        return S_OK;
    }

    mutable std::mutex m_mutex;
    std::deque<Reply> m_replies;
};

} // namespace services::testing
