// The receiving half of the link protocol, fed what the serial line may carry.
//
// Input: one byte that sets how often the line falls silent (every n-th byte, 0 for never), then
// the bytes of the line. Checked besides memory safety: a delivered frame fits the receive
// buffer, its answer is an ACK, a duplicate repeats the sequence delivered last; and a frame that
// the sender's own encoder makes of the same bytes is received whole, unchanged, and only at its
// last byte.

#include "fuzz_support.h"

#include "transport/frame_codec.h"
#include "transport/frame_receiver.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

using namespace transport;

namespace {

void checkEvent(const FrameReceiver &receiver, ReceiveEvent event, std::uint8_t lastBefore)
{
    FUZZ_CHECK(describe(event) != nullptr, "every event has a name");
    switch (event) {
    case ReceiveEvent::FrameAccepted:
        FUZZ_CHECK(receiver.sequence() != lastBefore, "a new frame has a new sequence");
        FUZZ_CHECK(receiver.lastReceivedSequence() == receiver.sequence(), "the delivered sequence is kept");
        [[fallthrough]];
    case ReceiveEvent::FrameDuplicate:
        FUZZ_CHECK(receiver.payload().size() + 4 <= kReceiveBufferSize, "a frame fits the receive buffer");
        FUZZ_CHECK(replyFor(event) == control::ACK, "a good frame is acknowledged");
        if (event == ReceiveEvent::FrameDuplicate)
            FUZZ_CHECK(receiver.sequence() == lastBefore, "a duplicate repeats the last sequence");
        break;
    case ReceiveEvent::BadChecksum:
    case ReceiveEvent::BadEscape:
        FUZZ_CHECK(replyFor(event) == control::NAK, "a bad frame is refused");
        break;
    default:
        FUZZ_CHECK(!replyFor(event).has_value(), "nothing else is answered");
        break;
    }
}

void checkRoundTrip(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 2)
        return;
    const auto sequence = static_cast<std::uint8_t>(bytes[0] % kSequenceModulus);
    const std::uint8_t type = bytes[1];
    const auto payload = bytes.subspan(2);
    const auto frame = encodeFrame(sequence, type, payload);
    if (!frame)
        return;
    FrameReceiver receiver;
    for (std::size_t i = 0; i < frame->size(); ++i) {
        const ReceiveEvent event = receiver.feed((*frame)[i]);
        if (i + 1 < frame->size()) {
            FUZZ_CHECK(event == ReceiveEvent::None, "an encoded frame raises nothing before its end");
            continue;
        }
        FUZZ_CHECK(event == ReceiveEvent::FrameAccepted, "an encoded frame is accepted");
        FUZZ_CHECK(receiver.sequence() == sequence && receiver.type() == type, "sequence and type survive");
        const auto received = receiver.payload();
        FUZZ_CHECK(received.size() == payload.size()
                       && std::equal(received.begin(), received.end(), payload.begin()),
                   "the payload survives");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned silenceEvery = data[0];
    const std::span<const std::uint8_t> line(data + 1, size - 1);

    FrameReceiver receiver;
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::uint8_t lastBefore = receiver.lastReceivedSequence();
        checkEvent(receiver, receiver.feed(line[i]), lastBefore);
        if (silenceEvery != 0 && (i + 1) % silenceEvery == 0) {
            lastBefore = receiver.lastReceivedSequence();
            checkEvent(receiver, receiver.silence(), lastBefore);
            FUZZ_CHECK(!receiver.insideFrame(), "silence ends any frame");
        }
    }
    checkRoundTrip(line);
    return 0;
}
