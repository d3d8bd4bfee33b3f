#pragma once
// The faults the simulated unit can put on the line, and their command names.
//
// Faults on frames from the PC (each counts frames): silence (no answer, not taken), nak (refused
// although good). Faults on the unit's own writes (each counts writes): corrupt-checksum,
// bad-escape (DLE before an ordinary byte; the frame ends there), cut-frame (half a frame, then
// silence), stray-can and stray-ack (a raw CAN or ACK inside the frame). repeat-sequence sends an
// acknowledged frame once more with its sequence number. Faults that queue frames of their own:
// overlong (a frame of more than 1000 bytes), too-short (a checksum-valid frame of one byte),
// control-payload (a frame whose payload is only control bytes).

#include <cstdint>
#include <optional>
#include <string_view>

namespace unitsim {

enum class Fault : std::uint8_t {
    Silence,
    Nak,
    CorruptChecksum,
    BadEscape,
    CutFrame,
    RepeatSequence,
    StrayCan,
    StrayAck,
    Overlong,
    TooShort,
    ControlPayload,
};

inline constexpr Fault kAllFaults[] = {Fault::Silence,   Fault::Nak,          Fault::CorruptChecksum,
                                       Fault::BadEscape, Fault::CutFrame,     Fault::RepeatSequence,
                                       Fault::StrayCan,  Fault::StrayAck,     Fault::Overlong,
                                       Fault::TooShort,  Fault::ControlPayload};

[[nodiscard]] std::string_view faultName(Fault fault);
[[nodiscard]] std::optional<Fault> faultFromName(std::string_view name);

} // namespace unitsim
