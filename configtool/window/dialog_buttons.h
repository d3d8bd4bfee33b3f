#pragma once
// The button row of the tool's dialogs: "OK" (the default, named BtnOK) and "Cancel"
// (BtnCancel), wired to the dialog's accept and reject.

class QDialog;
class QDialogButtonBox;
class QPushButton;

namespace configtool {

struct DialogButtons
{
    QDialogButtonBox *box;
    QPushButton *ok;
    QPushButton *cancel; // null without one
};

DialogButtons makeDialogButtons(QDialog &dialog, bool withCancel = true);

} // namespace configtool
