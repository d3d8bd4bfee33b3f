#pragma once
// The camera side of the simulated unit: it reads the camera commands that the PC passes
// through the unit (type 0x70, camera port first), records each one, keeps a position per
// camera that position commands set, and answers position queries with the type Q reply the
// camera of that command set would give through the unit.
//
// Problem and conditions: the four command sets share no framing, so a command is recognised
// by its own start bytes and check byte; a Pelco P position query cannot be told from a stop
// (both are all zero) and so gets no answer, and neither does anything unrecognised. Positions
// are kept in each set's own units (hundredths, half degrees, steps), so that a position set
// comes back exactly as it was sent. A camera never told its position reports 0, 0, 0.
//
// Threads: Handle runs on the unit's thread; commands() and position() may be called from any
// thread.

#include "tools/unit-sim/unit_link.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace unitsim {

enum class CameraProtocol : std::uint8_t { Unknown, PelcoP, PelcoD, NibbleAddress, A5Frame };

[[nodiscard]] const char *cameraProtocolName(CameraProtocol protocol);

struct CameraCommand
{
    CameraProtocol protocol = CameraProtocol::Unknown;
    std::uint8_t camera = 0;              // the address in the command; 0 when unknown
    std::vector<std::uint8_t> bytes;      // what goes to the camera, the port byte left off
};

// A position in the units of its command set.
struct CameraRawPosition
{
    std::int32_t pan = 0;
    std::int32_t tilt = 0;
    std::int32_t zoom = 0;
};

inline bool operator==(const CameraRawPosition &a, const CameraRawPosition &b)
{
    return a.pan == b.pan && a.tilt == b.tilt && a.zoom == b.zoom;
}

class CameraResponder
{
public:
    static constexpr std::uint8_t kPassThroughType = 0x70;
    static constexpr std::uint8_t kPositionReplyType = 0x51; // 'Q'

    // Reads one message from the PC; returns the replies it calls for (none for a message that
    // is not a camera command).
    std::vector<Message> Handle(const Message &received);

    // A handler for UnitLink::SetHandler: each message goes to `others` first (the unit's other
    // handlers, when given) and then here; the replies come in that order. The responder must
    // outlive the handler.
    [[nodiscard]] MessageHandler handler(MessageHandler others = {});

    [[nodiscard]] std::vector<CameraCommand> commands() const;
    [[nodiscard]] std::optional<CameraRawPosition> position(CameraProtocol protocol, std::uint8_t camera) const;

    // Reads the camera command in a pass-through payload (port byte first).
    [[nodiscard]] static CameraCommand recognise(const std::vector<std::uint8_t> &payload);

private:
    using Key = std::pair<CameraProtocol, std::uint8_t>;

    std::vector<Message> pelcoD(const CameraCommand &command);
    std::vector<Message> nibbleAddress(const CameraCommand &command);
    std::vector<Message> a5Frame(const CameraCommand &command);

    mutable std::mutex m_mutex;
    std::vector<CameraCommand> m_commands;
    std::map<Key, CameraRawPosition> m_positions;
};

} // namespace unitsim
