#include "configtool/editors/camera_choices.h"

#include "configtool/model/iterator.h"

#include "platform/com_error.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QPoint>

namespace configtool {

std::vector<CameraChoice> ReadCameraChoices(services::ICameraData &cameras)
{
    std::vector<CameraChoice> choices;
    ForEachHandle(
        [&](std::int16_t *camera) { return cameras.FirstCamera(camera); },
        [&](std::int16_t *camera) { return cameras.NextCamera(camera); },
        [&](std::int16_t camera) {
            CameraChoice choice;
            std::int16_t number = 0;
            ThrowIfFailed(cameras.GetCameraNumber(camera, &number));
            choice.number = number;
            ForEachHandle(
                [&](std::int16_t *preset) { return cameras.FirstPreset(camera, preset); },
                [&](std::int16_t *preset) { return cameras.NextPreset(camera, preset); },
                [&](std::int16_t preset) {
                    std::int16_t presetNumber = 0;
                    std::string comment;
                    ThrowIfFailed(cameras.GetPresetNumber(camera, preset, &presetNumber));
                    ThrowIfFailed(cameras.GetComment(camera, preset, &comment));
                    choice.presets.push_back({presetNumber, QString::fromStdString(comment)});
                });
            choices.push_back(std::move(choice));
        });
    return choices;
}

std::set<int> ReadDispenserNumbers(services::IDispenserData &dispensers)
{
    std::set<int> numbers;
    ForEachHandle([&](std::int16_t *dispenser) { return dispensers.FirstDispenser(dispenser); },
                  [&](std::int16_t *dispenser) { return dispensers.NextDispenser(dispenser); },
                  [&](std::int16_t dispenser) {
                      std::int16_t number = 0;
                      ThrowIfFailed(dispensers.GetDispenserLogicalNumber(dispenser, &number));
                      numbers.insert(number);
                  });
    return numbers;
}

QVariant cameraPresetData(int camera, int preset)
{
    return QPoint(camera, preset);
}

int cameraOfData(const QVariant &data)
{
    return data.toPoint().x();
}

int presetOfData(const QVariant &data)
{
    return data.toPoint().y();
}

void selectComboData(QComboBox &combo, const QVariant &data)
{
    combo.setCurrentIndex(combo.count() > 0 ? 0 : -1);
    const int match = combo.findData(data);
    if (match >= 0)
        combo.setCurrentIndex(match);
}

bool stepCombo(QComboBox &combo, int step)
{
    const int target = combo.currentIndex() + step;
    if (combo.currentIndex() < 0 || target < 0 || target >= combo.count())
        return false;
    combo.setCurrentIndex(target);
    return true;
}

void connectSteps(QObject &context, QAbstractButton &previous, QAbstractButton &next,
                  QComboBox &list, const std::function<void()> &changed)
{
    QObject::connect(&previous, &QAbstractButton::clicked, &context, [&list, changed] {
        if (stepCombo(list, -1))
            changed();
    });
    QObject::connect(&next, &QAbstractButton::clicked, &context, [&list, changed] {
        if (stepCombo(list, +1))
            changed();
    });
}

} // namespace configtool
