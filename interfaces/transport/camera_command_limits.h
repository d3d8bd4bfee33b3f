#pragma once
// What the camera commands of each command set carry unchanged: the camera number (its address),
// the preset number, the speeds and the position of a move to coordinates. A value outside its
// range would reach the camera as another one (a byte keeps only its low bits, a 16-bit position
// wraps): ICameraControl refuses such a value with E_INVALIDARG and sends nothing, and the
// service asks the same limits to tell a client why, or to send the nearest value instead.
//
// The ranges follow from how each set encodes a command (transport/*_protocol.cpp). A value that
// a set does not encode at all (the lens speed of 'P' and '_', every position of '(') is carried
// whatever it is. Header only: the service and the transport library share it.

#include "interfaces/transport/field_range.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace transport {

// The camera codes, as the unit and the service name them.
inline constexpr std::int32_t kPelcoPCameraCode = 0x28;        // '('
inline constexpr std::int32_t kNibbleAddressCameraCode = 0x50; // 'P'
inline constexpr std::int32_t kPelcoDCameraCode = 0x5A;        // 'Z'
inline constexpr std::int32_t kA5FrameCameraCode = 0x5F;       // '_'

struct CameraCommandLimits
{
    FieldRange camera;    // the camera number, sent as the address byte
    FieldRange preset;    // SetPreset, MoveToPreset, ClearPreset
    FieldRange moveSpeed; // the eight moves
    FieldRange lensSpeed; // zoom and focus
    CoordinateRange pan;  // GoToPTZCoords, in degrees
    CoordinateRange tilt;
    CoordinateRange zoom;
};

namespace detail {

inline constexpr FieldRange kOneByte{0, 255};
inline constexpr FieldRange kAnyShort{std::numeric_limits<std::int16_t>::min(),
                                      std::numeric_limits<std::int16_t>::max()};
inline constexpr CoordinateRange kAnyCoordinate{std::numeric_limits<float>::lowest(),
                                                std::numeric_limits<float>::max()};

} // namespace detail

// The limits of a camera code; none for a code that has no command set.
[[nodiscard]] constexpr std::optional<CameraCommandLimits>
CameraCommandLimitsOf(std::int32_t cameraCode)
{
    using detail::kAnyCoordinate;
    using detail::kAnyShort;
    using detail::kOneByte;
    switch (cameraCode) {
    case kPelcoPCameraCode:
        // Every value is one byte; the set has no position command.
        return CameraCommandLimits{kOneByte,       kOneByte,       kOneByte,      kOneByte,
                                   kAnyCoordinate, kAnyCoordinate, kAnyCoordinate};
    case kPelcoDCameraCode:
        // Positions travel in hundredths as unsigned 16-bit numbers.
        return CameraCommandLimits{kOneByte,        kOneByte,        kOneByte,       kOneByte,
                                   {0.0F, 655.35F}, {0.0F, 655.35F}, {0.0F, 655.35F}};
    case kNibbleAddressCameraCode:
        // A move's step (a quarter of the speed) and the preset are one byte each; positions
        // travel in half degrees: the pan's 11 bits signed, the tilt's 8 and the zoom's 10 not.
        return CameraCommandLimits{kOneByte,          kOneByte,       {0, 1023},     kAnyShort,
                                   {-512.0F, 511.5F}, {0.0F, 127.5F}, {0.0F, 511.5F}};
    case kA5FrameCameraCode:
        // The preset's sixteens ride on 0x80 in one byte; speeds 0..63 make the seven steps;
        // pan and tilt are unsigned 16-bit steps of 0.0375 degrees, and the zoom's steps reach
        // 0xFFFF a little below 700.
        return CameraCommandLimits{kOneByte,        {0, 2047},       {0, 63},       kAnyShort,
                                   {0.0F, 2457.5F}, {0.0F, 2457.5F}, {0.0F, 699.8F}};
    default:
        return std::nullopt;
    }
}

} // namespace transport
