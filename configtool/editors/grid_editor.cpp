#include "configtool/editors/grid_editor.h"

#include "configtool/editors/mgrid.h"
#include "configtool/model/iterator.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

#include <exception>

namespace configtool {
namespace {

bool isActivatingKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Insert
        || (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z);
}

bool isTypedKey(int key)
{
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z);
}

QString controlText(QWidget *control)
{
    if (auto *spin = qobject_cast<QSpinBox *>(control))
        return QString::number(spin->value());
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText();
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return edit->text();
    return {};
}

QIcon deleteIcon()
{
    return QIcon::fromTheme(QStringLiteral("edit-delete"),
                            QApplication::style()->standardIcon(QStyle::SP_TrashIcon));
}

} // namespace

GridEditor::GridEditor(OrvexConfigManager &manager, ToolHost &host, Mgrid &grid, QWidget &tab,
                       QAbstractButton *addButton)
    : WidgetEditor(manager, host), m_grid(grid), m_tab(tab), m_addButton(addButton)
{
    connect(&m_grid, &Mgrid::keyUp, this,
            [this](int key, Qt::KeyboardModifiers modifiers, const QString &text) {
                guard([&] { GridKeyUp(key, modifiers, text); });
                m_grid.viewport()->update();
            });
    connect(&m_grid, &Mgrid::mouseUp, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos) {
                guard([&] { GridMouseUp(button, modifiers, pos); });
                m_grid.viewport()->update();
            });
    // A control left over a cell that scrolled away would edit the wrong row.
    auto scrolled = [this] {
        guard([this] {
            CommitCellEditor();
            placeDeleteButtons();
        });
    };
    connect(m_grid.verticalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
    connect(m_grid.horizontalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
    m_grid.installEventFilter(this);
    if (m_addButton)
        connect(m_addButton, &QAbstractButton::clicked, this, [this] { guard([this] { AddNew(); }); });
}

void GridEditor::QuickAdd()
{
    AddNew();
}

void GridEditor::DeleteCurrent()
{
    if (!m_busy)
        DeleteRow(nullptr);
}

void GridEditor::DisableEditing()
{
    m_grid.setEnabled(false);
    if (m_addButton)
        m_addButton->setEnabled(false);
    for (const auto &control : m_panelControls) {
        if (control)
            control->setEnabled(false);
    }
    DisableDeleteButtons();
    m_busy = true;
}

void GridEditor::EnableEditing()
{
    m_grid.setEnabled(true);
    if (m_addButton)
        m_addButton->setEnabled(true);
    for (const auto &control : m_panelControls) {
        if (control)
            control->setEnabled(true);
    }
    EnableDeleteButtons();
    m_busy = false;
}

void GridEditor::InitView()
{
    HideDetails();
    SetColumnTitles();
    ShowEmpty();
    FillChoiceCombo();
}

void GridEditor::AddNew()
{
    AddRow(false);
}

void GridEditor::Reload()
{
    if (m_busy)
        return;
    Iterator &records = iterator();
    records.Reload();
    const int count = records.Count();
    ShowEmpty();
    if (count < 1) {
        if (m_addButton)
            m_addButton->setEnabled(true);
    } else {
        records.First();
        m_grid.setGridRowCount(count + Mgrid::FixedRows);
        for (int row = Mgrid::FixedRows; !records.Eof() && row < m_grid.gridRowCount(); ++row) {
            const QStringList texts = RowTexts();
            for (int col = 0; col < m_grid.columnCount(); ++col)
                m_grid.setCell(col, row, texts.value(col));
            records.Next();
        }
        if (m_addButton)
            m_addButton->setEnabled(dataRowCount() < MaxCount());
    }
    FillChoiceCombo();
    m_grid.setGridCol(0);
    m_grid.setGridRow(Mgrid::FixedRows);
    LayoutDeleteButtons();
    if (IsEmpty())
        HideDetails();
    else
        SelectRow(m_grid.gridRow());
}

bool GridEditor::CanAdd()
{
    if (m_addButton)
        return !m_busy && m_addButton->isEnabled();
    return !m_busy;
}

bool GridEditor::CanDelete()
{
    return !m_busy && !IsEmpty();
}

bool GridEditor::IsRowDeletable(int)
{
    return true;
}

bool GridEditor::AddRow(bool quiet)
{
    if (m_busy)
        return false;
    CommitCellEditor();
    if (!IsEmpty() && dataRowCount() >= MaxCount()) {
        host().prompter().error(MaxCountMessage());
        return false;
    }
    QString message;
    if (!CanCreate(message)) {
        if (!quiet && !message.isEmpty())
            host().prompter().error(message);
        return false;
    }
    CreateEntry();
    Reload();
    const int last = m_grid.gridRowCount() - 1;
    m_grid.setGridRow(last);
    SelectRow(last);
    return true;
}

void GridEditor::DeleteRow(QObject *sender)
{
    if (m_busy)
        return;
    CommitCellEditor();
    // The placeholder row names no record.
    if (IsEmpty())
        return;
    const int row = sender ? rowOfDeleteButton(sender) : m_grid.gridRow();
    if (row < Mgrid::FixedRows || row >= m_grid.gridRowCount())
        return;
    try {
        QString message;
        if (!IsRowDeletable(row))
            return;
        if (!CheckDeletable(row, message)) {
            host().prompter().error(message);
            return;
        }
        const int remembered = m_grid.gridRow();
        if (!DeleteEntry(row))
            return;
        Reload();
        const int current = std::min(remembered, m_grid.gridRowCount() - 1);
        m_grid.setGridRow(current);
        if (IsEmpty())
            HideDetails();
        else
            SelectRow(current);
        manager().UpdateMenus();
    } catch (const std::exception &error) {
        host().prompter().error(QStringLiteral("Failed to delete row ")
                                + QString::fromUtf8(error.what()));
    }
}

bool GridEditor::IsEmpty()
{
    return m_grid.gridRowCount() == 2 && m_grid.cell(0, 1) == EmptyText();
}

void GridEditor::ShowEmpty()
{
    dropCellEditor();
    m_grid.setGridRowCount(2);
    m_grid.setCell(0, 1, EmptyText());
    for (int col = 1; col <= 3 && col < m_grid.columnCount(); ++col)
        m_grid.setCell(col, 1, QString());
    // The buttons stood beside rows that are gone.
    for (const auto &button : m_deleteButtons) {
        if (button)
            button->hide();
    }
    HideDetails();
}

void GridEditor::SetColumnTitles()
{
    dropCellEditor();
    const QStringList titles = ColumnTitles();
    m_grid.setColumnCount(static_cast<int>(titles.size()));
    for (int col = 0; col < titles.size(); ++col)
        m_grid.setCell(col, 0, titles.at(col));
    ShowEmpty();
}

void GridEditor::RefreshRow(int row)
{
    if (m_busy || iterator().Count() < 1)
        return;
    const QStringList texts = RowTexts();
    for (int col = 0; col < m_grid.columnCount(); ++col)
        m_grid.setCell(col, row, texts.value(col));
}

void GridEditor::CommitCellEditor()
{
    if (!m_cellControl)
        return;
    QWidget *control = m_cellControl;
    // Forgotten first: hiding the control moves the focus, which would commit it again.
    m_cellControl = nullptr;
    m_grid.setCell(m_cellCol, m_cellRow, controlText(control));
    ClearStatus(true);
    const bool hadFocus = control->hasFocus();
    control->hide();
    if (hadFocus && m_grid.isEnabled())
        m_grid.setFocus(Qt::OtherFocusReason);
}

void GridEditor::PlaceCellEditor(QWidget *control, int row, int column)
{
    if (m_cellControl && m_cellControl != control)
        CommitCellEditor();
    if (control->parentWidget() != m_grid.viewport())
        control->setParent(m_grid.viewport());
    const bool filtered
        = std::any_of(m_filteredControls.begin(), m_filteredControls.end(),
                      [control](const QPointer<QWidget> &seen) { return seen == control; });
    if (!filtered) {
        control->installEventFilter(this);
        m_filteredControls.emplace_back(control);
    }
    m_cellCol = column;
    m_cellRow = row;
    control->setGeometry(m_grid.cellRect(column, row));
    control->show();
    control->raise();
    control->setFocus(Qt::OtherFocusReason);
    m_cellControl = control;
}

bool GridEditor::CellEditorKeyUp(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Insert:
        m_grid.setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        m_grid.setFocus(Qt::OtherFocusReason);
        const int row = m_grid.gridRow() + (key == Qt::Key_PageUp ? -1 : 1);
        if (row >= Mgrid::FixedRows && row < m_grid.gridRowCount())
            m_grid.setGridRow(row);
        return true;
    }
    case Qt::Key_Home:
    case Qt::Key_End: {
        m_grid.setFocus(Qt::OtherFocusReason);
        const int col = m_grid.gridCol() + (key == Qt::Key_Home ? -1 : 1);
        if (col >= 0 && col < m_grid.columnCount())
            m_grid.setGridCol(col);
        return true;
    }
    default:
        return false;
    }
}

void GridEditor::CellEditorExit()
{
    CommitCellEditor();
}

void GridEditor::DisableDeleteButtons()
{
    for (const auto &button : m_deleteButtons) {
        if (button)
            button->setEnabled(false);
    }
}

void GridEditor::EnableDeleteButtons()
{
    for (const auto &button : m_deleteButtons) {
        if (button)
            button->setEnabled(IsRowDeletable(rowOfDeleteButton(button)));
    }
}

QToolButton *GridEditor::CreateDeleteButton(int top, int index)
{
    auto *button = new QToolButton(&m_tab);
    button->setObjectName(DeleteButtonName() + QString::number(index));
    button->setIcon(deleteIcon());
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    const int size = m_grid.verticalHeader()->defaultSectionSize();
    button->setGeometry(0, top, size, size);
    connect(button, &QToolButton::clicked, this, [this, button] {
        guard([this, button] { DeleteRow(button); });
    });
    m_deleteButtons.emplace_back(button);
    button->show();
    return button;
}

void GridEditor::LayoutDeleteButtons()
{
    placeDeleteButtons();
    manager().UpdateMenus();
}

void GridEditor::placeDeleteButtons()
{
    for (const auto &button : m_deleteButtons) {
        if (button)
            button->hide();
    }
    if (IsEmpty())
        return;
    const int clientHeight = m_grid.viewport()->height();
    std::size_t index = 0;
    for (int row = m_grid.topRow(); row < m_grid.gridRowCount(); ++row) {
        const QRect rect = m_grid.cellRect(0, row);
        // Only rows shown in full get a button.
        if (rect.isEmpty() || rect.top() + rect.height() > clientHeight)
            break;
        ++index;
        QToolButton *button
            = index <= m_deleteButtons.size() ? m_deleteButtons[index - 1].data() : nullptr;
        if (!button)
            button = CreateDeleteButton(rect.top(), static_cast<int>(index));
        positionDeleteButton(*button, row);
        button->setEnabled(!m_busy && IsRowDeletable(row));
        button->show();
        button->raise();
    }
}

void GridEditor::GridMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, const QPoint &pos)
{
    int col = 0;
    int row = 0;
    if (!m_grid.cellAt(pos, &col, &row))
        return;
    if (col == 0) {
        m_grid.setGridRow(row);
        if (!IsEmpty())
            SelectRow(row);
        return;
    }
    if (IsEmpty())
        return;
    ActivateCellEditor();
    SelectRow(row);
}

void GridEditor::GridKeyUp(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    if (IsEmpty())
        return;
    if (isActivatingKey(key)) {
        QWidget *control = ActivateCellEditor();
        // Typing on a row starts the edit with what was typed, in its own case.
        if (control && isTypedKey(key) && !(modifiers & Qt::ControlModifier) && !text.isEmpty()) {
            if (auto *edit = qobject_cast<QLineEdit *>(control))
                edit->selectAll();
            QKeyEvent typed(QEvent::KeyPress, key, modifiers, text);
            QCoreApplication::sendEvent(control, &typed);
        }
    }
    SelectRow(m_grid.gridRow());
}

int GridEditor::dataRowCount() const
{
    return m_grid.gridRowCount() - Mgrid::FixedRows;
}

int GridEditor::rowOfDeleteButton(const QObject *button)
{
    const QString prefix = DeleteButtonName();
    const QString name = button->objectName();
    if (!name.startsWith(prefix))
        return 0;
    return name.mid(prefix.size()).toInt() + m_grid.topRow() - 1;
}

QStringList GridEditor::columnTexts(int col)
{
    QStringList texts;
    if (IsEmpty())
        return texts;
    for (int row = Mgrid::FixedRows; row < m_grid.gridRowCount(); ++row)
        texts << m_grid.cell(col, row);
    return texts;
}

void GridEditor::setPanelControls(std::initializer_list<QWidget *> controls)
{
    m_panelControls.assign(controls.begin(), controls.end());
}

bool GridEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_grid) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move
            || event->type() == QEvent::Show)
            placeDeleteButtons();
        return false;
    }
    if (watched != m_cellControl)
        return false;
    if (event->type() == QEvent::FocusOut) {
        // A combo's own list and a switch to another window are no exit from the cell.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            guard([this] { CellEditorExit(); });
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        bool moved = false;
        guard([&] { moved = CellEditorKeyUp(static_cast<QKeyEvent *>(event)->key()); });
        return moved;
    }
    return false;
}

void GridEditor::dropCellEditor()
{
    if (QWidget *control = m_cellControl) {
        m_cellControl = nullptr;
        control->hide();
    }
    m_cellCol = -1;
    m_cellRow = -1;
}

void GridEditor::positionDeleteButton(QToolButton &button, int row) const
{
    const QRect rect = m_grid.cellRect(0, row);
    const QPoint rowTop = m_tab.mapFromGlobal(m_grid.viewport()->mapToGlobal(rect.topLeft()));
    const QPoint gridRight = m_tab.mapFromGlobal(m_grid.mapToGlobal(QPoint(m_grid.width(), 0)));
    const int size = rect.height();
    button.setGeometry(gridRight.x(), rowTop.y(), size, size);
}

} // namespace configtool
