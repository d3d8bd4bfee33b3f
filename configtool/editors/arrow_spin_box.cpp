#include "configtool/editors/arrow_spin_box.h"

namespace configtool {

ArrowSpinBox::ArrowSpinBox(QWidget *parent) : QSpinBox(parent)
{
    lineEdit()->setReadOnly(true);
}

} // namespace configtool
