#pragma once
// The "Dispensers" tab: which dispenser loop and poll address each dispenser (1..48) answers
// on. A loop exists when the device list has its "Dispenser Loop n" driver and holds at most 16
// dispensers; a (loop, address) pair used twice, or a loop that does not exist, is coloured and
// named in the status panel while editing, and a duplicate pair stops a save.
//
// The editor wires its page's controls to its handlers itself. User-interface thread only.

#include "configtool/editors/grid_editor.h"
#include "configtool/model/dispenser_iterator.h"

namespace configtool {

class DispenserPage;

class DispenserEditor : public GridEditor
{
    Q_OBJECT

public:
    static constexpr int MaxDispensers = 48;
    static constexpr int DispensersPerLoop = 16;

    DispenserEditor(OrvexConfigManager &manager, ToolHost &host, DispenserPage &page);

    void LoadDefaults() override;
    void ClearAll() override;
    // False, with the Dispensers tab in front, when two dispensers share a loop and address.
    bool Validate() override;
    void AfterSiteLoad() override;

    QStringList ColumnTitles() override;
    // The numbers 1..48 that no row shows; the one after the last created when it is free.
    void FillChoiceCombo() override;
    void SelectRow(int) override {}
    void HideDetails() override {}
    QWidget *ActivateCellEditor() override;
    QString EmptyText() override;
    QString DeleteButtonName() override;
    int MaxCount() override;
    QString MaxCountMessage() override;
    QStringList RowTexts() override;
    bool CanCreate(QString &message) override;
    // On the first free (loop, address) after the last row's, stepping through the loops that
    // exist.
    void CreateEntry() override;
    bool CheckDeletable(int row, QString &message) override;
    bool DeleteEntry(int row) override;

    void LoopChanged(QWidget *control);
    void PollAddressChanged(QWidget *control);
    // Red, and why, when another row (not the edited one, when asked) has that loop and the
    // control's address.
    void CheckPollAddress(int loop, QWidget *control, bool skipEditedRow);
    // Red, and why, when the control's loop has no driver.
    void CheckLoopExists(QWidget *control, bool skipEditedRow);

    // The logical number that a row shows.
    [[nodiscard]] int numberOfRow(int row) const;

protected:
    Iterator &iterator() override { return m_dispensers; }

private:
    void SetLoopSpin(int row);
    [[nodiscard]] int lowestLoop() const;
    [[nodiscard]] int highestLoop() const;

    DispenserPage &m_page;
    DispenserIterator m_dispensers;
    int m_lastCreated = 0;
};

} // namespace configtool
