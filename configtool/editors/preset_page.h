#pragma once
// The controls of the "Presets" tab: the grid of one camera's presets with its in-place comment
// field, the camera and preset selection, the preset commands, and the pad that steers the
// camera live (eight moves, lens and iris buttons, the auto and menu buttons, the speed). Each
// control carries its component name as its objectName; the steering buttons and the camera
// selector's "<<" and ">>" have no component names of their own and are named after what they do.

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace configtool {

class ArrowSpinBox;
class Mgrid;

class PresetPage : public QWidget
{
    Q_OBJECT

public:
    explicit PresetPage(QWidget *parent = nullptr);

    Mgrid *GridPresets;
    QLineEdit *TxtEditPresetComment;
    QComboBox *CmbPresetsSelectCamera;
    QPushButton *BtnPresetsPreviousCamera;
    QPushButton *BtnPresetsNextCamera;
    ArrowSpinBox *SpnPresetsSelectPreset;
    QLineEdit *TxtPresetComment;
    QPushButton *BtnPresetsGotoPreset;
    QPushButton *BtnPresetsSetPreset;
    QPushButton *BtnPresetsClearPresets;

    QPushButton *BtnPresetsUp;
    QPushButton *BtnPresetsUpRight;
    QPushButton *BtnPresetsRight;
    QPushButton *BtnPresetsDownRight;
    QPushButton *BtnPresetsDown;
    QPushButton *BtnPresetsDownLeft;
    QPushButton *BtnPresetsLeft;
    QPushButton *BtnPresetsUpLeft;
    QPushButton *BtnPresetsZoomIn;
    QPushButton *BtnPresetsZoomOut;
    QPushButton *BtnPresetsFocusNear;
    QPushButton *BtnPresetsFocusFar;
    QPushButton *BtnPresetsIrisOpen;
    QPushButton *BtnPresetsIrisClose;
    QPushButton *BtnPresetsAutoPan;
    QPushButton *BtnPresetsAutoIris;
    QPushButton *BtnPresetsCameraMenu;
    QSlider *TrackBarCameraSpeed;

private:
    QLabel *label(const QString &text, const QRect &geometry);
    QPushButton *button(const char *name, const QString &text, const QRect &geometry);
    QPushButton *moveButton(const char *name, int degrees, const QPoint &topLeft);
};

} // namespace configtool
