#include "configtool/editors/device_editor.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/device_page.h"
#include "configtool/editors/mgrid.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/prompter.h"

#include <QComboBox>
#include <QPushButton>

#include <vector>

namespace configtool {
namespace {

constexpr int PortColumn = 1;
constexpr int ProtocolColumn = 2;

// The loop or POS number that a device type of those categories stands for: the 2 or 3 of
// "Dispenser Loop 2" and "POS 3", else 1.
int unitNumberOf(const QString &typeName, const QString &two, const QString &three)
{
    if (typeName == two)
        return 2;
    if (typeName == three)
        return 3;
    return 1;
}

} // namespace

DeviceEditor::DeviceEditor(OrvexConfigManager &manager, ToolHost &host, DevicePage &page)
    : GridEditor(manager, host, *page.GridDevices, page, page.BtnAddDevice),
      m_page(page),
      m_devices(manager)
{
    setPanelControls({page.CmbDeviceChooseType, page.CmbDeviceEditProtocol, page.SpnDeviceEditPort});
    connect(page.CmbDeviceEditProtocol, &QComboBox::currentIndexChanged, this, [this] {
        guard([this] {
            ProtocolChanged(m_page.CmbDeviceEditProtocol, grid().cell(0, grid().gridRow()));
        });
    });
    connect(page.SpnDeviceEditPort, &QSpinBox::valueChanged, this, [this] {
        guard([this] { PortChanged(m_page.SpnDeviceEditPort, grid().cell(0, grid().gridRow())); });
    });
}

const OrvexMetaData &DeviceEditor::metaData() const
{
    return manager().GetMetaData();
}

QString DeviceEditor::categoryOf(const QString &typeName) const
{
    return metaData().GetDeviceCategory(metaData().GetDeviceId(typeName));
}

void DeviceEditor::LoadDefaults()
{
    m_devices.Reload();
    m_devices.LoadDefaults();
}

void DeviceEditor::ClearAll()
{
    m_devices.Reload();
    m_devices.ClearAll();
}

bool DeviceEditor::Validate()
{
    // Read from the site, not the grid: the grid is only refilled when its tab is shown, and
    // may still hold the rows of the site before.
    m_devices.Reload();
    std::vector<std::int16_t> ports;
    for (m_devices.First(); !m_devices.Eof(); m_devices.Next())
        ports.push_back(m_devices.GetPort());
    if (const std::int16_t *port = firstRepeated(ports)) {
        host().makeActivePage(*this);
        host().prompter().error(QStringLiteral("Have a duplicate port ") + QString::number(*port));
        return false;
    }
    return true;
}

QStringList DeviceEditor::ColumnTitles()
{
    return {QStringLiteral("Device Driver"), QStringLiteral("Port"), QStringLiteral("Protocol Type")};
}

void DeviceEditor::FillChoiceCombo()
{
    QComboBox &combo = *m_page.CmbDeviceChooseType;
    const QStringList listed = columnTexts(0);
    combo.clear();
    for (const Mapping &device : metaData().devices()) {
        if (!listed.contains(device.name))
            combo.addItem(device.name);
    }
    combo.setCurrentIndex(0);
    // With no type left, "New" would make a device of no type that the grid hides.
    if (combo.count() == 0)
        m_page.BtnAddDevice->setEnabled(false);
}

QWidget *DeviceEditor::ActivateCellEditor()
{
    const int row = grid().gridRow();
    const QString typeName = grid().cell(0, row);
    switch (grid().gridCol()) {
    case ProtocolColumn: {
        QComboBox *combo = m_page.CmbDeviceEditProtocol;
        m_updating = true;
        combo->clear();
        combo->addItems(metaData().GetProtocolNames(typeName));
        SelectComboText(combo, grid().cell(ProtocolColumn, row));
        m_updating = false;
        // A type with one protocol or none has nothing to choose.
        if (combo->count() <= 1)
            return nullptr;
        PlaceCellEditor(combo, row, ProtocolColumn);
        return combo;
    }
    case PortColumn:
        SetControlValue(m_page.SpnDeviceEditPort, grid().cell(PortColumn, row).toInt());
        PlaceCellEditor(m_page.SpnDeviceEditPort, row, PortColumn);
        CheckPort(m_page.SpnDeviceEditPort, typeName, true);
        return m_page.SpnDeviceEditPort;
    default:
        return nullptr;
    }
}

QString DeviceEditor::EmptyText()
{
    return QStringLiteral("No Device Drivers");
}

QString DeviceEditor::DeleteButtonName()
{
    return QStringLiteral("BtnDeleteDevice");
}

int DeviceEditor::MaxCount()
{
    return metaData().GetPortCount();
}

QString DeviceEditor::MaxCountMessage()
{
    return QStringLiteral("Already have the maximum of %1 device drivers").arg(MaxCount());
}

QStringList DeviceEditor::RowTexts()
{
    const QString name = m_devices.GetDeviceName();
    const QString port = QString::number(m_devices.GetPort());
    return {name, port, m_devices.GetProtocolName()};
}

bool DeviceEditor::CanCreate(QString &message)
{
    if (m_page.CmbDeviceChooseType->count() == 0) {
        message = QStringLiteral("No device type left to add");
        return false;
    }
    return true;
}

void DeviceEditor::CreateEntry()
{
    const QString typeName = m_page.CmbDeviceChooseType->currentText();
    QComboBox *protocols = m_page.CmbDeviceEditProtocol;
    m_updating = true;
    protocols->clear();
    protocols->addItems(metaData().GetProtocolNames(typeName));
    protocols->setCurrentIndex(0);
    m_updating = false;

    // A device speaks what its category's other devices speak: the last such row wins.
    const QString category = categoryOf(typeName);
    const QStringList types = columnTexts(0);
    const QStringList protocolsShown = columnTexts(ProtocolColumn);
    QString sibling;
    for (int index = 0; index < types.size(); ++index) {
        if (categoryOf(types.at(index)) == category)
            sibling = protocolsShown.at(index);
    }
    if (!sibling.isNull())
        SelectComboText(protocols, sibling);
    const QString protocolName = protocols->currentText();
    const int port = ChoosePort(typeName);

    m_devices.AddDevice(typeName);
    m_devices.SetProtocol(protocolName);
    m_devices.SetPort(static_cast<std::int16_t>(port));
}

int DeviceEditor::ChoosePort(const QString &typeName)
{
    const QStringList used = columnTexts(PortColumn);
    auto isFree = [&](int port) { return !used.contains(QString::number(port)); };
    const int preferred = metaData().GetPreferredPort(typeName);
    if (isFree(preferred))
        return preferred;
    for (int port = preferred + 1; port <= metaData().GetPortCount(); ++port) {
        if (isFree(port))
            return port;
    }
    for (int port = preferred - 1; port >= 1; --port) {
        if (isFree(port))
            return port;
    }
    host().prompter().error(QStringLiteral("Cannot find a free port"));
    return preferred;
}

bool DeviceEditor::CheckDeletable(int row, QString &message)
{
    const QString typeName = grid().cell(0, row);
    const QString category = categoryOf(typeName);
    if (category == QLatin1String("Dispensers")) {
        const int loop = unitNumberOf(typeName, QStringLiteral("Dispenser Loop 2"),
                                      QStringLiteral("Dispenser Loop 3"));
        if (m_devices.DispenserOnLoop(static_cast<std::int16_t>(loop))) {
            message = typeName + QStringLiteral(" is being used by some dispensers");
            return false;
        }
    } else if (category == QLatin1String("Cameras")) {
        if (m_devices.HasCameras()) {
            message = QStringLiteral("Camera device driver is being used by some cameras");
            return false;
        }
    } else if (category == QLatin1String("POSes")) {
        const int number = unitNumberOf(typeName, QStringLiteral("POS 2"), QStringLiteral("POS 3"));
        if (m_devices.POSExists(static_cast<std::int16_t>(number))) {
            message = QStringLiteral("POS device driver is being used by some POSs");
            return false;
        }
    }
    return true;
}

bool DeviceEditor::DeleteEntry(int row)
{
    m_devices.DeleteDevice(grid().cell(0, row));
    return true;
}

void DeviceEditor::ProtocolChanged(QComboBox *control, const QString &typeName)
{
    if (m_busy || m_updating)
        return;
    m_devices.SelectDevice(typeName);
    m_devices.SetProtocol(control->currentText());
}

void DeviceEditor::PortChanged(QWidget *control, const QString &typeName)
{
    if (m_busy || m_updating)
        return;
    const int port = ReadClampedInt(control, 1, metaData().GetPortCount());
    m_devices.SelectDevice(typeName);
    m_devices.SetPort(static_cast<std::int16_t>(port));
    CheckPort(control, typeName, true);
    RefreshRow(grid().gridRow());
}

void DeviceEditor::CheckPort(QWidget *control, const QString &typeName, bool skipEditedRow)
{
    const int port = ReadClampedInt(control, 1, metaData().GetPortCount());
    QString reason;
    if (metaData().CheckPortCapability(port, typeName, &reason)) {
        SetControlColor(control, windowColor());
    } else {
        SetControlColor(control, UnsupportedColor);
        ShowStatus(true, reason);
    }
    const int edited = grid().gridRow();
    for (int row = 1; row < grid().gridRowCount() && !IsEmpty(); ++row) {
        if (skipEditedRow && row == edited)
            continue;
        if (grid().cell(PortColumn, row) == QString::number(port)) {
            ShowStatus(true, QStringLiteral("Port %1 is already allocated to %2")
                                 .arg(port)
                                 .arg(grid().cell(0, row)));
            SetControlColor(control, ErrorColor);
            break;
        }
    }
    if (GetControlColor(control) == windowColor())
        ClearStatus(true);
}

} // namespace configtool
