#pragma once
// A transport event subscriber that writes each event it receives as one line of text, e.g.
// "OnPumpEvent(4,1,2,3)", readers included ("OnEvents(n=2;1,2,3;4,5,6)"), so that tests
// compare events as strings. Safe to fire from any thread.

#include "support/tests/wait_until.h"

#include "interfaces/transport/iorvex_transport_events.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

class RecordingSink : public transport::IOrvexTransportEvents
{
public:
    using i16 = std::int16_t;

    [[nodiscard]] std::vector<std::string> lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    [[nodiscard]] std::size_t count() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines.size();
    }
    bool waitForCount(std::size_t n, std::chrono::milliseconds timeout = scaled(std::chrono::seconds(10))) const
    {
        return waitUntil([&] { return count() >= n; }, timeout);
    }
    void clear()
    {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }

    HRESULT HeartBeat(const std::string &versions) override { return add("HeartBeat(" + versions + ")"); }
    HRESULT Debug(const std::string &debugData) override { return add("Debug(" + debugData + ")"); }
    HRESULT BootLoadReadyRequest(i16 a, i16 b, i16 c) override { return add("BootLoadReadyRequest" + nums({a, b, c})); }
    HRESULT DispenserMap(i16 a, i16 b, i16 c, i16 d) override { return add("DispenserMap" + nums({a, b, c, d})); }
    HRESULT SystemDiagnostics(i16 a, i16 b, i16 c, i16 d) override
    {
        return add("SystemDiagnostics" + nums({a, b, c, d}));
    }
    HRESULT TaskConfig(i16 a, i16 b, i16 c, i16 d) override { return add("TaskConfig" + nums({a, b, c, d})); }
    HRESULT VehicleReg(i16 a, const std::string &text) override
    {
        return add("VehicleReg(" + std::to_string(a) + "," + text + ")");
    }
    HRESULT OnError(const std::string &description) override { return add("OnError(" + description + ")"); }
    HRESULT OnCameraPreset(const std::shared_ptr<transport::ICameraPresetsOutput> &r) override
    {
        i16 n = 0;
        r->getDispenserNumber(&n);
        return add("OnCameraPreset(n=" + std::to_string(n) + tuples(*r) + ")");
    }
    HRESULT InterestZone(i16 a, i16 b, i16 c, const std::string &text) override
    {
        return add("InterestZone(" + std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + ","
                   + text + ")");
    }
    HRESULT OnConfigData(const std::shared_ptr<transport::IConfigDataOutput> &r) override
    {
        i16 n = 0;
        r->getTotalCameras(&n);
        std::string text = "OnConfigData(n=" + std::to_string(n);
        for (int i = 0; i < 5; ++i) {
            i16 p = 0, d = 0, v = 0;
            r->getTuple(&p, &d, &v);
            text.append(";").append(std::to_string(p)).append(",").append(std::to_string(d));
            text.append(",").append(std::to_string(v));
        }
        text += ";ids";
        for (i16 i = 0; i < n; ++i) {
            i16 id = 0;
            r->getCameraID(i, &id);
            text.append(",").append(std::to_string(id));
        }
        return add(text + ")");
    }
    HRESULT OnEvents(const std::shared_ptr<transport::IEventsOutput> &r) override
    {
        i16 n = 0;
        r->getTotalEvents(&n);
        return add("OnEvents(n=" + std::to_string(n) + tuples(*r) + ")");
    }
    HRESULT TaskDiagnostics(i16 a, i16 b, i16 c) override { return add("TaskDiagnostics" + nums({a, b, c})); }
    HRESULT ResetCount(i16 a) override { return add("ResetCount" + nums({a})); }
    HRESULT CameraPosition(i16 camera, float pan, float tilt, float zoom) override
    {
        char text[128];
        std::snprintf(text, sizeof text, "CameraPosition(%d,%g,%g,%g)", camera, pan, tilt, zoom);
        return add(text);
    }
    HRESULT OnCameraEvent(i16 a, i16 b, i16 c, i16 d, i16 e) override { return add("OnCameraEvent" + nums({a, b, c, d, e})); }
    HRESULT OnPOSMessage(i16 a, i16 b, i16 c, const std::string &text) override
    {
        return add("OnPOSMessage(" + std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + ","
                   + text + ")");
    }
    HRESULT OnPumpEvent(i16 a, i16 b, i16 c, i16 d) override { return add("OnPumpEvent" + nums({a, b, c, d})); }
    HRESULT OnPumpEventWithDeliveryTotals(i16 a, i16 b, i16 c, Currency unit, Currency total, double volume,
                                          i16 camera) override
    {
        char text[160];
        std::snprintf(text, sizeof text, "OnPumpEventWithDeliveryTotals(%d,%d,%d,%lld,%lld,%.6g,%d)", a, b, c,
                      static_cast<long long>(unit.scaled), static_cast<long long>(total.scaled), volume, camera);
        return add(text);
    }
    HRESULT OnPOSEventData(i16 a, i16 b, i16 c, i16 d, i16 e) override { return add("OnPOSEventData" + nums({a, b, c, d, e})); }

protected:
    virtual HRESULT add(std::string line)
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
        return S_OK;
    }

private:
    static std::string nums(std::initializer_list<i16> values)
    {
        std::string text = "(";
        for (const auto v : values)
            text.append(text.size() > 1 ? "," : "").append(std::to_string(v));
        return text + ")";
    }
    template <typename Reader>
    static std::string tuples(Reader &r)
    {
        std::string text;
        for (i16 done = 0; r.isDone(&done) == S_OK && !done;) {
            i16 a = 0, b = 0, c = 0;
            r.getTuple(&a, &b, &c);
            text.append(";").append(std::to_string(a)).append(",").append(std::to_string(b));
            text.append(",").append(std::to_string(c));
        }
        return text;
    }

    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};
