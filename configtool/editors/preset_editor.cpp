#include "configtool/editors/preset_editor.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/mgrid.h"
#include "configtool/editors/preset_page.h"
#include "configtool/model/camera_type_state.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <set>
#include <string>

namespace configtool {
namespace {

constexpr int CommentColumn = 1;
constexpr int MaxCameraNumber = 10;

QString presetText(int number)
{
    return QStringLiteral("Preset %1").arg(number);
}

using Move = HRESULT (services::ICameraCtrl::*)(std::int16_t);

} // namespace

PresetEditor::PresetEditor(OrvexConfigManager &manager, ToolHost &host, PresetPage &page)
    : GridEditor(manager, host, *page.GridPresets, page, nullptr),
      m_page(page),
      m_presets(manager),
      m_cameraList(manager),
      m_cameraCtrl(manager.GetCameraCtrl())
{
    setPanelControls({page.CmbPresetsSelectCamera, page.BtnPresetsPreviousCamera,
                      page.BtnPresetsNextCamera, page.BtnPresetsSetPreset,
                      page.BtnPresetsClearPresets, page.TxtPresetComment});
    connect(page.TxtEditPresetComment, &QLineEdit::textChanged, this,
            [this] { guard([this] { CommentChanged(); }); });
    connect(page.CmbPresetsSelectCamera, &QComboBox::currentIndexChanged, this,
            [this] { guard([this] { CameraChanged(); }); });
    // "<<" and ">>" step the camera list and so run its change handler.
    connect(page.BtnPresetsPreviousCamera, &QPushButton::clicked, this, [this] {
        QComboBox &combo = *m_page.CmbPresetsSelectCamera;
        if (combo.currentIndex() > 0)
            combo.setCurrentIndex(combo.currentIndex() - 1);
    });
    connect(page.BtnPresetsNextCamera, &QPushButton::clicked, this, [this] {
        QComboBox &combo = *m_page.CmbPresetsSelectCamera;
        if (combo.currentIndex() < combo.count() - 1)
            combo.setCurrentIndex(combo.currentIndex() + 1);
    });
    connect(page.SpnPresetsSelectPreset, &QSpinBox::valueChanged, this,
            [this] { guard([this] { ShowPresetComment(); }); });
    connect(page.BtnPresetsGotoPreset, &QPushButton::clicked, this,
            [this] { guard([this] { GotoPreset(); }); });
    connect(page.BtnPresetsSetPreset, &QPushButton::clicked, this,
            [this] { guard([this] { SetPresetNow(); }); });
    connect(page.BtnPresetsClearPresets, &QPushButton::clicked, this,
            [this] { guard([this] { ClearPresetNow(); }); });
    connect(&host.cameraType(), &CameraTypeState::changed, this,
            [this] { guard([this] { SelectCameraForType(); }); });
    // A type kept from the last run may never be set again in this one (a site opened on this
    // tab reads no device): its limit holds from the start. The camera is selected before the
    // first command.
    if (host.cameraType().isSet())
        m_page.SpnPresetsSelectPreset->setMaximum(
            manager.GetMetaData().GetMaxPreset(host.cameraType().value()));
    connectSteering();
}

void PresetEditor::connectSteering()
{
    const std::pair<QPushButton *, Move> moves[] = {
        {m_page.BtnPresetsUp, &services::ICameraCtrl::MoveUp},
        {m_page.BtnPresetsUpRight, &services::ICameraCtrl::MoveUpRight},
        {m_page.BtnPresetsRight, &services::ICameraCtrl::MoveRight},
        {m_page.BtnPresetsDownRight, &services::ICameraCtrl::MoveDownRight},
        {m_page.BtnPresetsDown, &services::ICameraCtrl::MoveDown},
        {m_page.BtnPresetsDownLeft, &services::ICameraCtrl::MoveDownLeft},
        {m_page.BtnPresetsLeft, &services::ICameraCtrl::MoveLeft},
        {m_page.BtnPresetsUpLeft, &services::ICameraCtrl::MoveUpLeft},
    };
    const std::pair<QPushButton *, Move> lensMoves[] = {
        {m_page.BtnPresetsZoomIn, &services::ICameraCtrl::ZoomIn},
        {m_page.BtnPresetsZoomOut, &services::ICameraCtrl::ZoomOut},
        {m_page.BtnPresetsFocusNear, &services::ICameraCtrl::FocusNear},
        {m_page.BtnPresetsFocusFar, &services::ICameraCtrl::FocusFar},
    };
    const std::pair<QPushButton *, HRESULT (services::ICameraCtrl::*)()> irisMoves[] = {
        {m_page.BtnPresetsIrisOpen, &services::ICameraCtrl::OpenIris},
        {m_page.BtnPresetsIrisClose, &services::ICameraCtrl::CloseIris},
    };
    const std::pair<QPushButton *, HRESULT (services::ICameraCtrl::*)()> toggles[] = {
        {m_page.BtnPresetsAutoPan, &services::ICameraCtrl::ToggleAutoPan},
        {m_page.BtnPresetsAutoIris, &services::ICameraCtrl::ToggleAutoIris},
        {m_page.BtnPresetsCameraMenu, &services::ICameraCtrl::AccessMenu},
    };
    auto speed = [this](int (*of)(int)) {
        return static_cast<std::int16_t>(of(m_page.TrackBarCameraSpeed->value()));
    };
    auto stopOnRelease = [this](QPushButton *button) {
        connect(button, &QPushButton::released, this, [this] {
            steer([](services::ICameraCtrl &camera) { return camera.StopMoving(); });
        });
    };
    for (const auto &[button, move] : moves) {
        connect(button, &QPushButton::pressed, this, [this, move, speed] {
            const std::int16_t pace = speed(&PresetEditor::panTiltSpeed);
            steer([move, pace](services::ICameraCtrl &camera) { return (camera.*move)(pace); });
        });
        stopOnRelease(button);
    }
    for (const auto &[button, move] : lensMoves) {
        connect(button, &QPushButton::pressed, this, [this, move, speed] {
            const std::int16_t pace = speed(&PresetEditor::lensSpeed);
            steer([move, pace](services::ICameraCtrl &camera) { return (camera.*move)(pace); });
        });
        stopOnRelease(button);
    }
    for (const auto &[button, move] : irisMoves) {
        connect(button, &QPushButton::pressed, this, [this, move] {
            steer([move](services::ICameraCtrl &camera) { return (camera.*move)(); });
        });
        stopOnRelease(button);
    }
    for (const auto &[button, toggle] : toggles) {
        connect(button, &QPushButton::clicked, this, [this, toggle] {
            steer([toggle](services::ICameraCtrl &camera) { return (camera.*toggle)(); });
        });
    }
}

int PresetEditor::panTiltSpeed(int position)
{
    return position <= 1 ? 0 : 7 * (position - 1);
}

int PresetEditor::lensSpeed(int position)
{
    if (position <= 2)
        return 0;
    if (position <= 5)
        return 1;
    if (position <= 8)
        return 2;
    return 3;
}

void PresetEditor::LoadDefaults()
{
    m_presets.Reload();
    m_presets.LoadDefaults();
}

void PresetEditor::ClearAll()
{
    m_presets.Reload();
    m_presets.ClearAll();
}

void PresetEditor::AfterSiteLoad()
{
    m_presets.Reload();
    m_presets.SelectCamera(0);
    SetControlValue(m_page.SpnPresetsSelectPreset, 1);
}

bool PresetEditor::CanSwitchCamera()
{
    return !m_busy && m_page.CmbPresetsSelectCamera->count() > 1;
}

QStringList PresetEditor::ColumnTitles()
{
    return {QStringLiteral("Preset"), QStringLiteral("Comment")};
}

void PresetEditor::FillChoiceCombo()
{
    if (m_updating)
        return;
    m_updating = true;
    QComboBox &combo = *m_page.CmbPresetsSelectCamera;
    combo.clear();
    // Without a site (the empty view) there are no cameras to list.
    if (manager().IsOpenAndIdle()) {
        std::set<int> numbers;
        m_cameraList.Reload();
        for (m_cameraList.First(); !m_cameraList.Eof(); m_cameraList.Next())
            numbers.insert(m_cameraList.GetCameraNumber());
        for (int number : numbers) {
            if (number >= 1 && number <= MaxCameraNumber)
                combo.addItem(QString::number(number), number);
        }
        const int current = combo.findData(static_cast<int>(m_presets.GetCameraNumber()));
        combo.setCurrentIndex(current >= 0 ? current : 0);
    }
    m_updating = false;
}

void PresetEditor::SelectRow(int row)
{
    const int preset = presetOfRow(row);
    if (preset < 0)
        return;
    SetControlValue(m_page.SpnPresetsSelectPreset, preset);
    ShowPresetComment();
}

void PresetEditor::HideDetails()
{
    m_page.TxtPresetComment->clear();
    SetControlValue(m_page.SpnPresetsSelectPreset, 1);
}

QWidget *PresetEditor::ActivateCellEditor()
{
    if (grid().gridCol() != CommentColumn)
        return nullptr;
    const int row = grid().gridRow();
    QLineEdit *edit = m_page.TxtEditPresetComment;
    m_updating = true;
    edit->setText(grid().cell(CommentColumn, row));
    m_updating = false;
    PlaceCellEditor(edit, row, CommentColumn);
    SetControlValue(m_page.SpnPresetsSelectPreset, presetOfRow(row));
    ShowPresetComment();
    return edit;
}

QString PresetEditor::EmptyText()
{
    return QStringLiteral("No Presets");
}

QString PresetEditor::DeleteButtonName()
{
    return QStringLiteral("BtnDeletePreset");
}

int PresetEditor::MaxCount()
{
    return manager().GetMetaData().GetMaxPreset(host().cameraType().value());
}

QString PresetEditor::MaxCountMessage()
{
    return QStringLiteral("Already have the maximum of %1 presets").arg(MaxCount());
}

QStringList PresetEditor::RowTexts()
{
    return {presetText(m_presets.GetPresetNumber()), m_presets.GetComment()};
}

bool PresetEditor::CanCreate(QString &message)
{
    const int preset = m_page.SpnPresetsSelectPreset->value();
    // The unit has no preset 0 to store; there is nothing to tell the person either.
    if (preset < 1)
        return false;
    if (!m_presets.HasCameras()) {
        message = QStringLiteral("Create a camera first");
        return false;
    }
    if (preset > MaxCount()) {
        message = QStringLiteral("Preset number cannot exceed %1").arg(MaxCount());
        return false;
    }
    if (rowOfPreset(preset) > 0) {
        message = QStringLiteral("That preset is already used");
        return false;
    }
    return true;
}

void PresetEditor::CreateEntry()
{
    m_presets.AddPreset(static_cast<std::int16_t>(m_page.SpnPresetsSelectPreset->value()));
    m_presets.SetComment(m_page.TxtPresetComment->text());
}

bool PresetEditor::DeleteEntry(int row)
{
    const auto preset = static_cast<std::int16_t>(presetOfRow(row));
    m_presets.DeletePreset(preset);
    steer([preset](services::ICameraCtrl &camera) { return camera.ClearPreset(preset); });
    return true;
}

void PresetEditor::CommentChanged()
{
    if (m_busy || m_updating)
        return;
    const int preset = presetOfRow(grid().gridRow());
    if (preset < 1)
        return;
    m_presets.SelectPreset(static_cast<std::int16_t>(preset));
    m_presets.SetComment(m_page.TxtEditPresetComment->text());
    // The comment field is what "Set Preset" stores: left behind, it would undo this edit.
    if (m_page.SpnPresetsSelectPreset->value() == preset) {
        m_updating = true;
        m_page.TxtPresetComment->setText(m_page.TxtEditPresetComment->text());
        m_updating = false;
    }
}

void PresetEditor::CameraChanged()
{
    if (m_busy || m_updating || m_page.CmbPresetsSelectCamera->currentText().isEmpty())
        return;
    m_updating = true;
    m_presets.SelectCamera(static_cast<std::int16_t>(currentCameraNumber()));
    Reload();
    m_updating = false;
    SelectCameraForType();
    SelectRow(grid().gridRow());
}

void PresetEditor::ShowPresetComment()
{
    if (m_busy || m_updating)
        return;
    m_updating = true;
    QString comment;
    const int camera = currentCameraNumber();
    if (camera >= 1) {
        if (m_presets.GetCameraNumber() != camera)
            m_presets.SelectCamera(static_cast<std::int16_t>(camera));
        const int preset = m_page.SpnPresetsSelectPreset->value();
        if (preset >= 1) {
            m_presets.SelectPreset(static_cast<std::int16_t>(preset));
            if (!m_presets.NoPreset())
                comment = m_presets.GetComment();
        }
    }
    m_page.TxtPresetComment->setText(comment);
    m_updating = false;
}

void PresetEditor::GotoPreset()
{
    const auto preset = static_cast<std::int16_t>(m_page.SpnPresetsSelectPreset->value());
    steer([preset](services::ICameraCtrl &camera) { return camera.MoveToPreset(preset); });
}

void PresetEditor::SetPresetNow()
{
    const int preset = m_page.SpnPresetsSelectPreset->value();
    const QString comment = m_page.TxtPresetComment->text();
    if (m_presets.GetCameraNumber() != currentCameraNumber())
        m_presets.SelectCamera(static_cast<std::int16_t>(currentCameraNumber()));
    m_presets.SelectPreset(static_cast<std::int16_t>(preset));
    const auto number = static_cast<std::int16_t>(preset);
    steer([number](services::ICameraCtrl &camera) { return camera.SetPreset(number); });
    if (m_presets.NoPreset()) {
        AddRow(false);
        SetControlValue(m_page.SpnPresetsSelectPreset, preset + 1);
        ShowPresetComment();
        return;
    }
    if (m_presets.GetComment() != comment) {
        m_presets.SetComment(comment);
        if (const int row = rowOfPreset(preset))
            RefreshRow(row);
    }
}

void PresetEditor::ClearPresetNow()
{
    const auto preset = static_cast<std::int16_t>(m_page.SpnPresetsSelectPreset->value());
    if (m_presets.GetCameraNumber() != currentCameraNumber())
        m_presets.SelectCamera(static_cast<std::int16_t>(currentCameraNumber()));
    m_presets.SelectPreset(preset);
    if (!m_presets.NoPreset()) {
        m_presets.DeletePreset(preset);
        Reload();
    }
    steer([preset](services::ICameraCtrl &camera) { return camera.ClearPreset(preset); });
}

void PresetEditor::SelectCameraForType()
{
    const int type = host().cameraType().value();
    if (type == CameraTypeState::Unset)
        return;
    const int camera = currentCameraNumber();
    if (m_cameraCtrl) {
        try {
            std::string answer;
            m_cameraCtrl->SelectCamera(static_cast<std::int16_t>(camera),
                                       static_cast<std::int16_t>(type), &answer);
        } catch (...) {
            // A camera that cannot be selected is steered by nothing; the tab still works.
        }
    }
    m_selectedCamera = camera;
    m_selectedType = type;
    m_page.SpnPresetsSelectPreset->setMaximum(manager().GetMetaData().GetMaxPreset(type));
}

int PresetEditor::currentCameraNumber() const
{
    const QComboBox &combo = *m_page.CmbPresetsSelectCamera;
    return combo.count() == 0 ? 1 : combo.currentData().toInt();
}

int PresetEditor::presetOfRow(int row)
{
    if (IsEmpty())
        return -1;
    bool isNumber = false;
    const int preset = grid().cell(0, row).mid(6).trimmed().toInt(&isNumber);
    return isNumber ? preset : -1;
}

int PresetEditor::rowOfPreset(int preset)
{
    return static_cast<int>(columnTexts(0).indexOf(presetText(preset))) + 1;
}

void PresetEditor::selectShownCamera()
{
    const int type = host().cameraType().value();
    if (type != CameraTypeState::Unset
        && (currentCameraNumber() != m_selectedCamera || type != m_selectedType))
        SelectCameraForType();
}

void PresetEditor::steer(const CameraCommand &command)
{
    selectShownCamera();
    if (!m_cameraCtrl)
        return;
    try {
        command(*m_cameraCtrl);
    } catch (...) {
        // Steering failures are never shown: the unit may be offline, the camera of no known
        // protocol; the person sees the camera not move.
    }
}

} // namespace configtool
