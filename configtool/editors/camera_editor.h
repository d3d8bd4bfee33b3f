#pragma once
// The "Cameras" tab: the site's cameras, numbered 1..10, added from a number field once the
// site has a camera driver. Deleting a camera that has presets asks first; its presets and
// every dispenser entry naming it go with it.
//
// The editor wires its page's controls to its handlers itself. User-interface thread only.

#include "configtool/editors/grid_editor.h"
#include "configtool/model/camera_iterator.h"

namespace configtool {

class CameraPage;

class CameraEditor : public GridEditor
{
    Q_OBJECT

public:
    static constexpr int MaxCameras = 10;

    CameraEditor(OrvexConfigManager &manager, ToolHost &host, CameraPage &page);

    void LoadDefaults() override;
    void ClearAll() override;
    bool Validate() override { return true; }
    void AfterSiteLoad() override {}

    QStringList ColumnTitles() override;
    // The lowest camera number that no row shows.
    void FillChoiceCombo() override;
    void SelectRow(int) override {}
    void HideDetails() override {}
    QWidget *ActivateCellEditor() override { return nullptr; }
    QString EmptyText() override;
    QString DeleteButtonName() override;
    int MaxCount() override { return MaxCameras; }
    QString MaxCountMessage() override;
    QStringList RowTexts() override;
    bool CanCreate(QString &message) override;
    void CreateEntry() override;
    bool CheckDeletable(int, QString &) override { return true; }
    // False when the person keeps a camera that has presets.
    bool DeleteEntry(int row) override;

    [[nodiscard]] int numberOfRow(int row) const;

protected:
    Iterator &iterator() override { return m_cameras; }

private:
    [[nodiscard]] bool isListed(int number);

    CameraPage &m_page;
    CameraIterator m_cameras;
};

} // namespace configtool
