#pragma once
// The controls of the "Dispensers" tab: the grid of dispensers with its in-place loop and poll
// address fields, and the add panel. Each control carries its component name as its
// objectName; the in-place fields are children of the grid's viewport, hidden until an edit.

#include <QWidget>

class QComboBox;
class QPushButton;

namespace configtool {

class ArrowSpinBox;
class Mgrid;

class DispenserPage : public QWidget
{
    Q_OBJECT

public:
    explicit DispenserPage(QWidget *parent = nullptr);

    Mgrid *GridDispensers;
    QComboBox *CmbChooseDispenser;
    QPushButton *BtnAddDispenser;
    ArrowSpinBox *SpinDispenserLoop;
    ArrowSpinBox *SpinDispenserPollAddress;
};

} // namespace configtool
