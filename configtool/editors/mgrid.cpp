#include "configtool/editors/mgrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace configtool {
namespace {

// Text sits two pixels in from the cell's top left corner.
constexpr int TextInset = 2;

class MgridDelegate : public QStyledItemDelegate
{
public:
    explicit MgridDelegate(Mgrid &grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        m_grid.paintCell(*painter, option.rect, index.column(), index.row() + Mgrid::FixedRows);
    }

private:
    Mgrid &m_grid;
};

// The title row: painted by the same rules as every other cell, as row 0.
class MgridHeader : public QHeaderView
{
public:
    explicit MgridHeader(Mgrid &grid) : QHeaderView(Qt::Horizontal, &grid), m_grid(grid) {}

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        painter->save();
        m_grid.paintCell(*painter, rect, logicalIndex, 0);
        // The grid lines of the title row, as the table draws them between data cells.
        painter->setPen(m_grid.palette().color(QPalette::Mid));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->restore();
    }

private:
    Mgrid &m_grid;
};

bool startsAnEdit(const QKeyEvent &event)
{
    const int key = event.key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Insert
        || (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)
        || (!event.text().isEmpty() && event.text().at(0).isPrint());
}

} // namespace

Mgrid::Mgrid(QWidget *parent)
    : QTableWidget(parent),
      m_borderColor(0xC0, 0xC0, 0xC0),
      m_oddRowColor(0x00, 0xFF, 0xFF),
      m_evenRowColor(0x00, 0xFF, 0x00)
{
    setFont(QFont(QStringLiteral("Arial"), 10));
    setItemDelegate(new MgridDelegate(*this));
    auto *header = new MgridHeader(*this);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    header->setFixedHeight(DefaultRowHeight);
    header->setMinimumSectionSize(0);
    setHorizontalHeader(header);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setRowCount(1);
    // The hooks may colour a whole row after the current cell, so every move repaints.
    connect(this, &QTableWidget::currentCellChanged, this, [this] { viewport()->update(); });
}

void Mgrid::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    repaintAll();
}

void Mgrid::setOddRowColor(const QColor &color)
{
    m_oddRowColor = color;
    repaintAll();
}

void Mgrid::setEvenRowColor(const QColor &color)
{
    m_evenRowColor = color;
    repaintAll();
}

void Mgrid::setBorderPattern(const QPixmap &pattern)
{
    m_borderPattern = pattern;
    repaintAll();
}

void Mgrid::setOddRowPattern(const QPixmap &pattern)
{
    m_oddRowPattern = pattern;
    repaintAll();
}

void Mgrid::setEvenRowPattern(const QPixmap &pattern)
{
    m_evenRowPattern = pattern;
    repaintAll();
}

void Mgrid::setOnSetting(SettingEvent handler)
{
    m_onSetting = std::move(handler);
    repaintAll();
}

void Mgrid::setOnCellBackground(CellBackgroundEvent handler)
{
    m_onCellBackground = std::move(handler);
    repaintAll();
}

QSize Mgrid::sizeForRows(int rows) const
{
    int width = 2 * frameWidth();
    for (int col = 0; col < columnCount(); ++col)
        width += isColumnHidden(col) ? 0 : columnWidth(col);
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        width += verticalScrollBar()->sizeHint().width();
    return {width, (rows + FixedRows) * DefaultRowHeight + 2 * frameWidth()};
}

void Mgrid::setGridRowCount(int rows)
{
    setRowCount(std::max(rows - FixedRows, 1));
}

QString Mgrid::cell(int col, int row) const
{
    const QTableWidgetItem *source
        = row < FixedRows ? horizontalHeaderItem(col) : item(row - FixedRows, col);
    return source ? source->text() : QString();
}

void Mgrid::setCell(int col, int row, const QString &text)
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= gridRowCount())
        return;
    if (row < FixedRows) {
        setHorizontalHeaderItem(col, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem *existing = item(row - FixedRows, col)) {
        existing->setText(text);
        return;
    }
    setItem(row - FixedRows, col, new QTableWidgetItem(text));
}

int Mgrid::gridRow() const
{
    return currentRow() < 0 ? 0 : currentRow() + FixedRows;
}

int Mgrid::gridCol() const
{
    return std::max(currentColumn(), 0);
}

void Mgrid::setGridRow(int row)
{
    if (row < FixedRows || row >= gridRowCount())
        return;
    setCurrentCell(row - FixedRows, gridCol(), QItemSelectionModel::NoUpdate);
}

void Mgrid::setGridCol(int col)
{
    if (col < 0 || col >= columnCount())
        return;
    setCurrentCell(std::max(currentRow(), 0), col, QItemSelectionModel::NoUpdate);
}

int Mgrid::topRow() const
{
    const int first = rowAt(0);
    return (first < 0 ? 0 : first) + FixedRows;
}

QRect Mgrid::cellRect(int col, int row) const
{
    if (row < FixedRows)
        return {};
    return visualRect(model()->index(row - FixedRows, col));
}

bool Mgrid::cellAt(const QPoint &viewportPos, int *col, int *row) const
{
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return false;
    *col = index.column();
    *row = index.row() + FixedRows;
    return true;
}

QBrush Mgrid::backgroundOf(int col, int row) const
{
    const bool fixed = row < FixedRows;
    const QPixmap &pattern
        = fixed ? m_borderPattern : (row % 2 == 1 ? m_oddRowPattern : m_evenRowPattern);
    if (!pattern.isNull())
        return QBrush(pattern);
    if (m_onCellBackground) {
        QColor color = fixed ? m_borderColor : (row % 2 == 1 ? m_oddRowColor : m_evenRowColor);
        m_onCellBackground(row, col, color);
        return QBrush(color);
    }
    return QBrush(fixed ? m_borderColor : (row % 2 == 1 ? m_oddRowColor : m_evenRowColor));
}

Mgrid::CellLook Mgrid::cellLook(int col, int row) const
{
    CellLook look{backgroundOf(col, row), Qt::black, font()};
    if (m_onSetting) {
        QColor color;
        bool bold = look.font.bold();
        bool italic = look.font.italic();
        bool underline = look.font.underline();
        m_onSetting(row, col, color, bold, italic, underline);
        if (color.isValid())
            look.textColor = color;
        look.font.setBold(bold);
        look.font.setItalic(italic);
        look.font.setUnderline(underline);
    }
    return look;
}

void Mgrid::paintCell(QPainter &painter, const QRect &rect, int col, int row) const
{
    const CellLook look = cellLook(col, row);
    painter.save();
    painter.fillRect(rect, look.background);
    painter.setFont(look.font);
    painter.setPen(look.textColor);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(rect.adjusted(TextInset, TextInset, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     cell(col, row));
    painter.restore();
}

void Mgrid::keyPressEvent(QKeyEvent *event)
{
    // A key that starts an edit must not reach the table, whose type-ahead search would move
    // the current row before the edit opens on it.
    if (!startsAnEdit(*event))
        QTableWidget::keyPressEvent(event);
    else
        event->accept();
    emit keyUp(event->key(), event->modifiers(), event->text());
}

void Mgrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableWidget::mouseReleaseEvent(event);
    emit mouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void Mgrid::repaintAll()
{
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

} // namespace configtool
