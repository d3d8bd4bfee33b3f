// The unit's messages as the transport turns them into events, and the reply readers as the
// service reads them.
//
// Input: messages one after another, each a type byte, a length byte and that many payload bytes
// (a length of 255 takes the rest of the input, up to the 1000 bytes a message holds), so that
// position replies that come one axis at a time meet. Type 0, which the link keeps for its own
// error texts and never passes on from the unit, is skipped. Checked besides memory safety:
// every text is UTF-8 that the bus can carry, a point-of-sale text keeps to 79 characters,
// positions and volumes are numbers, and a reader read the way the service reads it (to its end
// or a thousand tuples, camera ids by slot) stays inside its payload.

#include "fuzz_support.h"

#include "transport/event_decoder.h"
#include "interfaces/transport/messages.h"
#include "platform/text_codec.h"

#include <cmath>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

using namespace transport;
using fuzz::IsBusText;

namespace {

void checkText(const std::string &text)
{
    FUZZ_CHECK(IsBusText(text), "event texts are UTF-8 for the bus");
}

bool done(IOrvexOutput &reader)
{
    std::int16_t value = 0;
    FUZZ_CHECK(reader.isDone(&value) == S_OK, "isDone answers");
    return value != 0;
}

// As the service's site exchange reads them, bounded as it bounds them.
template <typename Reader>
void readTuples(Reader &reader)
{
    reader.Begin();
    for (int tuples = 0; !done(reader) && tuples < kMaxMessageSize; ++tuples) {
        std::int16_t a = 0, b = 0, c = 0;
        FUZZ_CHECK(reader.getTuple(&a, &b, &c) == S_OK, "getTuple answers");
    }
}

class CheckingSink final : public IOrvexTransportEvents
{
public:
    HRESULT HeartBeat(const std::string &versions) override { return checkText(versions), S_OK; }
    HRESULT Debug(const std::string &debugData) override { return checkText(debugData), S_OK; }
    HRESULT BootLoadReadyRequest(std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT DispenserMap(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT SystemDiagnostics(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT TaskConfig(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT VehicleReg(std::int16_t, const std::string &regNumber) override { return checkText(regNumber), S_OK; }
    HRESULT OnError(const std::string &description) override { return checkText(description), S_OK; }
    HRESULT OnCameraPreset(const std::shared_ptr<ICameraPresetsOutput> &reader) override
    {
        std::int16_t dispenser = 0;
        FUZZ_CHECK(reader->getDispenserNumber(&dispenser) == S_OK, "the dispenser number reads");
        readTuples(*reader);
        return S_OK;
    }
    HRESULT InterestZone(std::int16_t, std::int16_t, std::int16_t, const std::string &text) override
    {
        return checkText(text), S_OK;
    }
    HRESULT OnConfigData(const std::shared_ptr<IConfigDataOutput> &reader) override
    {
        std::int16_t total = 0;
        FUZZ_CHECK(reader->getTotalCameras(&total) == S_OK, "the camera count reads");
        for (std::int16_t slot = 0; slot < total; ++slot) {
            std::int16_t id = 0;
            FUZZ_CHECK(reader->getCameraID(slot, &id) == S_OK, "a camera id reads");
        }
        readTuples(*reader);
        return S_OK;
    }
    HRESULT OnEvents(const std::shared_ptr<IEventsOutput> &reader) override
    {
        std::int16_t total = 0;
        FUZZ_CHECK(reader->getTotalEvents(&total) == S_OK, "the event count reads");
        readTuples(*reader);
        return S_OK;
    }
    HRESULT TaskDiagnostics(std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT ResetCount(std::int16_t) override { return S_OK; }
    HRESULT CameraPosition(std::int16_t, float pan, float tilt, float zoom) override
    {
        FUZZ_CHECK(std::isfinite(pan) && std::isfinite(tilt) && std::isfinite(zoom), "positions are numbers");
        return S_OK;
    }
    HRESULT OnCameraEvent(std::int16_t, std::int16_t, std::int16_t, std::int16_t, std::int16_t revisiting) override
    {
        FUZZ_CHECK(revisiting == 0 || revisiting == -1, "flags are -1 or 0");
        return S_OK;
    }
    HRESULT OnPOSMessage(std::int16_t, std::int16_t, std::int16_t, const std::string &text) override
    {
        checkText(text);
        FUZZ_CHECK(Utf8ToCp1252(text).size() <= 79, "point-of-sale texts keep to 79 characters");
        return S_OK;
    }
    HRESULT OnPumpEvent(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override { return S_OK; }
    HRESULT OnPumpEventWithDeliveryTotals(std::int16_t, std::int16_t, std::int16_t, Currency, Currency, double volume,
                                          std::int16_t) override
    {
        FUZZ_CHECK(std::isfinite(volume) && volume >= 0, "volumes are numbers");
        return S_OK;
    }
    HRESULT OnPOSEventData(std::int16_t, std::int16_t, std::int16_t movable, std::int16_t, std::int16_t) override
    {
        FUZZ_CHECK(movable == 0 || movable == -1, "flags are -1 or 0");
        return S_OK;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::span<const std::uint8_t> rest(data, size);
    EventDecoder decoder;
    CheckingSink sink;
    while (rest.size() >= 2) {
        const std::uint8_t type = rest[0];
        std::size_t length = rest[1] == 0xFF ? rest.size() - 2 : std::min<std::size_t>(rest[1], rest.size() - 2);
        length = std::min<std::size_t>(length, kMaxMessageSize);
        const auto payload = rest.subspan(2, length);
        rest = rest.subspan(2 + length);
        if (type == 0)
            continue;
        if (const EventCall call = decoder.decode(type, payload))
            call(sink);
    }
    return 0;
}
