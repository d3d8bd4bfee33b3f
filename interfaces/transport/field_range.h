#pragma once
// The values one field of a unit message or a camera command carries unchanged, so that what a
// caller holds is what the unit (or the camera) gets. The transport refuses a value outside its
// field's range rather than send something else; a caller that would rather send the nearest
// value it can carry (a time, a speed) asks the same range for it.
//
// Header only: the service and the transport library share it.

#include <cstdint>

namespace transport {

template <typename T>
struct ValueRange
{
    T min;
    T max;

    [[nodiscard]] constexpr bool contains(T value) const { return value >= min && value <= max; }
    // The value itself when the range holds it, else the bound it passes.
    [[nodiscard]] constexpr T nearest(T value) const
    {
        if (value < min)
            return min;
        if (value > max)
            return max;
        return value;
    }
};

using FieldRange = ValueRange<int>;
using CoordinateRange = ValueRange<float>;

// One payload byte, whichever way its reader takes it: -128..127 read signed (the unit's
// reports and most table replies), 0..255 unsigned (times in the configuration reply). A builder
// refuses what no reading of the byte would give back.
inline constexpr FieldRange kPayloadByte{-128, 255};

} // namespace transport
