// The one symbol DeviceCourier exports.

#include "interfaces/transport/orvex_transport_factory.h"

#include "orvex_transport.h"

#include <new>

namespace transport {

HRESULT CreateOrvexTransport(std::shared_ptr<IOrvexTransport> *transport)
{
    if (!transport)
        return E_POINTER;
    try {
        *transport = std::make_shared<OrvexTransport>();
        return S_OK;
    } catch (const std::bad_alloc &) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace transport
