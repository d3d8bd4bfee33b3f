#include "services/root_bus_object.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "services/bus_context.h"

#include <tuple>

namespace services {

namespace {

class RootObject final : public sdbus::AdaptorInterfaces<org::orvex::IOrvex_adaptor>
{
public:
    RootObject(BusContext &context, std::shared_ptr<IOrvex> root, HRESULT constructed)
        : AdaptorInterfaces(context.connection(), kRootPath), m_context(context), m_root(std::move(root)),
          m_constructed(constructed)
    {
        registerAdaptor();
    }
    ~RootObject() { unregisterAdaptor(); }

private:
    template <typename T>
    std::tuple<int32_t, sdbus::ObjectPath> get(HRESULT (IOrvex::*getter)(std::shared_ptr<T> *))
    {
        std::shared_ptr<T> object;
        const HRESULT hr = m_context.call(getObject(), [&] {
            if (FAILED(m_constructed) || !m_root)
                return FAILED(m_constructed) ? m_constructed : E_UNEXPECTED;
            return (m_root.get()->*getter)(&object);
        });
        return {hr, m_context.pathOf(object)};
    }

    std::tuple<int32_t, sdbus::ObjectPath> getOrvexConfigData() override { return get(&IOrvex::getOrvexConfigData); }
    std::tuple<int32_t, sdbus::ObjectPath> getOrvexComms() override { return get(&IOrvex::getOrvexComms); }
    std::tuple<int32_t, sdbus::ObjectPath> getCameraCtrl() override { return get(&IOrvex::getCameraCtrl); }
    std::tuple<int32_t, sdbus::ObjectPath> getRecorderBridge() override { return get(&IOrvex::getRecorderBridge); }
    std::tuple<int32_t, sdbus::ObjectPath> getDVRTestInterface() override { return get(&IOrvex::getDVRTestInterface); }

    BusContext &m_context;
    std::shared_ptr<IOrvex> m_root;
    HRESULT m_constructed;
};

} // namespace

std::shared_ptr<void> MakeRootBusObject(BusContext &context, std::shared_ptr<IOrvex> root, HRESULT constructed)
{
    return std::make_shared<RootObject>(context, std::move(root), constructed);
}

} // namespace services
