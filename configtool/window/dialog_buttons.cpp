#include "configtool/window/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace configtool {

DialogButtons makeDialogButtons(QDialog &dialog, bool withCancel)
{
    DialogButtons buttons{new QDialogButtonBox(&dialog), nullptr, nullptr};
    buttons.ok = buttons.box->addButton(QDialog::tr("OK"), QDialogButtonBox::AcceptRole);
    buttons.ok->setObjectName(QStringLiteral("BtnOK"));
    buttons.ok->setDefault(true);
    if (withCancel) {
        buttons.cancel
            = buttons.box->addButton(QDialog::tr("Cancel"), QDialogButtonBox::RejectRole);
        buttons.cancel->setObjectName(QStringLiteral("BtnCancel"));
    }
    QObject::connect(buttons.box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons.box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace configtool
