#include "configtool/window/camera_type_dialog.h"

#include "configtool/window/dialog_buttons.h"

#include "configtool/model/camera_type_state.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace configtool {

CameraTypeDialog::CameraTypeDialog(CameraTypeState &cameraType, ProtocolList protocols,
                                   QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_cameraType(cameraType),
      m_protocols(std::move(protocols)), m_list(new QComboBox(this))
{
    setObjectName(QStringLiteral("FrmChangeCameraType"));
    setWindowTitle(tr("Camera Type"));
    auto *label = new QLabel(tr("Choose Camera Type"), this);
    m_list->setObjectName(QStringLiteral("CmbCameraType"));
    label->setBuddy(m_list);

    const DialogButtons buttons = makeDialogButtons(*this);
    m_cancel = buttons.cancel;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons.box);
    m_list->setMinimumWidth(200);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CameraTypeDialog::showEvent(QShowEvent *event)
{
    m_shown = m_protocols();
    m_list->clear();
    int current = -1;
    for (const CameraProtocol &protocol : m_shown) {
        if (current < 0 && m_cameraType.isSet() && protocol.id == m_cameraType.value())
            current = m_list->count();
        m_list->addItem(protocol.name);
    }
    m_list->setCurrentIndex(m_list->count() > 0 ? qMax(current, 0) : -1);
    m_cancel->setEnabled(m_cameraType.isSet());
    QDialog::showEvent(event);
}

void CameraTypeDialog::accept()
{
    int id = 0;
    for (const CameraProtocol &protocol : m_shown)
        if (protocol.name == m_list->currentText()) {
            id = protocol.id;
            break;
        }
    m_cameraType.set(id);
    QDialog::accept();
}

void CameraTypeDialog::reject()
{
    // The close box and Escape end here too.
    if (!m_cameraType.isSet())
        return;
    QDialog::reject();
}

} // namespace configtool
