#include "configtool/editors/camera_page.h"

#include "configtool/editors/tab_page.h"

#include <QPushButton>
#include <QSpinBox>

namespace configtool {

CameraPage::CameraPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CameraPage"));
    resize(TabPageSize);

    // Ten cameras at most: all shown without a scroll bar.
    GridCameras = addTabGrid(*this, QStringLiteral("GridCameras"), {160, 0}, 10, false);
    // The second column holds one blank per row and is not shown.
    GridCameras->setColumnHidden(1, true);

    SpinChooseCamera = new QSpinBox(this);
    SpinChooseCamera->setObjectName(QStringLiteral("SpinChooseCamera"));
    SpinChooseCamera->setRange(1, 10);
    SpinChooseCamera->setGeometry(210, 8, 60, 24);

    BtnAddCamera = new QPushButton(tr("New Camera"), this);
    BtnAddCamera->setObjectName(QStringLiteral("BtnAddCamera"));
    BtnAddCamera->setGeometry(278, 7, 110, 26);
}

} // namespace configtool
