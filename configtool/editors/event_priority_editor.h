#pragma once
// The "Dispenser Events" tab: which of the metadata's dispenser events the site uses, their
// initial and revisit priorities (1..5), and per dispenser the camera preset an event shows.
// "Idle" cannot be deleted; a new "Idle" starts at priority 5, any other event at 1 (revisit 5
// for both). Deleting an event deletes its presets on every dispenser.
//
// The dispenser and preset lists are read from the site when the tab reloads (one walk of each
// table) and refilled from that copy at every row click. The editor wires its page's controls
// itself; programmatic fills never write to the site. User-interface thread only.

#include "configtool/editors/camera_choices.h"
#include "configtool/editors/grid_editor.h"
#include "configtool/model/event_iterator.h"
#include "configtool/model/event_preset_iterator.h"

class QSpinBox;

namespace configtool {

class DispenserEventsPage;

class EventPriorityEditor : public GridEditor
{
    Q_OBJECT

public:
    EventPriorityEditor(OrvexConfigManager &manager, ToolHost &host, DispenserEventsPage &page);

    void Reload() override;
    void LoadDefaults() override;
    void ClearAll() override;
    bool Validate() override { return true; }
    void AfterSiteLoad() override;

    QStringList ColumnTitles() override;
    // The metadata's events that no row lists.
    void FillChoiceCombo() override;
    void SelectRow(int row) override;
    void HideDetails() override;
    QWidget *ActivateCellEditor() override { return nullptr; }
    QString EmptyText() override;
    QString DeleteButtonName() override;
    int MaxCount() override;
    QString MaxCountMessage() override;
    QStringList RowTexts() override;
    bool IsRowDeletable(int row) override;
    bool CanCreate(QString &) override { return true; }
    void CreateEntry() override;
    bool CheckDeletable(int, QString &) override { return true; }
    bool DeleteEntry(int row) override;

    // The handlers of the detail controls; each does nothing while busy or updating.
    void InitialPriorityChanged();
    void RevisitPriorityChanged();
    void DispenserChanged();
    void EventPresetChanged();
    // The selected event's name, priorities and, on the chosen dispenser, its preset.
    void ShowEventDetails();

    // What the detail panel shows: the event and dispenser last shown ("DEFAULT" and -1 after a
    // site load).
    [[nodiscard]] const QString &shownEvent() const { return m_shownEvent; }
    [[nodiscard]] int shownDispenser() const { return m_shownDispenser; }

protected:
    Iterator &iterator() override { return m_events; }

private:
    [[nodiscard]] QString currentEventName() const;
    // The spin's priority, held to 1..5, to the selected event.
    void writePriority(QSpinBox *spin, void (EventIterator::*set)(std::int16_t));
    void readChoiceLists();
    void fillDispenserCombo();
    void fillPresetCombo();

    DispenserEventsPage &m_page;
    EventIterator m_events;
    EventPresetIterator m_eventPresets;
    std::set<int> m_dispenserNumbers;
    std::vector<CameraChoice> m_cameraChoices;
    QString m_shownEvent = QStringLiteral("DEFAULT");
    int m_shownDispenser = -1;
};

} // namespace configtool
