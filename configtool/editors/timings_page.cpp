#include "configtool/editors/timings_page.h"

#include "configtool/editors/tab_page.h"

#include <QLabel>
#include <QSpinBox>

namespace configtool {

namespace {

constexpr int Left = 24;
constexpr int DwellLeft = 180;
constexpr int IntervisitLeft = 390;
constexpr int ColumnWidth = 190;
constexpr int FirstRowTop = 84;
constexpr int RowStep = 36;

} // namespace

TimingsPage::TimingsPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TimingsPage"));
    resize(TabPageSize);

    const auto label = [this](const QString &text, const QRect &geometry, bool bold) {
        auto *shown = new QLabel(text, this);
        shown->setGeometry(geometry);
        shown->setWordWrap(true);
        if (bold) {
            QFont font = shown->font();
            font.setBold(true);
            shown->setFont(font);
        }
        return shown;
    };
    label(tr("Dwell Time (1-99s)"), QRect(DwellLeft, 16, ColumnWidth, 22), true);
    label(tr("Length of Time Camera Looks at Event"), QRect(DwellLeft, 38, ColumnWidth, 36), false);
    label(tr("Intervisit Time (1-255s)"), QRect(IntervisitLeft, 16, ColumnWidth, 22), true);
    label(tr("Min Time Before Camera Revisits Event"), QRect(IntervisitLeft, 38, ColumnWidth, 36),
          false);

    static const char *const rowNames[Priorities]
        = {"Priority One", "Priority Two", "Priority Three", "Priority Four", "Priority Five"};
    for (int i = 0; i < Priorities; ++i) {
        const int top = FirstRowTop + i * RowStep;
        label(tr(rowNames[i]), QRect(Left, top, 140, 24), false);
        const auto spin = [&](const char *what, int maximum, int left) {
            auto *field = new QSpinBox(this);
            field->setObjectName(
                QStringLiteral("SpinPriority%1%2").arg(i + 1).arg(QLatin1String(what)));
            field->setRange(1, maximum);
            field->setGeometry(left, top, 80, 24);
            field->setToolTip(maximum == 99 ? tr("Length of Time Camera Looks at Event")
                                            : tr("Min Time Before Camera Revisits Event"));
            return field;
        };
        DwellTimes[static_cast<std::size_t>(i)] = spin("DwellTime", 99, DwellLeft);
        IntervisitTimes[static_cast<std::size_t>(i)] = spin("IntervisitTime", 255, IntervisitLeft);
    }
}

} // namespace configtool
