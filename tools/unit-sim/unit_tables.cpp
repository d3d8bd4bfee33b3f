#include "unit_tables.h"

#include "unit_reports.h"

#include "transport/message_type.h"

#include <iterator>
#include <utility>

namespace unitsim {

namespace {

using transport::MessageType;

constexpr int kBootBlockSize = 128;

std::uint8_t letter(MessageType type)
{
    return transport::code(type);
}

std::uint8_t byteAt(const Bytes &bytes, std::size_t index)
{
    return index < bytes.size() ? bytes[index] : 0;
}

// The key a table is kept under (see the header), or -1 for types that are not tables.
int tableKey(std::uint8_t type, const Bytes &payload)
{
    switch (static_cast<MessageType>(type)) {
    case MessageType::ConfigData:
    case MessageType::Events:
        return 0;
    case MessageType::CameraPresets:
    case MessageType::DispenserMap:
    case MessageType::InterestZone:
    case MessageType::POSEventConfig:
    case MessageType::VehicleReg:
        return byteAt(payload, 0);
    case MessageType::TaskConfig:
        return byteAt(payload, 1);
    default:
        return -1;
    }
}

Message reply(MessageType type, Bytes payload = {})
{
    return Message{letter(type), std::move(payload)};
}

Message bootLoadReady(unsigned nextAddress)
{
    return BootLoadReady(0, kBootBlockSize, static_cast<std::int16_t>(nextAddress & 0xFFFF));
}

} // namespace

std::vector<Bytes> UnitTables::tables(std::uint8_t type) const
{
    std::lock_guard lock(m_mutex);
    std::vector<Bytes> result;
    const auto found = m_tables.find(type);
    if (found == m_tables.end())
        return result;
    for (const auto &entry : found->second)
        result.push_back(entry.second);
    return result;
}

Bytes UnitTables::lastPassThrough() const
{
    std::lock_guard lock(m_mutex);
    return m_lastPassThrough;
}

std::uint64_t UnitTables::passThroughCount() const
{
    std::lock_guard lock(m_mutex);
    return m_passThroughs;
}

std::uint64_t UnitTables::unknownCount() const
{
    std::lock_guard lock(m_mutex);
    return m_unknown;
}

std::vector<Bytes> UnitTables::bootBlocks() const
{
    std::lock_guard lock(m_mutex);
    return m_bootBlocks;
}

std::int16_t UnitTables::resetCount() const
{
    std::lock_guard lock(m_mutex);
    return m_resetCount;
}

void UnitTables::setVersions(std::string versions)
{
    std::lock_guard lock(m_mutex);
    m_versions = std::move(versions);
}

void UnitTables::setResetCount(std::int16_t count)
{
    std::lock_guard lock(m_mutex);
    m_resetCount = count;
}

void UnitTables::clear()
{
    std::lock_guard lock(m_mutex);
    clearLocked();
}

void UnitTables::clearLocked()
{
    m_tables.clear();
    m_bootBlocks.clear();
}

MessageHandler UnitTables::handler()
{
    return [this](const Message &received) { return handle(received); };
}

void UnitTables::store(std::uint8_t type, const Bytes &payload)
{
    m_tables[type][tableKey(type, payload)] = payload;
}

std::vector<Message> UnitTables::storedReplies(std::uint8_t type) const
{
    std::vector<Message> replies;
    const auto found = m_tables.find(type);
    if (found == m_tables.end())
        return replies;
    for (const auto &entry : found->second)
        replies.push_back(Message{type, entry.second});
    return replies;
}

void UnitTables::setPassThroughHandler(MessageHandler handler)
{
    std::lock_guard lock(m_mutex);
    m_passThroughHandler = std::move(handler);
}

std::vector<Message> UnitTables::handle(const Message &received)
{
    MessageHandler passThrough;
    std::vector<Message> replies;
    {
        std::lock_guard lock(m_mutex);
        replies = handleLocked(received);
        if (received.type == letter(MessageType::PassThrough))
            passThrough = m_passThroughHandler;
    }
    // Outside the lock: the camera side keeps its own.
    if (passThrough) {
        auto more = passThrough(received);
        replies.insert(replies.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    return replies;
}

std::vector<Message> UnitTables::handleLocked(const Message &received)
{
    const Bytes &payload = received.payload;
    if (tableKey(received.type, payload) >= 0) {
        store(received.type, payload);
        return {};
    }
    switch (static_cast<MessageType>(received.type)) {
    case MessageType::RequestConfigData: {
        auto replies = storedReplies(letter(MessageType::ConfigData));
        if (replies.empty())
            replies.push_back(reply(MessageType::ConfigData, Bytes(transport::kConfigDataHeaderSize, 0)));
        return replies;
    }
    case MessageType::RequestEvents: {
        auto replies = storedReplies(letter(MessageType::Events));
        if (replies.empty())
            replies.push_back(reply(MessageType::Events, {0}));
        return replies;
    }
    case MessageType::RequestCameraPresets:
        return storedReplies(letter(MessageType::CameraPresets));
    case MessageType::RequestDispenserMap:
        return storedReplies(letter(MessageType::DispenserMap));
    case MessageType::RequestTaskConfig:
        return storedReplies(letter(MessageType::TaskConfig));
    case MessageType::RequestInterestZone:
        return storedReplies(letter(MessageType::InterestZone));
    case MessageType::RequestPOSEventConfig: {
        const auto &pos = m_tables[letter(MessageType::POSEventConfig)];
        const auto found = pos.find(byteAt(payload, 0));
        if (found == pos.end())
            return {};
        return {reply(MessageType::POSEventConfig, found->second)};
    }
    case MessageType::RequestHeartbeat:
        return {reply(MessageType::HeartBeat, Bytes(m_versions.begin(), m_versions.end()))};
    case MessageType::RequestResetCount:
        return {reply(MessageType::ResetCount, {static_cast<std::uint8_t>(m_resetCount & 0xFF)})};
    case MessageType::ClearResetCount:
        m_resetCount = 0;
        return {};
    case MessageType::ClearMemory:
        clearLocked();
        ++m_resetCount;
        return {};
    case MessageType::RequestTaskDiagnostics: {
        std::vector<Message> replies{reply(MessageType::SystemDiagnostics, {64, 8, 100, 12})};
        const auto tasks = m_tables.find(letter(MessageType::TaskConfig));
        const std::size_t taskCount = tasks == m_tables.end() ? 0 : tasks->second.size();
        for (std::size_t i = 0; i < taskCount; ++i)
            replies.push_back(reply(MessageType::TaskDiagnostics, {0, 0, 0}));
        return replies;
    }
    case MessageType::RequestBootLoad:
        return {bootLoadReady(0)};
    case MessageType::BootLoadData: {
        m_bootBlocks.push_back(payload);
        const unsigned address = byteAt(payload, 0) * 256u + byteAt(payload, 1);
        const auto dataLength = static_cast<unsigned>(payload.size() > 4 ? payload.size() - 4 : 0);
        return {bootLoadReady((address + dataLength) & 0xFFFF)};
    }
    case MessageType::ToggleDebug: {
        m_debugOn = !m_debugOn;
        const std::string text = m_debugOn ? "Debug on" : "Debug off";
        return {reply(MessageType::Debug, Bytes(text.begin(), text.end()))};
    }
    case MessageType::PassThrough:
        m_lastPassThrough = payload;
        ++m_passThroughs;
        return {};
    default:
        ++m_unknown;
        return {};
    }
}

} // namespace unitsim
