#pragma once
// The tool's read-only catalogue, loaded once from "OrvexMetaData.xml" of the install folder:
// device types by category with their preferred ports, protocols and camera protocols with
// their preset limits, the controller's port capabilities and the ports' requirements,
// dispenser events, and the defaults of a new site. Every editor and iterator asks it.
//
// Lookups return the first match in file order and compare texts exactly; what each gives when
// nothing matches is written beside it. Empty metadata answers every lookup with those values:
// every port passes the capability check, MaxPreset is 1 and the default times are 1.
// Created by the main window, read-only after ReadMetaData; user-interface thread only.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace configtool {

class Prompter;

namespace xml {
class XmlScanner;
}

// One entry of a list; each list uses some of the fields (see OrvexMetaData).
struct Mapping
{
    QString category;
    std::int16_t id = 0;
    QString name;
    std::int16_t first = 0;
    std::int16_t second = 0;

    bool operator==(const Mapping &) const = default;
};

struct MetaDataReadResult
{
    enum class Status {
        Read,
        // The file is missing or cannot be read: the metadata stays empty.
        Unreadable,
        // A number attribute is not a decimal integer or does not fit 16 bits: reading stopped
        // there and what came before it was kept.
        InvalidNumber,
    };
    Status status = Status::Read;
    // "Unable to read " + path, or "Invalid number "x" for ID in OrvexMetaData.xml".
    QString message;

    [[nodiscard]] bool ok() const { return status == Status::Read; }
};

class OrvexMetaData
{
public:
    static constexpr int kPortCount = 7;
    static constexpr const char *kFileName = "OrvexMetaData.xml";

    OrvexMetaData() = default;

    // The metadata file of the install folder.
    [[nodiscard]] static QString DefaultFilePath();

    // Empties the lists and reads the file through the XML scanner.
    MetaDataReadResult ReadMetaData(const QString &fileName);
    // The same over bytes already in memory; `sourceName` names them in the error text.
    MetaDataReadResult ReadMetaDataText(std::string text, const QString &sourceName);

    // Devices: category, ID, name, first = PreferredPort.
    [[nodiscard]] int GetDeviceCount() const { return static_cast<int>(m_devices.size()); }
    [[nodiscard]] const Mapping &GetDevice(int index) const
    {
        return m_devices.at(static_cast<std::size_t>(index));
    }
    // "Unknown"
    [[nodiscard]] QString GetDeviceName(int deviceId) const;
    // 0
    [[nodiscard]] std::int16_t GetDeviceId(const QString &deviceName) const;
    // "Unknown"
    [[nodiscard]] QString GetDeviceCategory(int deviceId) const;
    // 1
    [[nodiscard]] std::int16_t GetPreferredPort(const QString &deviceName) const;

    // Protocols of the device's category: empty text / 0 / an empty list.
    [[nodiscard]] QString GetProtocolName(int deviceId, int protocolId) const;
    [[nodiscard]] std::int16_t GetProtocolId(const QString &deviceName,
                                             const QString &protocolName) const;
    [[nodiscard]] QStringList GetProtocolNames(const QString &deviceName) const;
    // Of a protocol of the category "Cameras" only; 1.
    [[nodiscard]] std::int16_t GetMaxPreset(int protocolId) const;

    [[nodiscard]] int GetEventCount() const { return static_cast<int>(m_events.size()); }
    [[nodiscard]] QStringList GetEventNames() const;
    // "Unknown"
    [[nodiscard]] QString GetEventName(int eventId) const;
    // 0
    [[nodiscard]] std::int16_t GetEventId(const QString &eventName) const;

    [[nodiscard]] int GetDefaultDeviceCount() const
    {
        return static_cast<int>(m_defaultDevices.size());
    }
    // "Unknown"
    [[nodiscard]] QString GetDefaultDeviceName(int index) const;
    // The first protocol of the device's category; "UNKNOWN".
    [[nodiscard]] QString GetDefaultDeviceProtocol(int index) const;
    // 1
    [[nodiscard]] std::int16_t GetDefaultDevicePreferredPort(int index) const;

    [[nodiscard]] int GetDefaultEventCount() const
    {
        return static_cast<int>(m_defaultEvents.size());
    }
    // "Unknown"
    [[nodiscard]] QString GetDefaultEventName(int index) const;
    [[nodiscard]] std::int16_t GetDefaultEventInitialPriority(int index) const;
    [[nodiscard]] std::int16_t GetDefaultEventRevisitPriority(int index) const;

    // Of priority 1..5, in seconds; 1.
    [[nodiscard]] std::int16_t GetDefaultDwellTime(int priority) const;
    [[nodiscard]] std::int16_t GetDefaultIntervisitTime(int priority) const;

    [[nodiscard]] int GetPortCount() const { return kPortCount; }
    // "CurrentLoop", "RS485" or "RS232" listed under that port.
    [[nodiscard]] bool PortHasCapability(int port, const QString &capability) const;
    // Whether the port offers what the device's category requires: only the first required of
    // current loop, RS485, RS232 is examined. False with the reason in `message` (which may be
    // null); a category without requirements fits every port.
    bool CheckPortCapability(int port, const QString &deviceName, QString *message) const;

    // The eight lists, in file order.
    [[nodiscard]] const std::vector<Mapping> &devices() const { return m_devices; }
    [[nodiscard]] const std::vector<Mapping> &defaultDevices() const { return m_defaultDevices; }
    // first = MaxPreset (0 for a plain Protocol).
    [[nodiscard]] const std::vector<Mapping> &protocols() const { return m_protocols; }
    [[nodiscard]] const std::vector<Mapping> &events() const { return m_events; }
    // first = InitialPriority, second = RevisitPriority.
    [[nodiscard]] const std::vector<Mapping> &defaultEvents() const { return m_defaultEvents; }
    // id = the port.
    [[nodiscard]] const std::vector<Mapping> &capabilities() const { return m_capabilities; }
    [[nodiscard]] const std::vector<Mapping> &portRequirements() const
    {
        return m_portRequirements;
    }
    // id = Priority, first = DwellTime, second = IntervisitTime.
    [[nodiscard]] const std::vector<Mapping> &defaultPriorities() const
    {
        return m_defaultPriorities;
    }

private:
    friend class MetaDataReader;

    void clear();
    MetaDataReadResult read(xml::XmlScanner &scanner, const QString &sourceName);
    [[nodiscard]] const Mapping *findDevice(int deviceId) const;
    [[nodiscard]] const Mapping *findDevice(const QString &deviceName) const;

    std::vector<Mapping> m_devices;
    std::vector<Mapping> m_defaultDevices;
    std::vector<Mapping> m_protocols;
    std::vector<Mapping> m_events;
    std::vector<Mapping> m_defaultEvents;
    std::vector<Mapping> m_capabilities;
    std::vector<Mapping> m_portRequirements;
    std::vector<Mapping> m_defaultPriorities;
};

// Tells the person what went wrong with the read, if anything: a warning for an unreadable file,
// an error box for a bad number. The tool goes on with what was read either way.
void ReportMetaDataResult(const MetaDataReadResult &result, Prompter &prompter);

} // namespace configtool
