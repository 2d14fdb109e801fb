#pragma once

#include "core/base/TextBuffer.h"

#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace puka {

/// An RGB colour, 0xRRGGBB.
using Rgb = std::uint32_t;

inline constexpr Rgb rgb(int r, int g, int b) {
    return (static_cast<Rgb>(r) << 16) | (static_cast<Rgb>(g) << 8) | static_cast<Rgb>(b);
}

/// Cell alignment codes of the grids.
enum class Align {
    LeftCenter = 1,   ///< left, vertically centred
    CenterCenter = 4, ///< centred
    RightCenter = 7,  ///< right, vertically centred
};

/// The colours of a weight difference, shared by every list that shows one.
namespace differencecolour {
inline constexpr Rgb kUp = rgb(255, 192, 192);
inline constexpr Rgb kSame = rgb(255, 255, 192);
inline constexpr Rgb kDown = rgb(192, 255, 192);
} // namespace differencecolour

struct DifferenceMark {
    QString arrow;
    Rgb colour;
};
/// The arrow and colour for a difference by its sign as shown with one decimal:
/// a difference that shows as 0.0 is no change.
DifferenceMark differenceMarkShown(float difference);
/// The arrow and colour by the exact sign of the difference.
DifferenceMark differenceMarkExact(float difference);

struct GridColumn {
    QString header;
    int widthTwips = 1000;
    Align align = Align::RightCenter;
    Align headerAlign = Align::CenterCenter;
};

/// The body rows of a grid whose cell texts are made when they are asked for: a list of a
/// hundred thousand records keeps its numbers, and a view asks only for the rows it shows.
class GridRows {
public:
    virtual ~GridRows() = default;
    virtual int count() const = 0;
    /// Appends the text of body row @p row (from 0), column @p column, to @p out.
    virtual void appendText(int row, int column, TextBuffer* out) const = 0;
    /// The background of a body cell, or nothing.
    virtual std::optional<Rgb> colour(int row, int column) const {
        Q_UNUSED(row)
        Q_UNUSED(column)
        return std::nullopt;
    }
    QString text(int row, int column) const {
        TextBuffer out;
        appendText(row, column, &out);
        return out.toString();
    }
};

/// A list grid as a panel shows it: row 0 is the header row (the column headers). The body
/// rows are either texts kept in the grid or made on demand by GridRows.
struct GridModel {
    QString name;
    int fixedColumns = 0;
    double fontPt = 9;
    std::vector<GridColumn> columns;
    /// The first visible row the panel scrolls to, or 0.
    int topRow = 0;

    int columnCount() const { return static_cast<int>(columns.size()); }
    int bodyRows() const;
    /// The text of a body cell (body row r from 0 is grid row r + 1).
    QString cell(int bodyRow, int column) const;
    /// Appends the text of a body cell to @p out: a printer of every row makes no text of its own.
    void appendCell(int bodyRow, int column, TextBuffer* out) const;
    /// The background of a body cell, or nothing.
    std::optional<Rgb> colour(int bodyRow, int column) const;
    /// Changes the text of a body cell.
    void setCell(int bodyRow, int column, const QString& text);
    /// Sets the background of a body cell.
    void setColour(int bodyRow, int column, Rgb colour);
    /// Removes the background of a body cell.
    void clearColour(int bodyRow, int column);

    /// Appends an empty body row of kept texts and returns its index (from 0).
    int addRow();
    /// Appends @p count empty body rows of kept texts at once.
    void addRows(int count);
    /// Reserves room for @p rows body rows of kept texts.
    void reserve(int rows);
    /// Removes every body row.
    void clearRows();
    /// Makes the body rows on demand from @p rows, in place of any kept texts.
    void setRows(std::shared_ptr<const GridRows> rows);
    /// True when the body rows are made on demand.
    bool madeOnDemand() const { return m_rows != nullptr; }
    /// Every cell text, row by row: for comparing two grids whatever holds their rows.
    std::vector<QString> texts() const;

private:
    size_t at(int bodyRow, int column) const { return static_cast<size_t>(bodyRow) * columns.size() + column; }

    /// The kept body texts, row-major.
    std::vector<QString> m_cells;
    /// Background colours of kept body cells, row-major like the texts; 0 means none (a set
    /// colour always has its alpha byte). Cells past its end have none.
    std::vector<std::uint32_t> m_colours;
    std::shared_ptr<const GridRows> m_rows;
    /// Cells of on-demand rows changed after the build (a comment saved on the diary), by index.
    std::map<size_t, QString> m_changedTexts;
    std::map<size_t, std::uint32_t> m_changedColours;
};

/// A series of a line chart: one value per category, NaN where no point was written.
struct ChartSeries {
    QString name;
    bool secondaryAxis = false;
    std::vector<double> points;
    bool visible = true;
};

struct AxisLimits {
    std::optional<double> min;
    std::optional<double> max;
    bool visible = true;
};

/// A line chart: categories along the horizontal axis, series over them.
struct ChartModel {
    QString name;
    QStringList categoryLabels; ///< optional texts of the categories (dates), may be empty
    std::vector<ChartSeries> series;
    AxisLimits primary;
    AxisLimits secondary;

    int categoryCount() const { return series.empty() ? 0 : static_cast<int>(series.front().points.size()); }
    static double unset() { return std::nan(""); }
};

/// Everything one panel shows, as plain data: what the widgets paint and the report prints.
struct ViewModel {
    QString view;
    std::vector<GridModel> grids;
    std::vector<std::pair<QString, QString>> labels;
    std::vector<ChartModel> charts;
    QString face; ///< the one visible face picture, empty for views without one

    const GridModel* grid(const QString& name) const;
    const ChartModel* chart(const QString& name) const;
    std::optional<QString> label(const QString& name) const;
};

} // namespace puka
