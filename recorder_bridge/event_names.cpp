#include "event_names.h"

namespace recorder_bridge {

namespace {

constexpr std::string_view kDescriptions[] = {
    "Idle Dispenser",
    "Dispenser Not Responding",
    "Nozzle lift",
    "Nozzle hung up",
    "Delivery Start",
    "Delivery End",
    "Card Read",
    "RF Tag Read",
    "Card Delivery",
    "Attendant tag read",
    "RF Tag Delivery",
    "Attendant Tag Delivery",
    "Emergency Stop",
    "Camera Move to Dispenser",
    "Camera Move to Payment Terminal",
    "Camera Roam",
    "Camera Leave Preset",
    "Camera Move to Absolute PTZ Coordinates",
    "Camera Manual Control",
};

} // namespace

std::string_view EventDescription(std::int16_t number)
{
    const auto key = static_cast<std::size_t>(static_cast<std::uint16_t>(number) & 0xFFu);
    return key < std::size(kDescriptions) ? kDescriptions[key] : std::string_view();
}

} // namespace recorder_bridge
