#include "unit_fault.h"

namespace unitsim {

std::string_view faultName(Fault fault)
{
    switch (fault) {
    case Fault::Silence: return "silence";
    case Fault::Nak: return "nak";
    case Fault::CorruptChecksum: return "corrupt-checksum";
    case Fault::BadEscape: return "bad-escape";
    case Fault::CutFrame: return "cut-frame";
    case Fault::RepeatSequence: return "repeat-sequence";
    case Fault::StrayCan: return "stray-can";
    case Fault::StrayAck: return "stray-ack";
    case Fault::Overlong: return "overlong";
    case Fault::TooShort: return "too-short";
    case Fault::ControlPayload: return "control-payload";
    }
    return "unknown";
}

std::optional<Fault> faultFromName(std::string_view name)
{
    for (Fault fault : kAllFaults) {
        if (faultName(fault) == name)
            return fault;
    }
    return std::nullopt;
}

} // namespace unitsim
