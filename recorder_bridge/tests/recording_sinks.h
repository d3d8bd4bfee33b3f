#pragma once
// A subscriber to every event of the bridge that writes each call as one line,
// "Member(arg,arg,...)": money as $ and its decimal text, doubles in their shortest form, and a
// timestamp of the bridge's form as TS, so that golden lines stay fixed. Also a stand-in for the
// service hub's recorder event source.

#include "interfaces/recorder_bridge/orvex_interface.h"
#include "interfaces/services/idvr_event_source.h"
#include "platform/connection_point.h"
#include "platform/variant_conversion.h"

#include <functional>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

namespace bridge_test {

class EventLog
{
public:
    void add(std::string line)
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
    }
    [[nodiscard]] std::vector<std::string> lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    [[nodiscard]] std::size_t size() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines.size();
    }
    void clear()
    {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

inline std::string Arg(const std::string &text)
{
    static const std::regex timestamp(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)");
    return std::regex_match(text, timestamp) ? "TS" : text;
}
inline std::string Arg(const char *text) { return Arg(std::string(text)); }
inline std::string Arg(std::int16_t value) { return std::to_string(value); }
inline std::string Arg(Currency value) { return std::string("$").append(CurrencyText(value)); }
inline std::string Arg(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

template <typename... Args>
std::string Call(const char *member, const Args &...args)
{
    std::string line = std::string(member) + "(";
    ((line += Arg(args) + ","), ...);
    if (line.back() == ',')
        line.pop_back();
    return line + ")";
}

#define ORVEX_RECORD(member, ...)                                                                                      \
    do {                                                                                                               \
        if (m_before)                                                                                                  \
            m_before(#member);                                                                                         \
        m_log.add(Call(#member, __VA_ARGS__));                                                                         \
        return S_OK;                                                                                                   \
    } while (0)

// Records every event of every family into one log. `before`, when set, runs first in each
// call (a test can block or throw there).
class RecordingSink final : public recorder_bridge::IFuellingEvents,
                            public recorder_bridge::IPaymentTerminalEvents,
                            public recorder_bridge::IForecourtCameraEvents,
                            public recorder_bridge::IRetailEvents,
                            public recorder_bridge::IImageCaptureEvents,
                            public recorder_bridge::ILicencePlateRecognizerEvents
{
public:
    explicit RecordingSink(EventLog &log, std::function<void(const char *)> before = {})
        : m_log(log), m_before(std::move(before))
    {
    }

    using S = const std::string &;
    using I = std::int16_t;
    using C = Currency;
    using D = double;

    HRESULT OnStartFuelDelivery(S a, I b, I c, I d, S e, I f) override { ORVEX_RECORD(OnStartFuelDelivery, a, b, c, d, e, f); }
    HRESULT OnFinishFuelDelivery(S a, I b, I c, I d, S e, I f, C g, C h, D i, S j, I k, I l) override
    {
        ORVEX_RECORD(OnFinishFuelDelivery, a, b, c, d, e, f, g, h, i, j, k, l);
    }
    HRESULT OnFuellingEvent(S a, I b, I c, I d, S e, I f) override { ORVEX_RECORD(OnFuellingEvent, a, b, c, d, e, f); }

    HRESULT OnCardRead(S a, I b, I c, I d, S e) override { ORVEX_RECORD(OnCardRead, a, b, c, d, e); }
    HRESULT OnPaymentTransactionAuthorized(S a, I b, I c, I d, S e) override
    {
        ORVEX_RECORD(OnPaymentTransactionAuthorized, a, b, c, d, e);
    }
    HRESULT OnPaymentTransactionCancelled(S a, I b, I c) override { ORVEX_RECORD(OnPaymentTransactionCancelled, a, b, c); }
    HRESULT OnPrintReceipt(S a, I b, I c) override { ORVEX_RECORD(OnPrintReceipt, a, b, c); }
    HRESULT OnPaymentTerminalEvent(S a, I b, I c, I d, S e) override { ORVEX_RECORD(OnPaymentTerminalEvent, a, b, c, d, e); }

    HRESULT OnCameraVisitFuellingPosition(S a, I b, I c, I d, S e, I f, I g, I h, D i, D j, D k, D l, I m, S n,
                                          I o) override
    {
        ORVEX_RECORD(OnCameraVisitFuellingPosition, a, b, c, d, e, f, g, h, i, j, k, l, m, n, o);
    }
    HRESULT OnCameraVisitPaymentTerminal(S a, I b, I c, I d, S e, I f, I g, I h, D i, D j, D k, D l, I m, S n,
                                         I o) override
    {
        ORVEX_RECORD(OnCameraVisitPaymentTerminal, a, b, c, d, e, f, g, h, i, j, k, l, m, n, o);
    }
    HRESULT OnCameraLeavePosition(S a, I b, I c, S d, I e, I f, I g, D h, D i, D j, D k) override
    {
        ORVEX_RECORD(OnCameraLeavePosition, a, b, c, d, e, f, g, h, i, j, k);
    }
    HRESULT OnCameraVisitWorkstation(S a, I b, S c, I d, S e, I f, I g, I h, D i, D j, D k, D l) override
    {
        ORVEX_RECORD(OnCameraVisitWorkstation, a, b, c, d, e, f, g, h, i, j, k, l);
    }
    HRESULT OnCameraVisit(S a, I b, I c, S d, I e, I f, I g, D h, D i, D j, D k, I l, S m, I n) override
    {
        ORVEX_RECORD(OnCameraVisit, a, b, c, d, e, f, g, h, i, j, k, l, m, n);
    }
    HRESULT OnCameraRoam(S a, I b, I c, S d, I e, I f, I g, D h, D i, D j) override
    {
        ORVEX_RECORD(OnCameraRoam, a, b, c, d, e, f, g, h, i, j);
    }
    HRESULT OnCameraLocalizeRegistrationPlate(S a, I b, I c, I d, S e, I f, I g, I h, D i, D j, D k, D l) override
    {
        ORVEX_RECORD(OnCameraLocalizeRegistrationPlate, a, b, c, d, e, f, g, h, i, j, k, l);
    }

    HRESULT OnBeginRetailTransaction(S a, I b, S c, S d, S e, I f) override
    {
        ORVEX_RECORD(OnBeginRetailTransaction, a, b, c, d, e, f);
    }
    HRESULT OnEndRetailTransaction(S a, I b, S c, S d, S e, I f) override
    {
        ORVEX_RECORD(OnEndRetailTransaction, a, b, c, d, e, f);
    }
    HRESULT OnCancelRetailTransactionID(S a, I b, S c, S d, I e) override
    {
        ORVEX_RECORD(OnCancelRetailTransactionID, a, b, c, d, e);
    }
    HRESULT OnPOSNoSaleTransaction(S a, I b, S c, S d, I e) override { ORVEX_RECORD(OnPOSNoSaleTransaction, a, b, c, d, e); }
    HRESULT OnFuelSalesLineItem(S a, I b, S c, I d, S e, I f, C g, I h, I i, C j, D k, S l, S m, I n, I o,
                                I p) override
    {
        ORVEX_RECORD(OnFuelSalesLineItem, a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p);
    }
    HRESULT OnMerchandiseLineItem(S a, I b, S c, S d, S e, S f, C g, I h, D i, C j, I k, I l) override
    {
        ORVEX_RECORD(OnMerchandiseLineItem, a, b, c, d, e, f, g, h, i, j, k, l);
    }
    HRESULT OnTaxLineItem(S a, I b, S c, S d, C e, I f) override { ORVEX_RECORD(OnTaxLineItem, a, b, c, d, e, f); }
    HRESULT OnSubTotalLineItem(S a, I b, S c, S d, C e, I f) override { ORVEX_RECORD(OnSubTotalLineItem, a, b, c, d, e, f); }
    HRESULT OnTenderLineItem(S a, I b, S c, S d, C e, I f, S g, I h) override
    {
        ORVEX_RECORD(OnTenderLineItem, a, b, c, d, e, f, g, h);
    }
    HRESULT OnTenderChangeLineItem(S a, I b, S c, S d, C e, I f) override
    {
        ORVEX_RECORD(OnTenderChangeLineItem, a, b, c, d, e, f);
    }
    HRESULT OnVoidModifier(S a, I b, S c, S d, I e) override { ORVEX_RECORD(OnVoidModifier, a, b, c, d, e); }
    HRESULT OnQuantityModifier(S a, I b, S c, S d, C e, I f) override { ORVEX_RECORD(OnQuantityModifier, a, b, c, d, e, f); }
    HRESULT OnPriceModifier(S a, I b, S c, S d, C e, I f) override { ORVEX_RECORD(OnPriceModifier, a, b, c, d, e, f); }
    HRESULT OnDiscountLineItem(S a, I b, S c, S d, C e, I f, I g) override
    {
        ORVEX_RECORD(OnDiscountLineItem, a, b, c, d, e, f, g);
    }

    HRESULT OnCapturedFuellingPositionImage(S a, I b, I c, I d, S e, S f, I g, S h, I i) override
    {
        ORVEX_RECORD(OnCapturedFuellingPositionImage, a, b, c, d, e, f, g, h, i);
    }
    HRESULT OnCapturedPaymentTerminalImage(S a, I b, I c, I d, S e, S f, I g, S h, I i) override
    {
        ORVEX_RECORD(OnCapturedPaymentTerminalImage, a, b, c, d, e, f, g, h, i);
    }
    HRESULT OnCapturedWorkstationImage(S a, I b, S c, I d, S e, S f, I g, S h, I i) override
    {
        ORVEX_RECORD(OnCapturedWorkstationImage, a, b, c, d, e, f, g, h, i);
    }

    HRESULT OnRequestImageCapture(I a) override { ORVEX_RECORD(OnRequestImageCapture, a); }
    HRESULT OnRecognizeRegistrationNumber(S a, I b, I c, I d, I e, S f, S g, S h) override
    {
        ORVEX_RECORD(OnRecognizeRegistrationNumber, a, b, c, d, e, f, g, h);
    }

private:
    EventLog &m_log;
    std::function<void(const char *)> m_before;
};

#undef ORVEX_RECORD

// Subscribes `sink` to all six event objects of `bridge`.
void SubscribeAll(recorder_bridge::IOrvexInterface &bridge, const std::shared_ptr<RecordingSink> &sink);

// The service hub's recorder event source, as far as the bridge sees it. `refuse` makes every
// subscription fail with that code.
class FakeHub final : public services::IDVREventSource
{
public:
    HRESULT AdviseDVREvents(std::shared_ptr<services::IDVREvents> sink, std::uint32_t *cookie) override
    {
        if (FAILED(refuse))
            return refuse;
        return m_sinks.Advise(std::move(sink), cookie);
    }
    HRESULT UnadviseDVREvents(std::uint32_t cookie) override { return m_sinks.Unadvise(cookie); }

    template <typename Call>
    void Fire(Call &&call)
    {
        m_sinks.Fire(call);
    }
    [[nodiscard]] std::size_t subscribers() const { return m_sinks.Count(); }

    HRESULT refuse = S_OK;

private:
    ConnectionPoint<services::IDVREvents> m_sinks;
};

} // namespace bridge_test
