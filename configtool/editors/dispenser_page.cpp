#include "configtool/editors/dispenser_page.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/tab_page.h"

#include <QComboBox>
#include <QPushButton>

namespace configtool {

DispenserPage::DispenserPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DispenserPage"));
    resize(TabPageSize);

    // Thirteen rows in full under the title row; up to 48 dispensers scroll.
    GridDispensers
        = addTabGrid(*this, QStringLiteral("GridDispensers"), {140, 70, 130}, 13, true);
    SpinDispenserLoop
        = addCellControl<ArrowSpinBox>(*GridDispensers, QStringLiteral("SpinDispenserLoop"));
    SpinDispenserLoop->setRange(1, 3);
    SpinDispenserPollAddress
        = addCellControl<ArrowSpinBox>(*GridDispensers, QStringLiteral("SpinDispenserPollAddress"));
    SpinDispenserPollAddress->setRange(1, 16);

    const int panelLeft = GridDispensers->geometry().right() + 34;
    CmbChooseDispenser = new QComboBox(this);
    CmbChooseDispenser->setObjectName(QStringLiteral("CmbChooseDispenser"));
    CmbChooseDispenser->setGeometry(panelLeft, 8, 140, 24);

    BtnAddDispenser = new QPushButton(tr("New Dispenser"), this);
    BtnAddDispenser->setObjectName(QStringLiteral("BtnAddDispenser"));
    BtnAddDispenser->setGeometry(panelLeft, 40, 140, 26);
}

} // namespace configtool
