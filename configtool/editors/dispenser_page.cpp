#include "configtool/editors/dispenser_page.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/main_grid_style.h"
#include "configtool/editors/mgrid.h"
#include "configtool/editors/tab_page.h"

#include <QComboBox>
#include <QPushButton>

namespace configtool {

DispenserPage::DispenserPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DispenserPage"));
    resize(TabPageSize);

    GridDispensers = new Mgrid(this);
    GridDispensers->setObjectName(QStringLiteral("GridDispensers"));
    GridDispensers->setColumnCount(3);
    GridDispensers->setColumnWidth(0, 140);
    GridDispensers->setColumnWidth(1, 70);
    GridDispensers->setColumnWidth(2, 130);
    GridDispensers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridDispensers->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Thirteen rows in full under the title row; up to 48 dispensers scroll.
    GridDispensers->setGeometry(QRect(QPoint(8, 8), GridDispensers->sizeForRows(13)));
    applyMainGridStyle(*GridDispensers);

    SpinDispenserLoop = new ArrowSpinBox(GridDispensers->viewport());
    SpinDispenserLoop->setObjectName(QStringLiteral("SpinDispenserLoop"));
    SpinDispenserLoop->setRange(1, 3);
    SpinDispenserLoop->hide();

    SpinDispenserPollAddress = new ArrowSpinBox(GridDispensers->viewport());
    SpinDispenserPollAddress->setObjectName(QStringLiteral("SpinDispenserPollAddress"));
    SpinDispenserPollAddress->setRange(1, 16);
    SpinDispenserPollAddress->hide();

    const int panelLeft = GridDispensers->geometry().right() + 34;
    CmbChooseDispenser = new QComboBox(this);
    CmbChooseDispenser->setObjectName(QStringLiteral("CmbChooseDispenser"));
    CmbChooseDispenser->setGeometry(panelLeft, 8, 140, 24);

    BtnAddDispenser = new QPushButton(tr("New Dispenser"), this);
    BtnAddDispenser->setObjectName(QStringLiteral("BtnAddDispenser"));
    BtnAddDispenser->setGeometry(panelLeft, 40, 140, 26);
}

} // namespace configtool
