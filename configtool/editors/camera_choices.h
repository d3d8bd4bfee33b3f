#pragma once
// The choice lists the Dispenser Events and POS tabs offer, each read from the site in one walk
// of its table: every service call is a bus round trip, and a walk per item would cost
// thousands of them on a large site. The lists keep the site's store order; each choice of a
// combo box carries its numbers as item data, so a comment holding "." or " - " never changes
// what a choice means.

#include "interfaces/services/isite_tables.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <set>
#include <vector>

class QAbstractButton;
class QComboBox;
class QObject;

namespace configtool {

struct PresetChoice
{
    int number = 0;
    QString comment;
};

struct CameraChoice
{
    int number = 0;
    std::vector<PresetChoice> presets;
};

// Every camera with its presets, in store order.
[[nodiscard]] std::vector<CameraChoice> ReadCameraChoices(services::ICameraData &cameras);
// The logical numbers of the site's dispensers.
[[nodiscard]] std::set<int> ReadDispenserNumbers(services::IDispenserData &dispensers);

// Item data of a (camera, preset) choice, and its numbers back; (0, 0) for none.
[[nodiscard]] QVariant cameraPresetData(int camera, int preset);
[[nodiscard]] int cameraOfData(const QVariant &data);
[[nodiscard]] int presetOfData(const QVariant &data);

// Item 0, then the first item whose data equals `data`.
void selectComboData(QComboBox &combo, const QVariant &data);
// Moves the selection one item on (+1) or back (-1); false at the end of the list.
bool stepCombo(QComboBox &combo, int step);
// "<<" and ">>" beside a list: each moves the selection one item, when it can, and then runs
// `changed` as a person's choice of that item would.
void connectSteps(QObject &context, QAbstractButton &previous, QAbstractButton &next,
                  QComboBox &list, const std::function<void()> &changed);

} // namespace configtool
