#pragma once
// The "Com Port" dialog: the number of the serial port the service talks to the unit on, 1 to 9.
// The main window shows it modally with the current port and, after OK, has the service switch
// to the chosen port at once (the settings file keeps it when the tool closes).
// User-interface thread only.

#include <QDialog>

class QSpinBox;

namespace configtool {

class ComPortDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ComPortDialog(QWidget *parent = nullptr);

    void setPort(int port);
    [[nodiscard]] int port() const;
    [[nodiscard]] QSpinBox *portSpin() const { return m_spin; }

private:
    QSpinBox *m_spin;
};

} // namespace configtool
