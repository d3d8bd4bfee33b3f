#pragma once
// The editor of a tab that shows its records in a colour grid: an add panel, one delete button
// beside each fully visible row, a detail panel for the selected row and in-place editing of
// cells. Six tabs derive from it and fill its slots; it drives them through the site's iterator
// that each of them makes.
//
// The grid's rows are counted with its title row: data rows start at 1. An empty grid shows one
// placeholder row whose first cell is EmptyText. The in-place controls are the tab's own named
// controls, children of the grid's viewport, laid over the cell and committed into it when they
// lose the focus. The delete buttons are children of the tab, beside the grid's right edge,
// named DeleteButtonName followed by 1, 2, ... from the top visible row, and follow the grid
// when it scrolls or changes size.
//
// The editor must be destroyed before its tab (the manager's editors before the main window's
// pages). Every handler that a control runs goes through guard(); errors of the iterator raise
// ComError out of the slots, for the caller's guard. User-interface thread only.

#include "configtool/editors/widget_editor.h"

#include <QPointer>
#include <QStringList>

#include <algorithm>
#include <vector>

class QAbstractButton;
class QToolButton;

namespace configtool {

class Iterator;
class Mgrid;

class GridEditor : public WidgetEditor
{
    Q_OBJECT

public:
    // The grid and the tab belong to the editor's page; the add button may be null.
    GridEditor(OrvexConfigManager &manager, ToolHost &host, Mgrid &grid, QWidget &tab,
               QAbstractButton *addButton);

    void QuickAdd() override;
    void DeleteCurrent() override;
    // Grid, add button, panel controls and delete buttons off; busy.
    void DisableEditing() override;
    void InitView() override;
    void AddNew() override;
    void Reload() override;
    void EnableEditing() override;
    bool CanAdd() override;
    bool CanDelete() override;
    void ShowEmpty() override;

    // The slots each grid tab fills, in this order.
    virtual QStringList ColumnTitles() = 0;
    virtual void FillChoiceCombo() = 0;
    virtual void SelectRow(int row) = 0;
    virtual void HideDetails() = 0;
    // Shows the in-place control of the current cell (through PlaceCellEditor); null for a
    // column that is not edited in place.
    virtual QWidget *ActivateCellEditor() = 0;
    virtual QString EmptyText() = 0;
    virtual QString DeleteButtonName() = 0;
    virtual int MaxCount() = 0;
    virtual QString MaxCountMessage() = 0;
    // Cell texts of the iterator's current record, one per column.
    virtual QStringList RowTexts() = 0;
    virtual bool IsRowDeletable(int row);
    // Whether the add panel's record may be created; else the reason (empty: say nothing).
    virtual bool CanCreate(QString &message) = 0;
    virtual void CreateEntry() = 0;
    virtual bool CheckDeletable(int row, QString &message) = 0;
    // Deletes the row's record; false when it stays (a person cancelled).
    virtual bool DeleteEntry(int row) = 0;
    virtual void LayoutDeleteButtons();
    virtual void GridMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                             const QPoint &pos);
    virtual void GridKeyUp(int key, Qt::KeyboardModifiers modifiers, const QString &text);

    // Adds the add panel's record; quiet keeps a refusal of CanCreate unsaid.
    bool AddRow(bool quiet);
    // Deletes the row beside a delete button, or the current row when the sender is null.
    void DeleteRow(QObject *sender);
    [[nodiscard]] bool IsEmpty();
    void SetColumnTitles();
    // Writes the iterator's current record into the row.
    void RefreshRow(int row);
    void CommitCellEditor();
    // Lays the control over the cell, shows and focuses it.
    void PlaceCellEditor(QWidget *control, int row, int column);
    // A key of the in-place control that moves the edit; true when it was one.
    bool CellEditorKeyUp(int key);
    void CellEditorExit();
    void DisableDeleteButtons();
    void EnableDeleteButtons();
    QToolButton *CreateDeleteButton(int top, int index);

    [[nodiscard]] Mgrid &grid() const { return m_grid; }
    [[nodiscard]] QWidget &tab() const { return m_tab; }
    [[nodiscard]] QAbstractButton *addButton() const { return m_addButton; }
    // The in-place control now shown, or null.
    [[nodiscard]] QWidget *cellControl() const { return m_cellControl; }
    // Number of data rows, the placeholder row included.
    [[nodiscard]] int dataRowCount() const;
    // The row a delete button stands beside.
    [[nodiscard]] int rowOfDeleteButton(const QObject *button);
    // The texts of a column, row 1 first; none for the placeholder row.
    [[nodiscard]] QStringList columnTexts(int col);

protected:
    virtual Iterator &iterator() = 0;
    // The first value that stands more than once, or null.
    template <typename Value>
    static const Value *firstRepeated(const std::vector<Value> &values)
    {
        for (const Value &value : values) {
            if (std::count(values.begin(), values.end(), value) > 1)
                return &value;
        }
        return nullptr;
    }
    // The add panel's and detail panel's controls, switched with the grid.
    void setPanelControls(std::initializer_list<QWidget *> controls);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Hides the in-place control without writing it: its row is gone.
    void dropCellEditor();
    // Lays the delete buttons beside the rows shown in full.
    void placeDeleteButtons();
    void positionDeleteButton(QToolButton &button, int row) const;

    Mgrid &m_grid;
    QWidget &m_tab;
    QAbstractButton *m_addButton;
    std::vector<QPointer<QWidget>> m_panelControls;
    std::vector<QPointer<QToolButton>> m_deleteButtons;
    std::vector<QPointer<QWidget>> m_filteredControls;
    int m_cellCol = -1;
    int m_cellRow = -1;
    QPointer<QWidget> m_cellControl;
};

} // namespace configtool
