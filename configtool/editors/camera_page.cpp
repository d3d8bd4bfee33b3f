#include "configtool/editors/camera_page.h"

#include "configtool/editors/tab_page.h"

#include <QPushButton>
#include <QSpinBox>

namespace configtool {

CameraPage::CameraPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CameraPage"));
    resize(TabPageSize);

    // Ten cameras at most: all shown without a scroll bar. The second column is a narrow blank
    // strip that opens nothing, as wide as the narrow columns of the other tabs.
    GridCameras = addTabGrid(*this, QStringLiteral("GridCameras"), {136, 24}, 10, false);

    SpinChooseCamera = new QSpinBox(this);
    SpinChooseCamera->setObjectName(QStringLiteral("SpinChooseCamera"));
    SpinChooseCamera->setRange(1, 10);
    SpinChooseCamera->setGeometry(210, 8, 60, 24);

    BtnAddCamera = new QPushButton(tr("New Camera"), this);
    BtnAddCamera->setObjectName(QStringLiteral("BtnAddCamera"));
    BtnAddCamera->setGeometry(278, 7, 110, 26);
}

} // namespace configtool
