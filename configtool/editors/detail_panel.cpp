#include "configtool/editors/detail_panel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace configtool {

namespace {

constexpr int RowHeight = 24;
constexpr int StepWidth = 32;
constexpr int Gap = 4;

template <typename Control>
Control *named(Control *control, const char *name, const QRect &geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

} // namespace

AddPanel addAddPanel(QWidget &page, const char *choiceName, const char *addName,
                     const QString &addText)
{
    constexpr int ChoiceWidth = 220;
    return {named(new QComboBox(&page), choiceName, QRect(DetailLeft, 8, ChoiceWidth, 26)),
            named(new QPushButton(addText, &page), addName,
                  QRect(DetailLeft + ChoiceWidth + 8, 8, DetailWidth - ChoiceWidth - 8, 26))};
}

QGroupBox *addDetailGroup(QWidget &page, const char *name, const QString &title, int top,
                          int height)
{
    return named(new QGroupBox(title, &page), name, QRect(DetailLeft, top, DetailWidth, height));
}

QLabel *addLabel(QWidget &parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, &parent);
    label->setGeometry(geometry);
    return label;
}

QLabel *addSelectedName(QGroupBox &group, const char *name)
{
    auto *label = named(new QLabel(&group), name, QRect(12, 20, DetailWidth - 24, RowHeight));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QSpinBox *addPrioritySpin(QWidget &parent, const char *name, const QRect &geometry)
{
    auto *spin = named(new QSpinBox(&parent), name, geometry);
    spin->setRange(1, 5);
    return spin;
}

QComboBox *addList(QWidget &parent, const char *name, const QRect &geometry)
{
    return named(new QComboBox(&parent), name, geometry);
}

SteppedList addSteppedList(QWidget &parent, const char *previousName, const char *listName,
                           const char *nextName, int left, int top, int listWidth)
{
    SteppedList stepped{};
    stepped.previous = named(new QPushButton(QStringLiteral("<<"), &parent), previousName,
                             QRect(left, top, StepWidth, RowHeight));
    left += StepWidth + Gap;
    stepped.list = addList(parent, listName, QRect(left, top, listWidth, RowHeight));
    left += listWidth + Gap;
    stepped.next = named(new QPushButton(QStringLiteral(">>"), &parent), nextName,
                         QRect(left, top, StepWidth, RowHeight));
    return stepped;
}

} // namespace configtool
