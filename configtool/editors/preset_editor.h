#pragma once
// The "Presets" tab: the presets of the camera chosen in its camera list, their comments, and
// the live steering of that camera through the service's camera control: moves in eight
// directions, zoom, focus, iris, auto-pan, auto-iris, the camera's menu, and going to, setting
// and clearing a preset. The preset limit is MaxPreset of the current camera type, which the
// editor follows (SelectCameraForType) every time the type is set.
//
// Camera commands always go to the camera the tab shows: when that is not the camera this
// editor last selected on the service, it is selected for the current type first. A failing
// camera command is never shown (the unit may be offline or the camera of no known protocol);
// the site is changed regardless. The steering buttons stay usable while editing is off.
//
// The editor wires its page's controls to its handlers itself and keeps the camera control
// from construction on. User-interface thread only.

#include "configtool/editors/grid_editor.h"
#include "configtool/model/camera_iterator.h"
#include "configtool/model/preset_iterator.h"

#include "interfaces/services/icamera_ctrl.h"

#include <functional>
#include <memory>

namespace configtool {

class PresetPage;

class PresetEditor : public GridEditor
{
    Q_OBJECT

public:
    PresetEditor(OrvexConfigManager &manager, ToolHost &host, PresetPage &page);

    void AddNew() override {}
    bool CanAdd() override { return false; }
    void LoadDefaults() override;
    void ClearAll() override;
    bool Validate() override { return true; }
    void AfterSiteLoad() override;
    bool CanSwitchCamera() override;

    QStringList ColumnTitles() override;
    // The site's cameras 1..10; the iterator's camera selected, else the first.
    void FillChoiceCombo() override;
    void SelectRow(int row) override;
    void HideDetails() override;
    QWidget *ActivateCellEditor() override;
    QString EmptyText() override;
    QString DeleteButtonName() override;
    int MaxCount() override;
    QString MaxCountMessage() override;
    QStringList RowTexts() override;
    bool CanCreate(QString &message) override;
    void CreateEntry() override;
    bool CheckDeletable(int, QString &) override { return true; }
    bool DeleteEntry(int row) override;

    void CommentChanged();
    void CameraChanged();
    void ShowPresetComment();
    void GotoPreset();
    void SetPresetNow();
    void ClearPresetNow();
    void SelectCameraForType();

    // Speeds of the track bar's position 1..10.
    [[nodiscard]] static int panTiltSpeed(int position);
    [[nodiscard]] static int lensSpeed(int position);

    // The camera the tab shows: its list's number, 1 when the list is empty.
    [[nodiscard]] int currentCameraNumber() const;
    // The preset number a row shows; -1 for the placeholder row.
    [[nodiscard]] int presetOfRow(int row);

protected:
    Iterator &iterator() override { return m_presets; }

private:
    using CameraCommand = std::function<HRESULT(services::ICameraCtrl &)>;

    // Sends a command to the shown camera; a failure is dropped.
    void steer(const CameraCommand &command);
    void selectShownCamera();
    void connectSteering();
    int rowOfPreset(int preset);

    PresetPage &m_page;
    PresetIterator m_presets;
    // Lists the site's cameras in one walk of the camera table.
    CameraIterator m_cameraList;
    std::shared_ptr<services::ICameraCtrl> m_cameraCtrl;
    // What this editor last selected on the service: camera number and type.
    int m_selectedCamera = 0;
    int m_selectedType = -1;
};

} // namespace configtool
