#include "configtool/editors/pos_page.h"

#include "configtool/editors/detail_panel.h"
#include "configtool/editors/mgrid.h"
#include "configtool/editors/tab_page.h"

#include <QGroupBox>
#include <QLabel>

namespace configtool {

POSPage::POSPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("POSPage"));
    resize(TabPageSize);

    // Three POSes at most, all in sight.
    GridPOSes = addTabGrid(*this, QStringLiteral("GridPOSes"), {150}, 3, false);
    const AddPanel add = addAddPanel(*this, "CmbChoosePOS", "BtnAddPOS", tr("New POS"));
    CmbChoosePOS = add.choice;
    BtnAddPOS = add.add;

    GrpSelectedPOS = addDetailGroup(*this, "GrpSelectedPOS", tr(" Selected POS "), 44, 52);
    LblPOSSelected = addSelectedName(*GrpSelectedPOS, "LblPOSSelected");

    GrpPOSEventPriority
        = addDetailGroup(*this, "GrpPOSEventPriority", tr(" Event Priority "), 104, 60);
    addLabel(*GrpPOSEventPriority, tr("Initial Priority:"), QRect(12, 24, 100, 24));
    SpnPOSEventPriority
        = addPrioritySpin(*GrpPOSEventPriority, "SpnPOSEventPriority", QRect(112, 24, 50, 24));

    GrpPOSCameraAndPresets
        = addDetailGroup(*this, "GrpPOSCameraAndPresets", tr(" Camera and Presets "), 172, 96);
    addLabel(*GrpPOSCameraAndPresets, tr("Camera:"), QRect(12, 24, 100, 24));
    const SteppedList cameras
        = addSteppedList(*GrpPOSCameraAndPresets, "BtnPOSPreviousCamera", "CmbPOSSelectCamera",
                         "BtnPOSNextCamera", 112, 24, 110);
    BtnPOSPreviousCamera = cameras.previous;
    CmbPOSSelectCamera = cameras.list;
    BtnPOSNextCamera = cameras.next;
    LblPOSPreset = addLabel(*GrpPOSCameraAndPresets, tr("Preset:"), QRect(12, 58, 100, 24));
    LblPOSPreset->setObjectName(QStringLiteral("LblPOSPreset"));
    CmbPOSPreset
        = addList(*GrpPOSCameraAndPresets, "CmbPOSPreset", QRect(112, 58, DetailWidth - 124, 24));
}

} // namespace configtool
