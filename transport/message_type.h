#pragma once
// The message type codes of the unit's protocol: lower-case letters are requests from the PC,
// upper-case letters carry data (in either direction). 0 never travels: inside the transport it
// marks a link error.

#include <cstdint>

namespace transport {

enum class MessageType : std::uint8_t {
    LinkError = 0x00,
    // Data, both directions or unit to PC.
    CameraEvent = 'B',
    CameraPresets = 'C',
    Debug = 'D',
    Events = 'E',
    ConfigData = 'G',
    HeartBeat = 'H',
    InterestZone = 'I',
    BootLoadReady = 'L',
    DispenserMap = 'M',
    POSMessage = 'O',
    POSEventConfig = 'P',
    CameraPosition = 'Q',
    ResetCount = 'R',
    SystemDiagnostics = 'S',
    TaskConfig = 'T',
    TaskDiagnostics = 'U',
    VehicleReg = 'V',
    PumpEvent = 'W',
    DeliveryTotals = 'X',
    // Requests and commands, PC to unit.
    RequestBootLoad = 'b',
    RequestCameraPresets = 'c',
    RequestEvents = 'e',
    RequestConfigData = 'g',
    RequestHeartbeat = 'h',
    RequestInterestZone = 'i',
    BootLoadData = 'l',
    RequestDispenserMap = 'm',
    RequestPOSEventConfig = 'o',
    PassThrough = 'p',
    RequestResetCount = 'r',
    RequestTaskDiagnostics = 's',
    RequestTaskConfig = 't',
    ClearMemory = 'x',
    ToggleDebug = 'y',
    ClearResetCount = 'z',
};

// The camera timing table (type G) opens with the camera count and the dwell and intervisit
// times of the five priorities; the camera ids follow.
inline constexpr int kConfigDataHeaderSize = 11;

[[nodiscard]] constexpr std::uint8_t code(MessageType type)
{
    return static_cast<std::uint8_t>(type);
}

} // namespace transport
