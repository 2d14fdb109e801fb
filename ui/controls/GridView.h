#pragma once

#include "ui/controls/GridTableModel.h"

#include <QTableView>

namespace puka::ui {

/// A list grid: a read-only table over a GridModel whose header row is the table's header and
/// whose fixed column (fixedColumns = 1) stays in place when the grid scrolls sideways.
/// Rows are counted as the grid counts them: row 0 is the header row, body row r is grid row r + 1.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    /// Shows @p grid in place of everything shown before (one model reset) and scrolls to its topRow.
    void setModel(GridModel grid);
    /// Shows @p grid in place of the grid shown, as a rebuild from changed files does: the
    /// current cell stays while its row exists, and so does the scroll position the user chose;
    /// a grid the user has not scrolled goes where @p grid wants to be (its topRow).
    void updateModel(GridModel grid);
    /// The grid as shown, including single cells changed since setModel.
    const GridModel& model() const { return m_model->grid(); }
    /// The item model under the view, for code that needs Qt's model interface.
    GridTableModel* tableModel() const { return m_model; }

    /// Rows including the header row, as the grid counts them.
    int rows() const { return m_model->grid().bodyRows() + 1; }
    int columns() const { return m_model->grid().columnCount(); }
    /// A cell's text; grid row 0 gives the header text.
    QString cellText(int gridRow, int column) const;
    /// Changes one cell's text; grid row 0 changes a header text.
    void setCellText(int gridRow, int column, const QString& text);
    /// Changes one body cell's background; std::nullopt removes its colour.
    void setCellColour(int gridRow, int column, std::optional<Rgb> colour);

    /// Scrolls so that @p gridRow is the first visible row, as far as the scroll range allows.
    /// Before the grid is laid out the request is kept and applied once its size is known.
    void scrollToRow(int gridRow);
    /// The first (even partly) visible grid row, 1 or more; 0 when the grid has no body rows.
    int topRow() const;

    /// The current grid row (1 or more), or 0 when no body row is current.
    int currentRow() const;
    /// The current column, or -1 when no cell is current.
    int currentColumn() const;
    /// Makes a body cell current and highlights its row.
    void setCurrentCell(int gridRow, int column);

Q_SIGNALS:
    /// A click on a cell; a click on the header row reports grid row 0.
    void cellClicked(int gridRow, int column);
    void cellDoubleClicked(int gridRow, int column);

protected:
    void updateGeometries() override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // the item model is fixed for the view's life; panels hand over GridModels instead
    using QTableView::setModel;

    void applyLayout();
    void updateFrozenColumn();
    void applyPendingTopRow();
    bool frozenActive() const;

    GridTableModel* m_model = nullptr;
    QTableView* m_frozen = nullptr;
    int m_pendingTopRow = -1;
};

} // namespace puka::ui
