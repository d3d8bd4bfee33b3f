#pragma once
// The "POS" tab: the site's points of sale (at most three, each needing its "POS n" device),
// their event priority (1..5) and the camera and preset each shows. A POS with a preset counts
// as movable; "No Preset" makes it fixed where its camera stands.
//
// The choice list offers POS 1 to 10, although only POS 1 to 3 can ever be created (the
// devices stop the rest): the unit's tables are laid out for ten. The camera list is read from
// the site when the tab reloads (one walk) and refilled from that copy at every row click. The
// editor wires its page's controls itself; programmatic fills never write to the site.
// User-interface thread only.

#include "configtool/editors/camera_choices.h"
#include "configtool/editors/grid_editor.h"
#include "configtool/model/pos_iterator.h"

namespace configtool {

class POSPage;

class POSEditor : public GridEditor
{
    Q_OBJECT

public:
    static constexpr int MaxPOSes = 3;
    static constexpr int OfferedPOSes = 10;

    POSEditor(OrvexConfigManager &manager, ToolHost &host, POSPage &page);

    void QuickAdd() override {}
    void Reload() override;
    void LoadDefaults() override;
    void ClearAll() override;
    bool Validate() override { return true; }
    void AfterSiteLoad() override {}

    QStringList ColumnTitles() override;
    void FillChoiceCombo() override;
    void SelectRow(int row) override;
    void HideDetails() override;
    QWidget *ActivateCellEditor() override { return nullptr; }
    QString EmptyText() override;
    QString DeleteButtonName() override;
    int MaxCount() override { return MaxPOSes; }
    QString MaxCountMessage() override;
    QStringList RowTexts() override;
    bool CanCreate(QString &message) override;
    void CreateEntry() override;
    bool CheckDeletable(int, QString &) override { return true; }
    bool DeleteEntry(int row) override;

    // The handlers of the detail controls; each does nothing while busy or updating, and then
    // shows the POS again.
    void POSPriorityChanged();
    void POSCameraChanged();
    void POSPresetChanged();

    // The POS number of a row ("POS 2" is 2).
    [[nodiscard]] int numberOfRow(int row) const;

private:
    [[nodiscard]] const CameraChoice *cameraChoice(int number) const;
    // Selects the POS of the current row; false on the placeholder row.
    bool selectCurrentPOS();
    void showAgain();

    POSPage &m_page;
    POSIterator m_points;
    std::vector<CameraChoice> m_cameraChoices;

protected:
    Iterator &iterator() override { return m_points; }
};

} // namespace configtool
