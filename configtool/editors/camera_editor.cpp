#include "configtool/editors/camera_editor.h"

#include "configtool/editors/camera_page.h"
#include "configtool/editors/mgrid.h"
#include "configtool/model/prompter.h"

#include <QPushButton>
#include <QSpinBox>

namespace configtool {

CameraEditor::CameraEditor(OrvexConfigManager &manager, ToolHost &host, CameraPage &page)
    : GridEditor(manager, host, *page.GridCameras, page, page.BtnAddCamera),
      m_page(page),
      m_cameras(manager)
{
    setPanelControls({page.SpinChooseCamera});
}

void CameraEditor::LoadDefaults()
{
    m_cameras.Reload();
    m_cameras.LoadDefaults();
}

void CameraEditor::ClearAll()
{
    m_cameras.Reload();
    m_cameras.ClearAll();
}

QStringList CameraEditor::ColumnTitles()
{
    return {QStringLiteral("Camera"), QStringLiteral(" ")};
}

void CameraEditor::FillChoiceCombo()
{
    int number = 1;
    while (number <= MaxCameras && isListed(number))
        ++number;
    SetControlValue(m_page.SpinChooseCamera, number);
}

QString CameraEditor::EmptyText()
{
    return QStringLiteral("No Cameras");
}

QString CameraEditor::DeleteButtonName()
{
    return QStringLiteral("BtnDeleteCamera");
}

QString CameraEditor::MaxCountMessage()
{
    return QStringLiteral("Already have the maximum of %1 cameras").arg(MaxCount());
}

QStringList CameraEditor::RowTexts()
{
    return {QStringLiteral("Camera %1").arg(m_cameras.GetCameraNumber()), QStringLiteral(" ")};
}

bool CameraEditor::CanCreate(QString &message)
{
    if (m_cameras.NoCameraDevice()) {
        message = QStringLiteral("Create a camera device first");
        return false;
    }
    if (isListed(m_page.SpinChooseCamera->value())) {
        message = QStringLiteral("That camera number is already used");
        return false;
    }
    return true;
}

void CameraEditor::CreateEntry()
{
    m_cameras.AddCamera(static_cast<std::int16_t>(m_page.SpinChooseCamera->value()));
}

bool CameraEditor::DeleteEntry(int row)
{
    const auto number = static_cast<std::int16_t>(numberOfRow(row));
    m_cameras.SelectCamera(number);
    if (m_cameras.HasPresets()
        && !host().prompter().askOkCancel(
            QStringLiteral("The presets will be deleted along with the camera. Continue?")))
        return false;
    m_cameras.DeleteCamera(number);
    return true;
}

int CameraEditor::numberOfRow(int row) const
{
    return grid().cell(0, row).mid(6).trimmed().toInt();
}

bool CameraEditor::isListed(int number)
{
    return columnTexts(0).contains(QStringLiteral("Camera %1").arg(number));
}

} // namespace configtool
