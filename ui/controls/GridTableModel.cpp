#include "ui/controls/GridTableModel.h"

#include <QBrush>

namespace puka::ui {

Qt::Alignment toQtAlignment(Align align) {
    switch (align) {
    case Align::LeftCenter:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case Align::CenterCenter:
        return Qt::AlignCenter;
    case Align::RightCenter:
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

GridTableModel::GridTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridTableModel::setGrid(GridModel grid) {
    beginResetModel();
    m_grid = std::move(grid);
    endResetModel();
}

bool GridTableModel::isBodyCell(int gridRow, int column) const {
    return gridRow >= 1 && gridRow <= m_grid.bodyRows() && column >= 0 && column < m_grid.columnCount();
}

void GridTableModel::setCellText(int gridRow, int column, const QString& text) {
    if (gridRow == 0 && column >= 0 && column < m_grid.columnCount()) {
        m_grid.columns[static_cast<size_t>(column)].header = text;
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    if (!isBodyCell(gridRow, column))
        return;
    m_grid.setCell(gridRow - 1, column, text);
    const QModelIndex changed = index(gridRow - 1, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void GridTableModel::setCellColour(int gridRow, int column, std::optional<Rgb> colour) {
    if (!isBodyCell(gridRow, column))
        return;
    if (colour)
        m_grid.setColour(gridRow - 1, column, *colour);
    else
        m_grid.clearColour(gridRow - 1, column);
    const QModelIndex changed = index(gridRow - 1, column);
    Q_EMIT dataChanged(changed, changed, {Qt::BackgroundRole});
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_grid.bodyRows();
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_grid.columnCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_grid.cell(row, column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(toQtAlignment(m_grid.columns[static_cast<size_t>(column)].align));
    case Qt::BackgroundRole:
        if (const auto colour = m_grid.colour(row, column))
            return QBrush(QColor::fromRgb(*colour));
        if (column < m_grid.fixedColumns)
            return QBrush(fixedCellColour());
        return {};
    default:
        return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }
    if (section < 0 || section >= m_grid.columnCount())
        return {};
    const GridColumn& column = m_grid.columns[static_cast<size_t>(section)];
    switch (role) {
    case Qt::DisplayRole:
        return column.header;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(toQtAlignment(column.headerAlign));
    default:
        return {};
    }
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace puka::ui
