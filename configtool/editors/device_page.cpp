#include "configtool/editors/device_page.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/main_grid_style.h"
#include "configtool/editors/mgrid.h"
#include "configtool/editors/tab_page.h"

#include <QComboBox>
#include <QPushButton>

namespace configtool {

DevicePage::DevicePage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DevicePage"));
    resize(TabPageSize);

    GridDevices = new Mgrid(this);
    GridDevices->setObjectName(QStringLiteral("GridDevices"));
    GridDevices->setColumnCount(3);
    GridDevices->setColumnWidth(0, 180);
    GridDevices->setColumnWidth(1, 60);
    GridDevices->setColumnWidth(2, 170);
    // Seven drivers at most: the grid shows them all without a scroll bar.
    GridDevices->setGeometry(QRect(QPoint(8, 8), GridDevices->sizeForRows(7)));
    GridDevices->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    applyMainGridStyle(*GridDevices);

    SpnDeviceEditPort = new ArrowSpinBox(GridDevices->viewport());
    SpnDeviceEditPort->setObjectName(QStringLiteral("SpnDeviceEditPort"));
    SpnDeviceEditPort->setRange(1, 7);
    SpnDeviceEditPort->hide();

    CmbDeviceEditProtocol = new QComboBox(GridDevices->viewport());
    CmbDeviceEditProtocol->setObjectName(QStringLiteral("CmbDeviceEditProtocol"));
    CmbDeviceEditProtocol->hide();

    CmbDeviceChooseType = new QComboBox(this);
    CmbDeviceChooseType->setObjectName(QStringLiteral("CmbDeviceChooseType"));
    CmbDeviceChooseType->setGeometry(456, 8, 156, 24);

    BtnAddDevice = new QPushButton(tr("New Device Driver"), this);
    BtnAddDevice->setObjectName(QStringLiteral("BtnAddDevice"));
    BtnAddDevice->setGeometry(456, 40, 156, 26);
}

} // namespace configtool
