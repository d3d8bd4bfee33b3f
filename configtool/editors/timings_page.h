#pragma once
// The controls of the "Timings" tab: per event priority 1..5, how long a camera looks at an
// event (dwell time, 1..99 s) and how long before it may come back to it (intervisit time,
// 1..255 s). Each control carries its component name as its objectName.

#include <QWidget>

#include <array>

class QSpinBox;

namespace configtool {

class TimingsPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Priorities = 5;

    explicit TimingsPage(QWidget *parent = nullptr);

    // SpinPriority1DwellTime .. SpinPriority5DwellTime, by priority less 1.
    std::array<QSpinBox *, Priorities> DwellTimes{};
    // SpinPriority1IntervisitTime .. SpinPriority5IntervisitTime.
    std::array<QSpinBox *, Priorities> IntervisitTimes{};
};

} // namespace configtool
