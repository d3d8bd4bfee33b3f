#include "configtool/editors/dispenser_events_page.h"

#include "configtool/editors/detail_panel.h"
#include "configtool/editors/mgrid.h"
#include "configtool/editors/tab_page.h"

#include <QGroupBox>

namespace configtool {

DispenserEventsPage::DispenserEventsPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DispenserEventsPage"));
    resize(TabPageSize);

    // Every event of a full catalogue in sight.
    GridDispenserEvents
        = addTabGrid(*this, QStringLiteral("GridDispenserEvents"), {150, 24, 24}, 13, true);
    const AddPanel add = addAddPanel(*this, "CmbChooseEvent", "BtnAddEvent", tr("New Event"));
    CmbChooseEvent = add.choice;
    BtnAddEvent = add.add;

    GrpSelectedEvent = addDetailGroup(*this, "GrpSelectedEvent", tr(" Selected Event "), 44, 52);
    LblDispenserEventSelected = addSelectedName(*GrpSelectedEvent, "LblDispenserEventSelected");

    GrpEventPriorities
        = addDetailGroup(*this, "GrpEventPriorities", tr(" Event Priorities "), 104, 60);
    addLabel(*GrpEventPriorities, tr("Initial Priority:"), QRect(12, 24, 100, 24));
    SpinDispenserEventInitialPriority = addPrioritySpin(
        *GrpEventPriorities, "SpinDispenserEventInitialPriority", QRect(112, 24, 50, 24));
    addLabel(*GrpEventPriorities, tr("Revisit Priority:"), QRect(184, 24, 100, 24));
    SpinDispenserEventRevisitPriority = addPrioritySpin(
        *GrpEventPriorities, "SpinDispenserEventRevisitPriority", QRect(286, 24, 50, 24));

    GrpDispenserPresets
        = addDetailGroup(*this, "GrpDispenserPresets", tr(" Dispenser Presets "), 172, 96);
    addLabel(*GrpDispenserPresets, tr("Select Dispenser:"), QRect(12, 24, 110, 24));
    const SteppedList dispensers
        = addSteppedList(*GrpDispenserPresets, "BtnEventPreviousDispenser",
                         "CmbEventSelectDispenser", "BtnEventNextDispenser", 124, 24, 60);
    BtnEventPreviousDispenser = dispensers.previous;
    CmbEventSelectDispenser = dispensers.list;
    BtnEventNextDispenser = dispensers.next;
    addLabel(*GrpDispenserPresets, tr("Preset:"), QRect(12, 58, 110, 24));
    CmbEventEditPreset = addList(*GrpDispenserPresets, "CmbEventEditPreset",
                                 QRect(124, 58, DetailWidth - 136, 24));
}

} // namespace configtool
