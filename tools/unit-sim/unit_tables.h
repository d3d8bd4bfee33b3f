#pragma once
// The table half of the simulated unit: it keeps every table the PC downloads and answers every
// request with the reply the PC expects, so that a table sent and then requested comes back
// equal. Plug it into UnitLink with SetHandler(tables.handler()).
//
// The unit's own choices, where the PC's side leaves them open:
//   - Tables are kept as their payloads, byte for byte. G and E are one table each; C and M are
//     kept per logical dispenser (their first byte), I per zone, P per point of sale and V per
//     logical pump (first byte each), T per task keyed by its input port (second byte), since a
//     port of the unit serves one task. A new table replaces the one under the same key. Keyed
//     tables are answered in ascending key order.
//   - g answers G, or an empty timing table (11 zero bytes) when none was sent; e answers E, or
//     [0] when none was sent. c, m, t and i answer one message per stored table and nothing when
//     none is stored; o answers P for that point of sale, or nothing when it is not stored.
//   - h answers H with the versions text (settable). r answers R with the reset count, z sets
//     it to 0, x clears every table and counts as one reset (the unit restarts).
//   - s answers S (total memory 64, most messages outstanding 8, least space 100, loop time 12)
//     and then one U per stored task.
//   - b answers L (status 0, block size 128, next address 0); each l block is kept and answered
//     with L (status 0, block size 128, next address = block address + its length).
//   - y answers D with "Debug on" or "Debug off", toggling each time.
//   - p (pass-through to a unit port, camera commands) is counted and kept as the last one, then
//     handed to the pass-through handler (the camera side of the unit), whose replies are sent;
//     without one, nothing is answered.
//   - Anything else is counted as unknown and not answered.
//
// Threads: the handler runs on the unit's thread; every member may be called from any thread.

#include "unit_link.h"
#include "unit_reports.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace unitsim {

class UnitTables
{
public:
    // The stored tables of one type, in key order (one entry for G and E when stored).
    [[nodiscard]] std::vector<Bytes> tables(std::uint8_t type) const;
    [[nodiscard]] Bytes lastPassThrough() const;
    [[nodiscard]] std::uint64_t passThroughCount() const;
    [[nodiscard]] std::uint64_t unknownCount() const;
    [[nodiscard]] std::vector<Bytes> bootBlocks() const;
    [[nodiscard]] std::int16_t resetCount() const;
    void setVersions(std::string versions);
    void setResetCount(std::int16_t count);
    // Every table and boot block forgotten (as x does).
    void clear();
    // Takes the pass-through messages after they are counted; set before the unit starts.
    void setPassThroughHandler(MessageHandler handler);

    // Stores what the PC sends and returns the replies.
    std::vector<Message> handle(const Message &received);
    [[nodiscard]] MessageHandler handler();

private:
    // Where a table of `type` is kept: one map per type, keyed as described above.
    void store(std::uint8_t type, const Bytes &payload);
    std::vector<Message> storedReplies(std::uint8_t type) const;
    std::vector<Message> handleLocked(const Message &received);
    void clearLocked();

    mutable std::mutex m_mutex;
    std::map<std::uint8_t, std::map<int, Bytes>> m_tables;
    std::vector<Bytes> m_bootBlocks;
    Bytes m_lastPassThrough;
    std::uint64_t m_passThroughs = 0;
    std::uint64_t m_unknown = 0;
    std::int16_t m_resetCount = 0;
    bool m_debugOn = false;
    std::string m_versions = "ORVEX SIM 1.0 BOOT 1.0";
    MessageHandler m_passThroughHandler;
};

} // namespace unitsim
