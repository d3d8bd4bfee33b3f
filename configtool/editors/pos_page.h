#pragma once
// The controls of the "POS" tab: the grid of the site's points of sale, the add panel, and the
// three groups of the selected POS (its name, its event priority, and the camera and preset it
// shows). Each control carries its component name as its objectName; the groups and the camera
// selector's "<<" and ">>" are named after what they hold.

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace configtool {

class Mgrid;

class POSPage : public QWidget
{
    Q_OBJECT

public:
    explicit POSPage(QWidget *parent = nullptr);

    Mgrid *GridPOSes;
    QComboBox *CmbChoosePOS;
    QPushButton *BtnAddPOS;

    QGroupBox *GrpSelectedPOS;
    QLabel *LblPOSSelected;
    QGroupBox *GrpPOSEventPriority;
    QSpinBox *SpnPOSEventPriority;
    QGroupBox *GrpPOSCameraAndPresets;
    QComboBox *CmbPOSSelectCamera;
    QPushButton *BtnPOSPreviousCamera;
    QPushButton *BtnPOSNextCamera;
    QLabel *LblPOSPreset;
    QComboBox *CmbPOSPreset;
};

} // namespace configtool
