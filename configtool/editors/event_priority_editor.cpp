#include "configtool/editors/event_priority_editor.h"

#include "configtool/editors/dispenser_events_page.h"
#include "configtool/editors/mgrid.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"

#include "platform/com_error.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace configtool {

namespace {

const QString kIdle = QStringLiteral("Idle");
constexpr int kMaxDispenserNumber = 48;
constexpr int kLowestPriority = 5;

} // namespace

EventPriorityEditor::EventPriorityEditor(OrvexConfigManager &manager, ToolHost &host,
                                         DispenserEventsPage &page)
    : GridEditor(manager, host, *page.GridDispenserEvents, page, page.BtnAddEvent), m_page(page),
      m_events(manager), m_eventPresets(manager)
{
    setPanelControls({page.CmbChooseEvent, page.SpinDispenserEventInitialPriority,
                      page.SpinDispenserEventRevisitPriority, page.CmbEventSelectDispenser,
                      page.BtnEventPreviousDispenser, page.BtnEventNextDispenser,
                      page.CmbEventEditPreset});
    connect(page.SpinDispenserEventInitialPriority, &QSpinBox::valueChanged, this,
            [this] { guard([this] { InitialPriorityChanged(); }); });
    connect(page.SpinDispenserEventRevisitPriority, &QSpinBox::valueChanged, this,
            [this] { guard([this] { RevisitPriorityChanged(); }); });
    // A person's choice only: the editor's own fills never write to the site.
    connect(page.CmbEventSelectDispenser, &QComboBox::activated, this,
            [this] { guard([this] { DispenserChanged(); }); });
    connect(page.CmbEventEditPreset, &QComboBox::activated, this,
            [this] { guard([this] { EventPresetChanged(); }); });
    connectSteps(*this, *page.BtnEventPreviousDispenser, *page.BtnEventNextDispenser,
                 *page.CmbEventSelectDispenser, [this] { guard([this] { DispenserChanged(); }); });
}

void EventPriorityEditor::Reload()
{
    if (m_busy)
        return;
    readChoiceLists();
    GridEditor::Reload();
}

void EventPriorityEditor::readChoiceLists()
{
    const auto data = manager().GetConfigData();
    if (!data)
        throw ComError(E_POINTER);
    std::shared_ptr<services::IDispenserData> dispensers;
    std::shared_ptr<services::ICameraData> cameras;
    ThrowIfFailed(data->RetrieveDispenser(&dispensers));
    ThrowIfFailed(data->RetrieveCamera(&cameras));
    m_dispenserNumbers = ReadDispenserNumbers(*dispensers);
    m_cameraChoices = ReadCameraChoices(*cameras);
}

void EventPriorityEditor::LoadDefaults()
{
    m_events.Reload();
    m_events.LoadDefaults();
}

void EventPriorityEditor::ClearAll()
{
    m_events.Reload();
    m_events.ClearAll();
}

void EventPriorityEditor::AfterSiteLoad()
{
    m_shownEvent = QStringLiteral("DEFAULT");
    m_shownDispenser = -1;
    m_eventPresets.Reload();
    m_eventPresets.SelectDispenser(0);
}

QStringList EventPriorityEditor::ColumnTitles()
{
    return {QStringLiteral("Dispenser Event"), QString(), QString()};
}

void EventPriorityEditor::FillChoiceCombo()
{
    QComboBox &combo = *m_page.CmbChooseEvent;
    combo.clear();
    const QStringList listed = columnTexts(0);
    for (const QString &name : manager().GetMetaData().GetEventNames())
        if (!listed.contains(name))
            combo.addItem(name);
    combo.setCurrentIndex(combo.count() > 0 ? 0 : -1);
}

void EventPriorityEditor::SelectRow(int)
{
    m_page.GrpSelectedEvent->show();
    m_page.GrpEventPriorities->show();
    m_page.GrpDispenserPresets->show();
    fillDispenserCombo();
    fillPresetCombo();
    ShowEventDetails();
}

void EventPriorityEditor::HideDetails()
{
    m_page.GrpSelectedEvent->hide();
    m_page.GrpEventPriorities->hide();
    m_page.GrpDispenserPresets->hide();
}

QString EventPriorityEditor::EmptyText()
{
    return QStringLiteral("No Events");
}

QString EventPriorityEditor::DeleteButtonName()
{
    return QStringLiteral("BtnDeleteEvent");
}

int EventPriorityEditor::MaxCount()
{
    return manager().GetMetaData().GetEventCount();
}

QString EventPriorityEditor::MaxCountMessage()
{
    return QStringLiteral("Already have the maximum of %1 Events").arg(MaxCount());
}

QStringList EventPriorityEditor::RowTexts()
{
    return {m_events.GetEventName(), QString(), QString()};
}

bool EventPriorityEditor::IsRowDeletable(int row)
{
    return grid().cell(0, row) != kIdle;
}

void EventPriorityEditor::CreateEntry()
{
    const QString name = m_page.CmbChooseEvent->currentText();
    m_events.AddEvent(name);
    m_events.SetPriority(name == kIdle ? kLowestPriority : 1);
    m_events.SetTransitionPriority(kLowestPriority);
}

bool EventPriorityEditor::DeleteEntry(int row)
{
    m_events.DeleteEvent(grid().cell(0, row));
    return true;
}

QString EventPriorityEditor::currentEventName() const
{
    return grid().cell(0, grid().gridRow());
}

void EventPriorityEditor::fillDispenserCombo()
{
    if (m_updating)
        return;
    m_updating = true;
    QComboBox &combo = *m_page.CmbEventSelectDispenser;
    combo.clear();
    for (int number : m_dispenserNumbers)
        if (number >= 1 && number <= kMaxDispenserNumber)
            combo.addItem(QString::number(number), number);
    selectComboData(combo, int(m_eventPresets.GetDispenserNumber()));
    m_updating = false;
}

void EventPriorityEditor::fillPresetCombo()
{
    QComboBox &combo = *m_page.CmbEventEditPreset;
    combo.clear();
    combo.addItem(QStringLiteral("No Preset"), cameraPresetData(0, 0));
    for (const CameraChoice &camera : m_cameraChoices)
        for (const PresetChoice &preset : camera.presets)
            combo.addItem(QStringLiteral("%1.%2 - %3")
                              .arg(camera.number)
                              .arg(preset.number)
                              .arg(preset.comment),
                          cameraPresetData(camera.number, preset.number));
    combo.setCurrentIndex(0);
}

void EventPriorityEditor::ShowEventDetails()
{
    const QString event = currentEventName();
    m_page.LblDispenserEventSelected->setText(event);
    m_events.SelectEvent(event);
    SetControlValue(m_page.SpinDispenserEventInitialPriority, m_events.GetPriority());
    SetControlValue(m_page.SpinDispenserEventRevisitPriority, m_events.GetTransitionPriority());

    QComboBox &dispensers = *m_page.CmbEventSelectDispenser;
    if (dispensers.count() == 0) {
        m_page.GrpDispenserPresets->hide();
        return;
    }
    m_page.GrpDispenserPresets->show();
    const int dispenser = dispensers.currentData().toInt();
    m_shownEvent = event;
    m_shownDispenser = dispenser;
    m_eventPresets.Reload();
    m_eventPresets.SelectDispenserEvent(static_cast<std::int16_t>(dispenser), event);
    QComboBox &presets = *m_page.CmbEventEditPreset;
    if (m_eventPresets.NoEntry())
        presets.setCurrentIndex(0);
    else
        selectComboData(presets, cameraPresetData(m_eventPresets.GetCameraNumber(),
                                                  m_eventPresets.GetPresetNumber()));
}

void EventPriorityEditor::InitialPriorityChanged()
{
    writePriority(m_page.SpinDispenserEventInitialPriority, &EventIterator::SetPriority);
}

void EventPriorityEditor::RevisitPriorityChanged()
{
    writePriority(m_page.SpinDispenserEventRevisitPriority, &EventIterator::SetTransitionPriority);
}

void EventPriorityEditor::writePriority(QSpinBox *spin, void (EventIterator::*set)(std::int16_t))
{
    if (m_busy || m_updating)
        return;
    const int priority = ReadClampedInt(spin, 1, 5);
    m_events.SelectEvent(currentEventName());
    (m_events.*set)(static_cast<std::int16_t>(priority));
}

void EventPriorityEditor::DispenserChanged()
{
    if (m_busy || m_updating)
        return;
    m_updating = true;
    const auto restore = qScopeGuard([this] { m_updating = false; });
    ShowEventDetails();
}

void EventPriorityEditor::EventPresetChanged()
{
    if (m_busy || m_updating)
        return;
    const QString event = currentEventName();
    const std::int16_t dispenser = m_eventPresets.GetDispenserNumber();
    m_eventPresets.SelectDispenserEvent(dispenser, event);
    const QVariant choice = m_page.CmbEventEditPreset->currentData();
    const int camera = cameraOfData(choice);
    const int preset = presetOfData(choice);
    if (m_page.CmbEventEditPreset->currentIndex() <= 0) {
        if (!m_eventPresets.NoEntry())
            m_eventPresets.DeleteEntry(dispenser, event);
        return;
    }
    if (m_eventPresets.NoEntry()) {
        m_eventPresets.AddEntry(dispenser, event, static_cast<std::int16_t>(preset),
                                static_cast<std::int16_t>(camera));
        return;
    }
    m_eventPresets.SetCameraNumber(static_cast<std::int16_t>(camera));
    m_eventPresets.SetPresetNumber(static_cast<std::int16_t>(preset));
}

} // namespace configtool
