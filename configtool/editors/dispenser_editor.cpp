#include "configtool/editors/dispenser_editor.h"

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/dispenser_page.h"
#include "configtool/editors/mgrid.h"
#include "configtool/model/prompter.h"

#include <QComboBox>
#include <QPushButton>

#include <set>
#include <utility>
#include <vector>

namespace configtool {
namespace {

constexpr int LoopColumn = 1;
constexpr int AddressColumn = 2;
constexpr int LoopCount = 3;
constexpr int AddressCount = 16;

QString dispenserText(int number)
{
    return QStringLiteral("Dispenser %1").arg(number);
}

} // namespace

DispenserEditor::DispenserEditor(OrvexConfigManager &manager, ToolHost &host, DispenserPage &page)
    : GridEditor(manager, host, *page.GridDispensers, page, page.BtnAddDispenser),
      m_page(page),
      m_dispensers(manager)
{
    setPanelControls({page.CmbChooseDispenser, page.SpinDispenserLoop, page.SpinDispenserPollAddress});
    connect(page.SpinDispenserLoop, &QSpinBox::valueChanged, this,
            [this] { guard([this] { LoopChanged(m_page.SpinDispenserLoop); }); });
    connect(page.SpinDispenserPollAddress, &QSpinBox::valueChanged, this,
            [this] { guard([this] { PollAddressChanged(m_page.SpinDispenserPollAddress); }); });
}

void DispenserEditor::LoadDefaults()
{
    m_dispensers.Reload();
    m_dispensers.LoadDefaults();
}

void DispenserEditor::ClearAll()
{
    m_dispensers.Reload();
    m_dispensers.ClearAll();
}

bool DispenserEditor::Validate()
{
    // Read from the site, not the grid: the grid is only refilled when its tab is shown, and
    // may still hold the rows of the site before.
    m_dispensers.Reload();
    std::vector<std::pair<std::int16_t, std::int16_t>> taken;
    for (m_dispensers.First(); !m_dispensers.Eof(); m_dispensers.Next())
        taken.emplace_back(m_dispensers.GetLoop(), m_dispensers.GetAddress());
    if (const auto *slot = firstRepeated(taken)) {
        host().makeActivePage(*this);
        host().prompter().error(QStringLiteral("Have a duplicate poll address ")
                                + QString::number(slot->second));
        return false;
    }
    return true;
}

void DispenserEditor::AfterSiteLoad()
{
    m_lastCreated = 0;
}

QStringList DispenserEditor::ColumnTitles()
{
    return {QStringLiteral("Dispenser"), QStringLiteral("Loop"), QStringLiteral("Polling Address")};
}

void DispenserEditor::FillChoiceCombo()
{
    QComboBox &combo = *m_page.CmbChooseDispenser;
    const QStringList listed = columnTexts(0);
    combo.clear();
    for (int number = 1; number <= MaxDispensers; ++number) {
        if (!listed.contains(dispenserText(number)))
            combo.addItem(dispenserText(number), number);
    }
    combo.setCurrentIndex(0);
    m_page.BtnAddDispenser->setEnabled(combo.count() > 0 && !m_busy);
    const int next = combo.findData(m_lastCreated + 1);
    if (next >= 0)
        combo.setCurrentIndex(next);
}

QWidget *DispenserEditor::ActivateCellEditor()
{
    const int row = grid().gridRow();
    switch (grid().gridCol()) {
    case LoopColumn:
        SetLoopSpin(row);
        return m_page.SpinDispenserLoop;
    case AddressColumn:
        SetControlValue(m_page.SpinDispenserPollAddress, grid().cell(AddressColumn, row).toInt());
        PlaceCellEditor(m_page.SpinDispenserPollAddress, row, AddressColumn);
        CheckPollAddress(grid().cell(LoopColumn, row).toInt(), m_page.SpinDispenserPollAddress, true);
        return m_page.SpinDispenserPollAddress;
    default:
        return nullptr;
    }
}

void DispenserEditor::SetLoopSpin(int row)
{
    ArrowSpinBox &spin = *m_page.SpinDispenserLoop;
    const int lowest = lowestLoop();
    const int highest = highestLoop();
    const int loop = grid().cell(LoopColumn, row).toInt();
    m_updating = true;
    spin.setRange(lowest, highest);
    spin.setValue(loop >= lowest && loop <= highest ? loop : lowest);
    m_page.SpinDispenserPollAddress->setValue(grid().cell(AddressColumn, row).toInt());
    m_updating = false;
    PlaceCellEditor(&spin, row, LoopColumn);
    // The field keeps its colour from the last edit; it must tell about this row's loop.
    CheckLoopExists(&spin, true);
}

int DispenserEditor::lowestLoop() const
{
    for (int loop = 1; loop <= LoopCount; ++loop) {
        if (m_dispensers.LoopDeviceExists(loop))
            return loop;
    }
    return 1;
}

int DispenserEditor::highestLoop() const
{
    for (int loop = LoopCount; loop >= 1; --loop) {
        if (m_dispensers.LoopDeviceExists(loop))
            return loop;
    }
    return 1;
}

QString DispenserEditor::EmptyText()
{
    return QStringLiteral("No Dispensers");
}

QString DispenserEditor::DeleteButtonName()
{
    return QStringLiteral("BtnDeleteDispenser");
}

int DispenserEditor::MaxCount()
{
    return MaxDispensers;
}

QString DispenserEditor::MaxCountMessage()
{
    return QStringLiteral("Already have the maximum of %1 dispensers").arg(MaxCount());
}

QStringList DispenserEditor::RowTexts()
{
    return {dispenserText(m_dispensers.GetNumber()), QString::number(m_dispensers.GetLoop()),
            QString::number(m_dispensers.GetAddress())};
}

bool DispenserEditor::CanCreate(QString &message)
{
    if (m_dispensers.NoLoopDevice()) {
        message = QStringLiteral("Create a dispenser loop first");
        return false;
    }
    if (IsEmpty())
        return true;
    int loops = 0;
    for (int loop = 1; loop <= LoopCount; ++loop)
        loops += m_dispensers.LoopDeviceExists(loop) ? 1 : 0;
    if (dataRowCount() < DispensersPerLoop * loops)
        return true;
    message = QStringLiteral("Create another dispenser loop first");
    return false;
}

void DispenserEditor::CreateEntry()
{
    const int number = m_page.CmbChooseDispenser->currentData().toInt();
    std::set<std::pair<int, int>> held;
    if (!IsEmpty()) {
        for (int row = 1; row < grid().gridRowCount(); ++row)
            held.emplace(grid().cell(LoopColumn, row).toInt(), grid().cell(AddressColumn, row).toInt());
    }
    const int last = grid().gridRowCount() - 1;
    const std::pair<int, int> start
        = IsEmpty() ? std::pair{LoopCount, AddressCount}
                    : std::pair{grid().cell(LoopColumn, last).toInt(),
                                grid().cell(AddressColumn, last).toInt()};
    std::pair<int, int> slot = start;
    for (;;) {
        if (++slot.second > AddressCount) {
            slot.second = 1;
            if (++slot.first > LoopCount)
                slot.first = 1;
        }
        if (slot == start)
            break;
        if (m_dispensers.LoopDeviceExists(slot.first) && !held.count(slot))
            break;
    }
    m_dispensers.AddDispenser(static_cast<std::int16_t>(number));
    m_dispensers.SetLoop(static_cast<std::int16_t>(slot.first));
    m_dispensers.SetAddress(static_cast<std::int16_t>(slot.second));
    m_dispensers.SetCardTerminalAddress(0);
    m_lastCreated = number;
}

bool DispenserEditor::CheckDeletable(int, QString &)
{
    return true;
}

bool DispenserEditor::DeleteEntry(int row)
{
    m_dispensers.DeleteDispenser(static_cast<std::int16_t>(numberOfRow(row)));
    return true;
}

int DispenserEditor::numberOfRow(int row) const
{
    return grid().cell(0, row).mid(9).trimmed().toInt();
}

void DispenserEditor::LoopChanged(QWidget *control)
{
    if (m_busy || m_updating)
        return;
    const int loop = ReadClampedInt(control, lowestLoop(), highestLoop());
    const int row = grid().gridRow();
    m_dispensers.SelectDispenser(static_cast<std::int16_t>(numberOfRow(row)));
    m_dispensers.SetLoop(static_cast<std::int16_t>(loop));
    CheckPollAddress(loop, m_page.SpinDispenserPollAddress, true);
    CheckLoopExists(m_page.SpinDispenserLoop, true);
    RefreshRow(row);
}

void DispenserEditor::PollAddressChanged(QWidget *control)
{
    if (m_busy || m_updating)
        return;
    const int row = grid().gridRow();
    const int loop = grid().cell(LoopColumn, row).toInt();
    const int address = ReadClampedInt(control, 1, AddressCount);
    m_dispensers.SelectDispenser(static_cast<std::int16_t>(numberOfRow(row)));
    m_dispensers.SetAddress(static_cast<std::int16_t>(address));
    CheckPollAddress(loop, control, true);
    RefreshRow(row);
}

void DispenserEditor::CheckPollAddress(int loop, QWidget *control, bool skipEditedRow)
{
    const int address = ReadClampedInt(control, 1, AddressCount);
    const int edited = grid().gridRow();
    for (int row = 1; row < grid().gridRowCount() && !IsEmpty(); ++row) {
        if (skipEditedRow && row == edited)
            continue;
        if (grid().cell(LoopColumn, row) == QString::number(loop)
            && grid().cell(AddressColumn, row) == QString::number(address)) {
            ShowStatus(true, QStringLiteral("Poll Address %1 on loop %2 is already allocated to "
                                            "Dispenser %3")
                                 .arg(address)
                                 .arg(loop)
                                 .arg(numberOfRow(row)));
            SetControlColor(control, ErrorColor);
            return;
        }
    }
    SetControlColor(control, windowColor());
    ClearStatus(true);
}

void DispenserEditor::CheckLoopExists(QWidget *control, bool)
{
    const auto *spin = qobject_cast<const QSpinBox *>(control);
    const int loop = spin ? spin->value() : 0;
    if (m_dispensers.LoopDeviceExists(loop)) {
        SetControlColor(control, windowColor());
        return;
    }
    ShowStatus(true, QStringLiteral("Dispenser Loop %1 does not exist").arg(loop));
    SetControlColor(control, ErrorColor);
}

} // namespace configtool
