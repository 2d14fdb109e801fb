#pragma once

#include "core/base/ViewModel.h"

#include <QAbstractTableModel>
#include <QColor>

namespace puka::ui {

/// A read-only item model over a GridModel: the header row becomes the horizontal header and
/// body row r (grid row r + 1) becomes model row r. Cells are read from the flat vectors on
/// demand, so a grid of any size costs no per-cell objects.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(QObject* parent = nullptr);

    /// Replaces the whole grid in one model reset.
    void setGrid(GridModel grid);
    const GridModel& grid() const { return m_grid; }

    /// Changes one cell's text; grid row 0 is the header row.
    void setCellText(int gridRow, int column, const QString& text);
    /// Changes one body cell's background colour (grid row 1 or more); std::nullopt removes it.
    void setCellColour(int gridRow, int column, std::optional<Rgb> colour);

    /// The background of the fixed column's cells, drawn like the header.
    static QColor fixedCellColour() { return QColor(0xF1, 0xF4, 0xF9); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool isBodyCell(int gridRow, int column) const;

    GridModel m_grid;
};

/// The Qt alignment of a grid alignment code.
Qt::Alignment toQtAlignment(Align align);

} // namespace puka::ui
