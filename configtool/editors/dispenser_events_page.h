#pragma once
// The controls of the "Dispenser Events" tab: the grid of the site's events, the add panel, and
// the three groups of the selected event (its name, its priorities, and the camera preset it
// shows on each dispenser). Each control carries its component name as its objectName; the
// groups and the dispenser selector's "<<" and ">>" are named after what they hold.

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace configtool {

class Mgrid;

class DispenserEventsPage : public QWidget
{
    Q_OBJECT

public:
    explicit DispenserEventsPage(QWidget *parent = nullptr);

    Mgrid *GridDispenserEvents;
    QComboBox *CmbChooseEvent;
    QPushButton *BtnAddEvent;

    QGroupBox *GrpSelectedEvent;
    QLabel *LblDispenserEventSelected;
    QGroupBox *GrpEventPriorities;
    QSpinBox *SpinDispenserEventInitialPriority;
    QSpinBox *SpinDispenserEventRevisitPriority;
    QGroupBox *GrpDispenserPresets;
    QComboBox *CmbEventSelectDispenser;
    QPushButton *BtnEventPreviousDispenser;
    QPushButton *BtnEventNextDispenser;
    QComboBox *CmbEventEditPreset;
};

} // namespace configtool
