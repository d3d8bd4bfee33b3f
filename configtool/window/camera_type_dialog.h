#pragma once
// The "Camera Type" dialog: which camera protocol the tool steers the cameras with. The list is
// the protocols of the device type "Camera", read when the dialog is shown; OK makes the chosen
// protocol the current camera type, which the preset editor follows by selecting its camera
// again. While no type has ever been chosen (-1), the dialog cannot be cancelled or closed: a
// type must be picked. User-interface thread only.

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class QComboBox;
class QPushButton;

namespace configtool {

class CameraTypeState;

struct CameraProtocol
{
    QString name;
    int id = 0;
};

class CameraTypeDialog : public QDialog
{
    Q_OBJECT

public:
    using ProtocolList = std::function<std::vector<CameraProtocol>()>;

    CameraTypeDialog(CameraTypeState &cameraType, ProtocolList protocols,
                     QWidget *parent = nullptr);

    [[nodiscard]] QComboBox *typeList() const { return m_list; }
    [[nodiscard]] QPushButton *cancelButton() const { return m_cancel; }

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    CameraTypeState &m_cameraType;
    ProtocolList m_protocols;
    std::vector<CameraProtocol> m_shown;
    QComboBox *m_list;
    QPushButton *m_cancel;
};

} // namespace configtool
