#include "configtool/model/orvex_meta_data.h"

#include "configtool/model/prompter.h"
#include "configtool/model/xml_scanner.h"
#include "configtool/model/xml_text.h"

#include "platform/install_folder.h"
#include "platform/text_codec.h"

#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <stdexcept>

namespace configtool {

namespace {

const QString kUnknown = QStringLiteral("Unknown");

// A number attribute that is missing, not a decimal integer, or does not fit 16 bits (every
// number travels as 16 bits on the bus).
class InvalidNumber : public std::runtime_error
{
public:
    InvalidNumber(const std::string &attribute, const std::string &value)
        : std::runtime_error("invalid number"), attribute(attribute), value(value)
    {}
    std::string attribute;
    std::string value;
};

} // namespace

// Fills the lists from the scanner's tag events. The category is that of the innermost
// DeviceCategory start tag until its end tag; the port is that of the last Port start tag
// (its end tag leaves it). Entries count only as empty-element tags, DeviceCategory and Port
// only as start tags.
class MetaDataReader
{
public:
    explicit MetaDataReader(OrvexMetaData &metaData) : m_metaData(metaData) {}

    void attach(xml::XmlScanner &scanner)
    {
        scanner.OnStartTag = [this](const std::string &name, const xml::AttrList &attributes) {
            if (name == "DeviceCategory")
                m_category = text(attributes, "Name");
            else if (name == "Port")
                m_port = number(attributes, "ID");
        };
        scanner.OnEndTag = [this](const std::string &name) {
            if (name == "DeviceCategory")
                m_category.clear();
        };
        scanner.OnEmptyTag = [this](const std::string &name, const xml::AttrList &attributes) {
            entry(name, attributes);
        };
    }

private:
    void entry(const std::string &element, const xml::AttrList &a)
    {
        OrvexMetaData &m = m_metaData;
        if (element == "Device")
            m.m_devices.push_back(
                {m_category, number(a, "ID"), text(a, "Name"), number(a, "PreferredPort"), 0});
        else if (element == "DefaultDevice")
            m.m_defaultDevices.push_back({{}, number(a, "ID"), {}, 0, 0});
        else if (element == "Protocol")
            m.m_protocols.push_back({m_category, number(a, "ID"), text(a, "Name"), 0, 0});
        else if (element == "CameraProtocol")
            m.m_protocols.push_back(
                {m_category, number(a, "ID"), text(a, "Name"), number(a, "MaxPreset"), 0});
        else if (element == "Event")
            m.m_events.push_back({{}, number(a, "ID"), text(a, "Name"), 0, 0});
        else if (element == "DefaultEvent")
            m.m_defaultEvents.push_back({{},
                                         number(a, "ID"),
                                         {},
                                         number(a, "InitialPriority"),
                                         number(a, "RevisitPriority")});
        else if (element == "Capability")
            m.m_capabilities.push_back({{}, m_port, text(a, "Name"), 0, 0});
        else if (element == "PortRequirement")
            m.m_portRequirements.push_back({m_category, 0, text(a, "Name"), 0, 0});
        else if (element == "DefaultPriority")
            m.m_defaultPriorities.push_back({{},
                                             number(a, "Priority"),
                                             {},
                                             number(a, "DwellTime"),
                                             number(a, "IntervisitTime")});
    }

    static QString text(const xml::AttrList &attributes, const char *name)
    {
        return QString::fromStdString(Cp1252ToUtf8(attributes.value(name)));
    }

    // Optional sign and decimal digits, blanks around them allowed.
    static std::int16_t number(const xml::AttrList &attributes, const char *name)
    {
        const std::string value = attributes.value(name);
        std::string_view digits = value;
        while (!digits.empty() && xml::isSpace(digits.front()))
            digits.remove_prefix(1);
        while (!digits.empty() && xml::isSpace(digits.back()))
            digits.remove_suffix(1);
        if (digits.starts_with('+') && !digits.starts_with("+-"))
            digits.remove_prefix(1);
        std::int16_t result = 0;
        const auto [end, error]
            = std::from_chars(digits.data(), digits.data() + digits.size(), result);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
            throw InvalidNumber(name, value);
        return result;
    }

    OrvexMetaData &m_metaData;
    QString m_category;
    std::int16_t m_port = 0;
};

QString OrvexMetaData::DefaultFilePath()
{
    return QString::fromStdString(JoinPath(InstallFolder(), kFileName));
}

void OrvexMetaData::clear()
{
    for (auto *list : {&m_devices, &m_defaultDevices, &m_protocols, &m_events, &m_defaultEvents,
                       &m_capabilities, &m_portRequirements, &m_defaultPriorities})
        list->clear();
}

MetaDataReadResult OrvexMetaData::ReadMetaData(const QString &fileName)
{
    clear();
    xml::XmlScanner scanner;
    if (!scanner.LoadFile(QFile::encodeName(fileName).toStdString()))
        return {MetaDataReadResult::Status::Unreadable,
                QStringLiteral("Unable to read ") + fileName};
    return read(scanner, QFileInfo(fileName).fileName());
}

MetaDataReadResult OrvexMetaData::ReadMetaDataText(std::string text, const QString &sourceName)
{
    clear();
    xml::XmlScanner scanner;
    scanner.LoadText(std::move(text));
    return read(scanner, sourceName);
}

MetaDataReadResult OrvexMetaData::read(xml::XmlScanner &scanner, const QString &sourceName)
{
    MetaDataReader reader(*this);
    reader.attach(scanner);
    try {
        scanner.Execute();
    } catch (const InvalidNumber &bad) {
        return {MetaDataReadResult::Status::InvalidNumber,
                QStringLiteral("Invalid number \"%1\" for %2 in %3")
                    .arg(QString::fromStdString(Cp1252ToUtf8(bad.value)),
                         QString::fromStdString(bad.attribute), sourceName)};
    }
    return {};
}

const Mapping *OrvexMetaData::findDevice(int deviceId) const
{
    for (const Mapping &device : m_devices) {
        if (device.id == deviceId)
            return &device;
    }
    return nullptr;
}

const Mapping *OrvexMetaData::findDevice(const QString &deviceName) const
{
    for (const Mapping &device : m_devices) {
        if (device.name == deviceName)
            return &device;
    }
    return nullptr;
}

QString OrvexMetaData::GetDeviceName(int deviceId) const
{
    const Mapping *device = findDevice(deviceId);
    return device ? device->name : kUnknown;
}

std::int16_t OrvexMetaData::GetDeviceId(const QString &deviceName) const
{
    const Mapping *device = findDevice(deviceName);
    return device ? device->id : std::int16_t(0);
}

QString OrvexMetaData::GetDeviceCategory(int deviceId) const
{
    const Mapping *device = findDevice(deviceId);
    return device ? device->category : kUnknown;
}

std::int16_t OrvexMetaData::GetPreferredPort(const QString &deviceName) const
{
    const Mapping *device = findDevice(deviceName);
    return device ? device->first : std::int16_t(1);
}

QString OrvexMetaData::GetProtocolName(int deviceId, int protocolId) const
{
    const Mapping *device = findDevice(deviceId);
    if (!device)
        return {};
    for (const Mapping &protocol : m_protocols) {
        if (protocol.category == device->category && protocol.id == protocolId)
            return protocol.name;
    }
    return {};
}

std::int16_t OrvexMetaData::GetProtocolId(const QString &deviceName,
                                          const QString &protocolName) const
{
    const Mapping *device = findDevice(deviceName);
    if (!device)
        return 0;
    for (const Mapping &protocol : m_protocols) {
        if (protocol.category == device->category && protocol.name == protocolName)
            return protocol.id;
    }
    return 0;
}

QStringList OrvexMetaData::GetProtocolNames(const QString &deviceName) const
{
    QStringList names;
    const Mapping *device = findDevice(deviceName);
    if (!device)
        return names;
    for (const Mapping &protocol : m_protocols) {
        if (protocol.category == device->category)
            names << protocol.name;
    }
    return names;
}

std::int16_t OrvexMetaData::GetMaxPreset(int protocolId) const
{
    for (const Mapping &protocol : m_protocols) {
        if (protocol.id == protocolId && protocol.category == QLatin1String("Cameras"))
            return protocol.first;
    }
    return 1;
}

QStringList OrvexMetaData::GetEventNames() const
{
    QStringList names;
    for (const Mapping &event : m_events)
        names << event.name;
    return names;
}

QString OrvexMetaData::GetEventName(int eventId) const
{
    for (const Mapping &event : m_events) {
        if (event.id == eventId)
            return event.name;
    }
    return kUnknown;
}

std::int16_t OrvexMetaData::GetEventId(const QString &eventName) const
{
    for (const Mapping &event : m_events) {
        if (event.name == eventName)
            return event.id;
    }
    return 0;
}

QString OrvexMetaData::GetDefaultDeviceName(int index) const
{
    return GetDeviceName(m_defaultDevices.at(static_cast<std::size_t>(index)).id);
}

QString OrvexMetaData::GetDefaultDeviceProtocol(int index) const
{
    const Mapping *device = findDevice(m_defaultDevices.at(static_cast<std::size_t>(index)).id);
    if (device) {
        for (const Mapping &protocol : m_protocols) {
            if (protocol.category == device->category)
                return protocol.name;
        }
    }
    return QStringLiteral("UNKNOWN");
}

std::int16_t OrvexMetaData::GetDefaultDevicePreferredPort(int index) const
{
    const Mapping *device = findDevice(m_defaultDevices.at(static_cast<std::size_t>(index)).id);
    return device ? device->first : std::int16_t(1);
}

QString OrvexMetaData::GetDefaultEventName(int index) const
{
    return GetEventName(m_defaultEvents.at(static_cast<std::size_t>(index)).id);
}

std::int16_t OrvexMetaData::GetDefaultEventInitialPriority(int index) const
{
    return m_defaultEvents.at(static_cast<std::size_t>(index)).first;
}

std::int16_t OrvexMetaData::GetDefaultEventRevisitPriority(int index) const
{
    return m_defaultEvents.at(static_cast<std::size_t>(index)).second;
}

std::int16_t OrvexMetaData::GetDefaultDwellTime(int priority) const
{
    for (const Mapping &entry : m_defaultPriorities) {
        if (entry.id == priority)
            return entry.first;
    }
    return 1;
}

std::int16_t OrvexMetaData::GetDefaultIntervisitTime(int priority) const
{
    for (const Mapping &entry : m_defaultPriorities) {
        if (entry.id == priority)
            return entry.second;
    }
    return 1;
}

bool OrvexMetaData::PortHasCapability(int port, const QString &capability) const
{
    for (const Mapping &entry : m_capabilities) {
        if (entry.id == port && entry.name == capability)
            return true;
    }
    return false;
}

bool OrvexMetaData::CheckPortCapability(int port, const QString &deviceName, QString *message) const
{
    const QString category = GetDeviceCategory(GetDeviceId(deviceName));
    bool rs485 = false;
    bool rs232 = false;
    bool currentLoop = false;
    for (const Mapping &requirement : m_portRequirements) {
        if (requirement.category != category)
            continue;
        rs485 = rs485 || requirement.name == QLatin1String("RS485");
        rs232 = rs232 || requirement.name == QLatin1String("RS232");
        currentLoop = currentLoop || requirement.name == QLatin1String("CurrentLoop");
    }
    const auto check = [&](const char *capability, const char *wording) {
        if (PortHasCapability(port, QLatin1String(capability)))
            return true;
        if (message)
            *message = QStringLiteral("Port %1 does not support %2")
                           .arg(port)
                           .arg(QLatin1String(wording));
        return false;
    };
    if (currentLoop)
        return check("CurrentLoop", "current loop");
    if (rs485)
        return check("RS485", "RS485");
    if (rs232)
        return check("RS232", "RS232");
    return true;
}

void ReportMetaDataResult(const MetaDataReadResult &result, Prompter &prompter)
{
    switch (result.status) {
    case MetaDataReadResult::Status::Read:
        break;
    case MetaDataReadResult::Status::Unreadable:
        prompter.warning(result.message);
        break;
    case MetaDataReadResult::Status::InvalidNumber:
        prompter.error(result.message);
        break;
    }
}

} // namespace configtool
