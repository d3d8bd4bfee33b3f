#pragma once
// The colour grid of the tool's tabs: a table whose cells the grid paints itself, each cell's
// background and font asked of two hooks, and whose title row is the table's header.
//
// Rows are counted as the tool's editors count them: row 0 is the fixed title row (shown as the
// header), data rows start at 1; there is no fixed column. The grid scrolls by whole rows, so
// the top visible row is always shown in full. Cells are never edited by the table itself: the
// editors lay their own controls over a cell. User-interface thread only.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QTableWidget>

#include <functional>

namespace configtool {

class Mgrid : public QTableWidget
{
    Q_OBJECT

public:
    // Font colour (invalid: keep), bold, italic and underline of a cell; the hook may change
    // each, and the style becomes exactly the returned flags.
    using SettingEvent = std::function<void(int row, int col, QColor &fontColor, bool &bold,
                                            bool &italic, bool &underline)>;
    using CellBackgroundEvent = std::function<void(int row, int col, QColor &background)>;

    // How one cell is painted: what the colours, patterns and hooks give it.
    struct CellLook
    {
        QBrush background;
        QColor textColor;
        QFont font;
    };

    static constexpr int FixedRows = 1;
    static constexpr int DefaultRowHeight = 20;

    explicit Mgrid(QWidget *parent = nullptr);

    [[nodiscard]] QColor BorderColor() const { return m_borderColor; }
    [[nodiscard]] QColor OddRowColor() const { return m_oddRowColor; }
    [[nodiscard]] QColor EvenRowColor() const { return m_evenRowColor; }
    void setBorderColor(const QColor &color);
    void setOddRowColor(const QColor &color);
    void setEvenRowColor(const QColor &color);
    // A pattern that is set wins over the hook and the colour of its kind of cell.
    void setBorderPattern(const QPixmap &pattern);
    void setOddRowPattern(const QPixmap &pattern);
    void setEvenRowPattern(const QPixmap &pattern);
    void setOnSetting(SettingEvent handler);
    void setOnCellBackground(CellBackgroundEvent handler);

    // The outer size that shows the title row and `rows` data rows in full, with every visible
    // column and, when it is always on, the vertical scroll bar.
    [[nodiscard]] QSize sizeForRows(int rows) const;

    // The whole grid as the editors see it: rows include the title row.
    [[nodiscard]] int gridRowCount() const { return rowCount() + FixedRows; }
    // Keeps at least one data row, as the placeholder row needs.
    void setGridRowCount(int rows);
    [[nodiscard]] QString cell(int col, int row) const;
    void setCell(int col, int row, const QString &text);
    // The current data row (0 when none) and column.
    [[nodiscard]] int gridRow() const;
    [[nodiscard]] int gridCol() const;
    void setGridRow(int row);
    void setGridCol(int col);
    // The first data row shown at the top.
    [[nodiscard]] int topRow() const;
    // Where the cell lies in the viewport; empty for the title row.
    [[nodiscard]] QRect cellRect(int col, int row) const;
    // The cell under a point of the viewport: false outside every data cell.
    bool cellAt(const QPoint &viewportPos, int *col, int *row) const;

    [[nodiscard]] CellLook cellLook(int col, int row) const;
    void paintCell(QPainter &painter, const QRect &rect, int col, int row) const;

signals:
    // After the table handled a key or a mouse release, as the tool's editors react to them.
    void keyUp(int key, Qt::KeyboardModifiers modifiers, const QString &text);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    [[nodiscard]] QBrush backgroundOf(int col, int row) const;
    void repaintAll();

    QColor m_borderColor;
    QColor m_oddRowColor;
    QColor m_evenRowColor;
    QPixmap m_borderPattern;
    QPixmap m_oddRowPattern;
    QPixmap m_evenRowPattern;
    SettingEvent m_onSetting;
    CellBackgroundEvent m_onCellBackground;
};

} // namespace configtool
