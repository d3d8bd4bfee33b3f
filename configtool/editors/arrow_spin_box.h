#pragma once
// A number field that changes only by its arrows (buttons, arrow keys, wheel): its text cannot
// be typed into, so it never holds anything but a number in its range.

#include <QLineEdit>
#include <QSpinBox>

namespace configtool {

class ArrowSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit ArrowSpinBox(QWidget *parent = nullptr);

    // The field's text line, for the tool's helpers that read and write the text directly.
    [[nodiscard]] QLineEdit *textLine() const { return lineEdit(); }
};

} // namespace configtool
