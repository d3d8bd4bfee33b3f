#pragma once
// The controls of the "Cameras" tab: the grid of cameras (with its narrow blank second column)
// and the add panel. Each control carries its component name as its objectName.

#include <QWidget>

class QPushButton;
class QSpinBox;

namespace configtool {

class Mgrid;

class CameraPage : public QWidget
{
    Q_OBJECT

public:
    explicit CameraPage(QWidget *parent = nullptr);

    Mgrid *GridCameras;
    QSpinBox *SpinChooseCamera;
    QPushButton *BtnAddCamera;
};

} // namespace configtool
