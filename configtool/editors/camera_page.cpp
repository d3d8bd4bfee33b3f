#include "configtool/editors/camera_page.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/main_grid_style.h"
#include "configtool/editors/mgrid.h"
#include "configtool/editors/tab_page.h"

#include <QPushButton>
#include <QSpinBox>

namespace configtool {

CameraPage::CameraPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CameraPage"));
    resize(TabPageSize);

    GridCameras = new Mgrid(this);
    GridCameras->setObjectName(QStringLiteral("GridCameras"));
    GridCameras->setColumnCount(2);
    GridCameras->setColumnWidth(0, 160);
    // The second column holds one blank per row and is not shown.
    GridCameras->setColumnHidden(1, true);
    GridCameras->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Ten cameras at most: all shown without a scroll bar.
    GridCameras->setGeometry(QRect(QPoint(8, 8), GridCameras->sizeForRows(10)));
    applyMainGridStyle(*GridCameras);

    SpinChooseCamera = new QSpinBox(this);
    SpinChooseCamera->setObjectName(QStringLiteral("SpinChooseCamera"));
    SpinChooseCamera->setRange(1, 10);
    SpinChooseCamera->setGeometry(210, 8, 60, 24);

    BtnAddCamera = new QPushButton(tr("New Camera"), this);
    BtnAddCamera->setObjectName(QStringLiteral("BtnAddCamera"));
    BtnAddCamera->setGeometry(278, 7, 110, 26);
}

} // namespace configtool
