#pragma once
// The add panel and detail panel of the Dispenser Events and POS tabs, to the right of the grid:
// a choice list with its add button, titled groups, labels, the selected record's name in bold,
// and a list with "<<" and ">>" to step through it. Each control gets its component name.

#include <QRect>
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;

namespace configtool {

// Where the panels stand on the page, right of the grid and its delete buttons.
inline constexpr int DetailLeft = 262;
inline constexpr int DetailWidth = 350;

struct AddPanel
{
    QComboBox *choice;
    QPushButton *add;
};

struct SteppedList
{
    QPushButton *previous;
    QComboBox *list;
    QPushButton *next;
};

AddPanel addAddPanel(QWidget &page, const char *choiceName, const char *addName,
                     const QString &addText);
// A group of the detail panel, `height` high, from `top`.
QGroupBox *addDetailGroup(QWidget &page, const char *name, const QString &title, int top,
                          int height);
QLabel *addLabel(QWidget &parent, const QString &text, const QRect &geometry);
// The selected record's name across the group's width, in bold.
QLabel *addSelectedName(QGroupBox &group, const char *name);
// A priority 1..5.
QSpinBox *addPrioritySpin(QWidget &parent, const char *name, const QRect &geometry);
QComboBox *addList(QWidget &parent, const char *name, const QRect &geometry);
// "<<", the list `listWidth` wide, ">>", from `left` on the row at `top`.
SteppedList addSteppedList(QWidget &parent, const char *previousName, const char *listName,
                           const char *nextName, int left, int top, int listWidth);

} // namespace configtool
