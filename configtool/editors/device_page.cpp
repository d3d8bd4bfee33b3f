#include "configtool/editors/device_page.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/tab_page.h"

#include <QComboBox>
#include <QPushButton>

namespace configtool {

DevicePage::DevicePage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DevicePage"));
    resize(TabPageSize);

    // Seven drivers at most: the grid shows them all without a scroll bar.
    GridDevices = addTabGrid(*this, QStringLiteral("GridDevices"), {180, 60, 170}, 7, false);
    SpnDeviceEditPort = addCellControl<ArrowSpinBox>(*GridDevices, QStringLiteral("SpnDeviceEditPort"));
    SpnDeviceEditPort->setRange(1, 7);
    CmbDeviceEditProtocol
        = addCellControl<QComboBox>(*GridDevices, QStringLiteral("CmbDeviceEditProtocol"));

    CmbDeviceChooseType = new QComboBox(this);
    CmbDeviceChooseType->setObjectName(QStringLiteral("CmbDeviceChooseType"));
    CmbDeviceChooseType->setGeometry(456, 8, 156, 24);

    BtnAddDevice = new QPushButton(tr("New Device Driver"), this);
    BtnAddDevice->setObjectName(QStringLiteral("BtnAddDevice"));
    BtnAddDevice->setGeometry(456, 40, 156, 26);
}

} // namespace configtool
