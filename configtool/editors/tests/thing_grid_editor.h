#pragma once
// A grid editor over a list in memory, so the framework is tested without a site: "things"
// with a name, a number (edited in place by a spin) and a note (edited in place by a line).

#include "configtool/editors/arrow_spin_box.h"
#include "configtool/editors/grid_editor.h"
#include "configtool/editors/main_grid_style.h"
#include "configtool/editors/mgrid.h"
#include "configtool/model/iterator.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/testing/recording_host.h"

#include "platform/com_error.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <set>
#include <vector>

namespace configtool::testing {

struct Thing
{
    QString name;
    int number = 0;
    QString note;
};

class ThingIterator : public Iterator
{
public:
    using Iterator::Iterator;

    void Reload() override { ++reloads; }
    std::int16_t Count() override { return static_cast<std::int16_t>(things.size()); }
    void First() override { m_current = things.empty() ? 0 : 1; }
    void Next() override
    {
        m_current = m_current < 1 || m_current >= Count() ? 0 : static_cast<std::int16_t>(m_current + 1);
    }
    void LoadDefaults() override {}
    void ClearAll() override { things.clear(); }

    [[nodiscard]] const Thing &current() const { return things.at(static_cast<std::size_t>(m_current - 1)); }

    std::vector<Thing> things;
    int reloads = 0;
};

class ThingPage : public QWidget
{
public:
    ThingPage()
    {
        resize(400, 300);
        GridThings = new Mgrid(this);
        GridThings->setObjectName(QStringLiteral("GridThings"));
        GridThings->setGeometry(8, 8, 300, 200);
        applyMainGridStyle(*GridThings);
        BtnAddThing = new QPushButton(QStringLiteral("New Thing"), this);
        BtnAddThing->setObjectName(QStringLiteral("BtnAddThing"));
        BtnAddThing->setGeometry(8, 220, 100, 25);
        SpnThingNumber = new ArrowSpinBox(GridThings->viewport());
        SpnThingNumber->setObjectName(QStringLiteral("SpnThingNumber"));
        SpnThingNumber->setRange(1, 99);
        SpnThingNumber->hide();
        TxtThingNote = new QLineEdit(GridThings->viewport());
        TxtThingNote->setObjectName(QStringLiteral("TxtThingNote"));
        TxtThingNote->hide();
    }

    Mgrid *GridThings;
    QPushButton *BtnAddThing;
    ArrowSpinBox *SpnThingNumber;
    QLineEdit *TxtThingNote;
};

class ThingGridEditor : public GridEditor
{
public:
    ThingGridEditor(OrvexConfigManager &manager, ToolHost &host, ThingPage &page)
        : GridEditor(manager, host, *page.GridThings, page, page.BtnAddThing),
          m_page(page),
          m_iterator(manager)
    {
        setPanelControls({page.SpnThingNumber, page.TxtThingNote});
    }

    QStringList ColumnTitles() override
    {
        return {QStringLiteral("Thing"), QStringLiteral("Number"), QStringLiteral("Note")};
    }
    void FillChoiceCombo() override { ++choiceFills; }
    void SelectRow(int row) override { selectedRows.push_back(row); }
    void HideDetails() override { ++detailsHidden; }
    QWidget *ActivateCellEditor() override
    {
        const int row = grid().gridRow();
        switch (grid().gridCol()) {
        case 1:
            SetControlValue(m_page.SpnThingNumber, grid().cell(1, row).toInt());
            PlaceCellEditor(m_page.SpnThingNumber, row, 1);
            return m_page.SpnThingNumber;
        case 2:
            m_page.TxtThingNote->setText(grid().cell(2, row));
            PlaceCellEditor(m_page.TxtThingNote, row, 2);
            return m_page.TxtThingNote;
        default:
            return nullptr;
        }
    }
    QString EmptyText() override { return QStringLiteral("No Things"); }
    QString DeleteButtonName() override { return QStringLiteral("BtnDeleteThing"); }
    int MaxCount() override { return maxCount; }
    QString MaxCountMessage() override { return QStringLiteral("Already have the maximum of things"); }
    QStringList RowTexts() override
    {
        const Thing &thing = m_iterator.current();
        return {thing.name, QString::number(thing.number), thing.note};
    }
    bool IsRowDeletable(int row) override { return !undeletable.count(grid().cell(0, row)); }
    bool CanCreate(QString &message) override
    {
        message = refusal;
        return refusal.isNull();
    }
    void CreateEntry() override
    {
        const int number = static_cast<int>(m_iterator.things.size()) + 1;
        m_iterator.things.push_back({QStringLiteral("Thing %1").arg(number), number, {}});
    }
    bool CheckDeletable(int row, QString &message) override
    {
        message = deleteRefusal;
        checkedRows.push_back(row);
        return deleteRefusal.isNull();
    }
    bool DeleteEntry(int row) override
    {
        if (deleteError)
            throw ComError(E_FAIL);
        const QString name = grid().cell(0, row);
        std::erase_if(m_iterator.things, [&](const Thing &thing) { return thing.name == name; });
        return true;
    }
    void LoadDefaults() override {}
    void ClearAll() override {}
    bool Validate() override { return true; }
    void AfterSiteLoad() override {}

    void fill(int count)
    {
        for (int n = 1; n <= count; ++n)
            m_iterator.things.push_back({QStringLiteral("Thing %1").arg(n), n, QStringLiteral("note %1").arg(n)});
    }

    ThingIterator &things() { return m_iterator; }

    int maxCount = 50;
    QString refusal;
    QString deleteRefusal;
    bool deleteError = false;
    std::set<QString> undeletable;
    int choiceFills = 0;
    int detailsHidden = 0;
    std::vector<int> selectedRows;
    std::vector<int> checkedRows;

protected:
    Iterator &iterator() override { return m_iterator; }

private:
    ThingPage &m_page;
    ThingIterator m_iterator;
};

// A tool with one thing editor on a shown page, driven as the manager drives it.
struct ThingTool
{
    ThingTool()
        : manager(metaData, host),
          editor(static_cast<ThingGridEditor &>(
              manager.RegisterEditor(std::make_unique<ThingGridEditor>(manager, host, page))))
    {
        host.current = &editor;
        editor.DisableEditing();
        editor.InitView();
        page.show();
    }

    void open(int count)
    {
        editor.fill(count);
        editor.EnableEditing();
        editor.Reload();
    }

    RecordingHost host;
    OrvexMetaData metaData;
    // The page outlives the editor, as the main window's pages outlive the manager's editors.
    ThingPage page;
    OrvexConfigManager manager;
    ThingGridEditor &editor;
};

} // namespace configtool::testing
