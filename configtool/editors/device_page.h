#pragma once
// The controls of the "Device Drivers" tab: the grid of device drivers with its in-place port
// and protocol fields, and the add panel. Each control carries its component name as its
// objectName; the in-place fields are children of the grid's viewport, hidden until an edit.

#include <QWidget>

class QComboBox;
class QPushButton;

namespace configtool {

class ArrowSpinBox;
class Mgrid;

class DevicePage : public QWidget
{
    Q_OBJECT

public:
    explicit DevicePage(QWidget *parent = nullptr);

    Mgrid *GridDevices;
    QComboBox *CmbDeviceChooseType;
    QPushButton *BtnAddDevice;
    ArrowSpinBox *SpnDeviceEditPort;
    QComboBox *CmbDeviceEditProtocol;
};

} // namespace configtool
