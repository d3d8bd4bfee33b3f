#include "configtool/editors/pos_editor.h"

#include "configtool/editors/mgrid.h"
#include "configtool/editors/pos_page.h"
#include "configtool/model/orvex_config_manager.h"

#include "platform/com_error.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace configtool {

namespace {

QString posText(int number)
{
    return QStringLiteral("POS %1").arg(number);
}

} // namespace

POSEditor::POSEditor(OrvexConfigManager &manager, ToolHost &host, POSPage &page)
    : GridEditor(manager, host, *page.GridPOSes, page, page.BtnAddPOS), m_page(page),
      m_points(manager)
{
    setPanelControls({page.CmbChoosePOS, page.SpnPOSEventPriority, page.CmbPOSSelectCamera,
                      page.BtnPOSPreviousCamera, page.BtnPOSNextCamera, page.CmbPOSPreset});
    connect(page.SpnPOSEventPriority, &QSpinBox::valueChanged, this,
            [this] { guard([this] { POSPriorityChanged(); }); });
    // A person's choice only: the editor's own fills never write to the site.
    connect(page.CmbPOSSelectCamera, &QComboBox::activated, this,
            [this] { guard([this] { POSCameraChanged(); }); });
    connect(page.CmbPOSPreset, &QComboBox::activated, this,
            [this] { guard([this] { POSPresetChanged(); }); });
    connectSteps(*this, *page.BtnPOSPreviousCamera, *page.BtnPOSNextCamera,
                 *page.CmbPOSSelectCamera, [this] { guard([this] { POSCameraChanged(); }); });
}

void POSEditor::Reload()
{
    if (m_busy)
        return;
    const auto data = manager().GetConfigData();
    if (!data)
        throw ComError(E_POINTER);
    std::shared_ptr<services::ICameraData> cameras;
    ThrowIfFailed(data->RetrieveCamera(&cameras));
    m_cameraChoices = ReadCameraChoices(*cameras);
    GridEditor::Reload();
}

void POSEditor::LoadDefaults()
{
    m_points.Reload();
    m_points.LoadDefaults();
}

void POSEditor::ClearAll()
{
    m_points.Reload();
    m_points.ClearAll();
}

QStringList POSEditor::ColumnTitles()
{
    return {QStringLiteral("POS")};
}

int POSEditor::numberOfRow(int row) const
{
    return grid().cell(0, row).mid(4).trimmed().toInt();
}

void POSEditor::FillChoiceCombo()
{
    QComboBox &combo = *m_page.CmbChoosePOS;
    combo.clear();
    const QStringList listed = columnTexts(0);
    for (int number = 1; number <= OfferedPOSes; ++number)
        if (!listed.contains(posText(number)))
            combo.addItem(posText(number), number);
    combo.setCurrentIndex(combo.count() > 0 ? 0 : -1);
    // Paused (no site, a command running) it stays off like the tab's other controls.
    m_page.BtnAddPOS->setEnabled(combo.count() > 0 && !m_busy);
}

const CameraChoice *POSEditor::cameraChoice(int number) const
{
    for (const CameraChoice &camera : m_cameraChoices)
        if (camera.number == number)
            return &camera;
    return nullptr;
}

void POSEditor::SelectRow(int row)
{
    const int number = numberOfRow(row);
    m_page.GrpSelectedPOS->show();
    m_page.GrpPOSEventPriority->show();
    m_page.GrpPOSCameraAndPresets->show();
    m_page.LblPOSSelected->setText(posText(number));
    m_points.SelectPOS(static_cast<std::int16_t>(number));

    QComboBox &cameras = *m_page.CmbPOSSelectCamera;
    cameras.clear();
    cameras.addItem(QStringLiteral("No Camera"), 0);
    for (const CameraChoice &camera : m_cameraChoices)
        cameras.addItem(QString::number(camera.number), camera.number);
    cameras.setCurrentIndex(0);

    const int camera = m_points.GetCamera();
    QComboBox &presets = *m_page.CmbPOSPreset;
    presets.clear();
    presets.addItem(QStringLiteral("No Preset"), cameraPresetData(0, 0));
    if (const CameraChoice *choice = camera != 0 ? cameraChoice(camera) : nullptr)
        for (const PresetChoice &preset : choice->presets)
            presets.addItem(QStringLiteral("%1 - %2").arg(preset.number).arg(preset.comment),
                            cameraPresetData(camera, preset.number));
    presets.setCurrentIndex(0);

    SetControlValue(m_page.SpnPOSEventPriority, m_points.GetPriority());

    const bool hasCamera = camera != 0;
    m_page.LblPOSPreset->setVisible(hasCamera);
    presets.setVisible(hasCamera);
    if (!hasCamera)
        return;
    selectComboData(cameras, camera);
    const int preset = m_points.GetPreset();
    if (!m_points.IsFixed() && preset != 0)
        selectComboData(presets, cameraPresetData(camera, preset));
}

void POSEditor::HideDetails()
{
    m_page.GrpSelectedPOS->hide();
    m_page.GrpPOSEventPriority->hide();
    m_page.GrpPOSCameraAndPresets->hide();
}

QString POSEditor::EmptyText()
{
    return QStringLiteral("No POS");
}

QString POSEditor::DeleteButtonName()
{
    return QStringLiteral("BtnDeletePOS");
}

QString POSEditor::MaxCountMessage()
{
    return QStringLiteral("Already have the maximum of %1 POSs").arg(MaxPOSes);
}

QStringList POSEditor::RowTexts()
{
    return {posText(m_points.GetPOSNumber())};
}

bool POSEditor::CanCreate(QString &message)
{
    if (m_points.NoPOSDevice()) {
        message = QStringLiteral("Create a POS device first");
        return false;
    }
    if (!m_points.POSDeviceExists(m_page.CmbChoosePOS->currentData().toInt())) {
        message = QStringLiteral("Create the corresponding POS device first");
        return false;
    }
    return true;
}

void POSEditor::CreateEntry()
{
    m_points.AddPOS(static_cast<std::int16_t>(m_page.CmbChoosePOS->currentData().toInt()));
    m_points.SetPriority(1);
    m_points.SetCamera(0);
    m_points.SetPreset(0);
}

bool POSEditor::DeleteEntry(int row)
{
    m_points.DeletePOS(static_cast<std::int16_t>(numberOfRow(row)));
    return true;
}

bool POSEditor::selectCurrentPOS()
{
    if (IsEmpty())
        return false;
    m_points.SelectPOS(static_cast<std::int16_t>(numberOfRow(grid().gridRow())));
    return true;
}

void POSEditor::showAgain()
{
    const int row = grid().gridRow();
    RefreshRow(row);
    SelectRow(row);
}

void POSEditor::POSPriorityChanged()
{
    if (m_busy || m_updating || !selectCurrentPOS())
        return;
    m_points.SetPriority(
        static_cast<std::int16_t>(ReadClampedInt(m_page.SpnPOSEventPriority, 1, 5)));
    showAgain();
}

void POSEditor::POSCameraChanged()
{
    if (m_busy || m_updating || !selectCurrentPOS())
        return;
    // "No Camera" carries 0; a camera its number.
    m_points.SetCamera(static_cast<std::int16_t>(m_page.CmbPOSSelectCamera->currentData().toInt()));
    m_points.SetPreset(0);
    showAgain();
}

void POSEditor::POSPresetChanged()
{
    if (m_busy || m_updating || !selectCurrentPOS())
        return;
    const int preset = presetOfData(m_page.CmbPOSPreset->currentData());
    // A preset makes the POS movable; "No Preset" leaves the camera where it stands.
    m_points.SetFixed(preset == 0);
    m_points.SetPreset(static_cast<std::int16_t>(preset));
    showAgain();
}

} // namespace configtool
