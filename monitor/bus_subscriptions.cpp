#include "bus_subscriptions.h"

#include "event_line_formatter.h"
#include "guarded.h"
#include "monitor_window.h"

#include "serviceclient/bus_call.h"
#include "serviceclient/proxies/orvexservices_proxy.h"
#include "serviceclient/proxies/recorderbridge_proxy.h"
#include "serviceclient/service_bus.h"

#include <QDBusServiceWatcher>

#include <memory>

namespace monitor {

namespace {

using serviceclient::CheckedPath;

using F = EventLineFormatter;

// Each event of the bridge goes to the formatter of the same name, whose parameters are the
// signal's own, and its pieces into the transactions log.
template <typename Proxy, typename... Args>
void route(Proxy *proxy, void (Proxy::*signal)(Args...), QStringList (*format)(Args...),
           MonitorWindow *window)
{
    QObject::connect(proxy, signal, window, [window, format](Args... args) {
        RunGuarded([&] { window->showEventLines(format(args...)); });
    });
}

void routeFuelling(OrgOrvexIFuellingEventsInterface *p, MonitorWindow *w)
{
    using P = OrgOrvexIFuellingEventsInterface;
    route(p, &P::OnStartFuelDelivery, &F::OnStartFuelDelivery, w);
    route(p, &P::OnFuellingEvent, &F::OnFuellingEvent, w);
    route(p, &P::OnFinishFuelDelivery, &F::OnFinishFuelDelivery, w);
}

void routeCamera(OrgOrvexIForecourtCameraEventsInterface *p, MonitorWindow *w)
{
    using P = OrgOrvexIForecourtCameraEventsInterface;
    route(p, &P::OnCameraVisitFuellingPosition, &F::OnCameraVisitFuellingPosition, w);
    route(p, &P::OnCameraVisitPaymentTerminal, &F::OnCameraVisitPaymentTerminal, w);
    route(p, &P::OnCameraLeavePosition, &F::OnCameraLeavePosition, w);
    route(p, &P::OnCameraVisitWorkstation, &F::OnCameraVisitWorkstation, w);
    route(p, &P::OnCameraVisit, &F::OnCameraVisit, w);
    route(p, &P::OnCameraRoam, &F::OnCameraRoam, w);
    route(p, &P::OnCameraLocalizeRegistrationPlate, &F::OnCameraLocalizeRegistrationPlate, w);
}

void routePayment(OrgOrvexIPaymentTerminalEventsInterface *p, MonitorWindow *w)
{
    using P = OrgOrvexIPaymentTerminalEventsInterface;
    route(p, &P::OnCardRead, &F::OnCardRead, w);
    route(p, &P::OnPaymentTransactionAuthorized, &F::OnPaymentTransactionAuthorized, w);
    route(p, &P::OnPaymentTransactionCancelled, &F::OnPaymentTransactionCancelled, w);
    route(p, &P::OnPrintReceipt, &F::OnPrintReceipt, w);
    route(p, &P::OnPaymentTerminalEvent, &F::OnPaymentTerminalEvent, w);
}

void routeRetail(OrgOrvexIRetailEventsInterface *p, MonitorWindow *w)
{
    using P = OrgOrvexIRetailEventsInterface;
    route(p, &P::OnBeginRetailTransaction, &F::OnBeginRetailTransaction, w);
    route(p, &P::OnEndRetailTransaction, &F::OnEndRetailTransaction, w);
    route(p, &P::OnCancelRetailTransactionID, &F::OnCancelRetailTransactionID, w);
    route(p, &P::OnPOSNoSaleTransaction, &F::OnPOSNoSaleTransaction, w);
    route(p, &P::OnFuelSalesLineItem, &F::OnFuelSalesLineItem, w);
    route(p, &P::OnMerchandiseLineItem, &F::OnMerchandiseLineItem, w);
    route(p, &P::OnTaxLineItem, &F::OnTaxLineItem, w);
    route(p, &P::OnSubTotalLineItem, &F::OnSubTotalLineItem, w);
    route(p, &P::OnTenderLineItem, &F::OnTenderLineItem, w);
    route(p, &P::OnTenderChangeLineItem, &F::OnTenderChangeLineItem, w);
    route(p, &P::OnVoidModifier, &F::OnVoidModifier, w);
    route(p, &P::OnQuantityModifier, &F::OnQuantityModifier, w);
    route(p, &P::OnPriceModifier, &F::OnPriceModifier, w);
    route(p, &P::OnDiscountLineItem, &F::OnDiscountLineItem, w);
}

void routeLicencePlates(OrgOrvexILicencePlateRecognizerEventsInterface *p, MonitorWindow *w)
{
    using P = OrgOrvexILicencePlateRecognizerEventsInterface;
    route(p, &P::OnRequestImageCapture, &F::OnRequestImageCapture, w);
    route(p, &P::OnRecognizeRegistrationNumber, &F::OnRecognizeRegistrationNumber, w);
}

// The hub's other status events (diagnostics, comms errors, site replies, camera positions)
// are not the console's business and stay unsubscribed.
void routeStatus(OrgOrvexIOrvexCommsEventsInterface *p, MonitorWindow *w)
{
    using P = OrgOrvexIOrvexCommsEventsInterface;
    QObject::connect(p, &P::Debug, w,
                     [w](const QString &text) { RunGuarded([&] { w->showDebug(text); }); });
    QObject::connect(p, &P::OrvexOnline, w,
                     [w](const QString &) { RunGuarded([&] { w->showOnline(); }); });
    QObject::connect(p, &P::OrvexOffline, w, [w] { RunGuarded([&] { w->showOffline(); }); });
}

// A proxy of the object whose path `getter` answers, its signals routed to the window.
template <typename Proxy>
std::unique_ptr<QDBusAbstractInterface>
subscribe(const serviceclient::ServiceBus &bus, const QDBusPendingCall &getter, const char *call,
          void (*routeTo)(Proxy *, MonitorWindow *), MonitorWindow *window)
{
    auto proxy = bus.proxy<Proxy>(CheckedPath(getter, QLatin1String(call)));
    routeTo(proxy.get(), window);
    return proxy;
}

} // namespace

BusSubscriptions::BusSubscriptions(const serviceclient::ServiceBus &bus, MonitorWindow &window)
    : m_bus(bus), m_window(window)
{
    connect(&m_window, &MonitorWindow::toggleDebugRequested, this,
            [this] { RunGuarded([this] { toggleDebug(); }); });
}

BusSubscriptions::~BusSubscriptions() = default;

void BusSubscriptions::start()
{
    m_subscriptions.clear();
    m_comms.reset();
    const auto root = m_bus.root();
    const auto bridge = m_bus.proxy<OrgOrvexIOrvexInterfaceInterface>(
        CheckedPath(root->getRecorderBridge(), "getRecorderBridge"));
    MonitorWindow *w = &m_window;
    m_subscriptions.push_back(
        subscribe(m_bus, bridge->getFuellingInterface(), "getFuellingInterface", routeFuelling, w));
    m_subscriptions.push_back(
        subscribe(m_bus, bridge->getForecourtCamera(), "getForecourtCamera", routeCamera, w));
    m_subscriptions.push_back(
        subscribe(m_bus, bridge->getPaymentTerminal(), "getPaymentTerminal", routePayment, w));
    m_subscriptions.push_back(subscribe(m_bus, bridge->getRetail(), "getRetail", routeRetail, w));
    m_subscriptions.push_back(subscribe(m_bus, bridge->getLicencePlateRecognizer(),
                                        "getLicencePlateRecognizer", routeLicencePlates, w));
    const QDBusObjectPath hub = CheckedPath(root->getOrvexComms(), "getOrvexComms");
    auto status = m_bus.proxy<OrgOrvexIOrvexCommsEventsInterface>(hub);
    routeStatus(status.get(), w);
    m_subscriptions.push_back(std::move(status));
    m_comms = m_bus.proxy<OrgOrvexIOrvexCommsInterface>(hub);
    m_owner = m_bus.serviceOwner();
    emit started();
}

void BusSubscriptions::followServiceRestarts()
{
    QDBusServiceWatcher *watcher = m_bus.watchService(this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                RunGuarded([&] { onOwnerChanged(newOwner); });
            });
}

void BusSubscriptions::onOwnerChanged(const QString &newOwner)
{
    if (newOwner.isEmpty()) {
        m_window.showOffline();
        return;
    }
    // The first start's own activation may be reported late; that owner is served already.
    if (newOwner == m_owner)
        return;
    try {
        start();
    } catch (const serviceclient::CallError &error) {
        if (error.result() == serviceclient::kBusCallFailed && hasGoneSince(newOwner)) {
            m_window.showOffline();
            return;
        }
        emit failed(failureText(error.call(), error.text()));
    }
}

bool BusSubscriptions::hasGoneSince(const QString &owner) const
{
    return m_bus.serviceOwner() != owner;
}

void BusSubscriptions::toggleDebug()
{
    if (!m_comms)
        return;
    serviceclient::WhenAnswered(m_comms->ToggleDebug(0), this, [this](const QDBusMessage &reply) {
        QString text;
        if (FAILED(serviceclient::ResultOf(reply, &text)))
            emit failed(failureText(QStringLiteral("ToggleDebug"), text));
    });
}

QString BusSubscriptions::failureText(const QString &call, const QString &text)
{
    return tr("%1 failed: %2").arg(call, text);
}

} // namespace monitor
