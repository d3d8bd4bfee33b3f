#pragma once
// The "Device Drivers" tab: which controller port each device type is wired to and which
// protocol it speaks. At most one device per type and seven in all; a port that another row
// uses, or that lacks what the device's category needs, is coloured and named in the status
// panel while editing (red, orange) and a duplicate port stops a save.
//
// The editor wires its page's controls to its handlers itself. User-interface thread only.

#include "configtool/editors/grid_editor.h"
#include "configtool/model/device_iterator.h"

class QComboBox;

namespace configtool {

class DevicePage;
class OrvexMetaData;

class DeviceEditor : public GridEditor
{
    Q_OBJECT

public:
    DeviceEditor(OrvexConfigManager &manager, ToolHost &host, DevicePage &page);

    void LoadDefaults() override;
    void ClearAll() override;
    // False, with the Device Drivers tab in front, when two devices share a port.
    bool Validate() override;
    void AfterSiteLoad() override {}

    QStringList ColumnTitles() override;
    // The metadata's device types that no row shows yet.
    void FillChoiceCombo() override;
    void SelectRow(int) override {}
    void HideDetails() override {}
    QWidget *ActivateCellEditor() override;
    QString EmptyText() override;
    QString DeleteButtonName() override;
    int MaxCount() override;
    QString MaxCountMessage() override;
    QStringList RowTexts() override;
    bool CanCreate(QString &message) override;
    void CreateEntry() override;
    bool CheckDeletable(int row, QString &message) override;
    bool DeleteEntry(int row) override;

    // The protocol combo of a row changed: the row's device speaks the protocol it names.
    void ProtocolChanged(QComboBox *control, const QString &typeName);
    // The port field of a row changed: the device moves to that port.
    void PortChanged(QWidget *control, const QString &typeName);
    // Colours the port field: orange when the port lacks what the device needs, red when
    // another row uses it (skipping the edited row when asked), and says why.
    void CheckPort(QWidget *control, const QString &typeName, bool skipEditedRow);
    // The preferred port of the type, else the nearest free one above, then below it.
    int ChoosePort(const QString &typeName);

protected:
    Iterator &iterator() override { return m_devices; }

private:
    [[nodiscard]] const OrvexMetaData &metaData() const;
    [[nodiscard]] QString categoryOf(const QString &typeName) const;

    DevicePage &m_page;
    DeviceIterator m_devices;
};

} // namespace configtool
