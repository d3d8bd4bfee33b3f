#include "configtool/window/com_port_dialog.h"

#include "configtool/window/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace configtool {

ComPortDialog::ComPortDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_spin(new QSpinBox(this))
{
    setObjectName(QStringLiteral("FrmChooseComPort"));
    setWindowTitle(tr("Com Port"));
    auto *label = new QLabel(tr("Choose Com Port"), this);
    m_spin->setObjectName(QStringLiteral("SpinComPort"));
    m_spin->setRange(1, 9);
    label->setBuddy(m_spin);

    const DialogButtons buttons = makeDialogButtons(*this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_spin);
    layout->addWidget(buttons.box);
    m_spin->setMinimumWidth(200);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ComPortDialog::setPort(int port)
{
    m_spin->setValue(port);
}

int ComPortDialog::port() const
{
    return m_spin->value();
}

} // namespace configtool
