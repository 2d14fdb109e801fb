#pragma once

#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdint>
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
namespace diffcolour {
inline constexpr Rgb kUp = rgb(255, 192, 192);
inline constexpr Rgb kSame = rgb(255, 255, 192);
inline constexpr Rgb kDown = rgb(192, 255, 192);
} // namespace diffcolour

struct DiffMark {
    QString arrow;
    Rgb colour;
};
/// The arrow and colour for a difference by its sign as shown with one decimal:
/// a difference that shows as 0.0 is no change.
DiffMark diffMarkShown(float difference);
/// The arrow and colour by the exact sign of the difference.
DiffMark diffMarkExact(float difference);

struct GridColumn {
    QString header;
    int widthTwips = 1000;
    Align align = Align::RightCenter;
    Align headerAlign = Align::CenterCenter;
};

/// A list grid as a panel shows it: row 0 is the header row (the column headers).
struct GridModel {
    QString name;
    int fixedCols = 0;
    double fontPt = 9;
    std::vector<GridColumn> columns;
    /// The body rows' cell texts, row-major; body row r (from 0) is grid row r + 1.
    std::vector<QString> cells;
    /// Background colours of body cells, row-major like cells; 0 means none (an explicit
    /// colour always has its alpha byte set, see setColour). Cells past its end have none:
    /// it stays empty until the first colour is set.
    std::vector<std::uint32_t> colours;
    /// The first visible row the panel scrolls to, or 0.
    int topRow = 0;

    int columnCount() const { return static_cast<int>(columns.size()); }
    int bodyRows() const { return columns.empty() ? 0 : static_cast<int>(cells.size() / columns.size()); }
    /// Appends an empty body row and returns its index (from 0).
    int addRow();
    /// Appends @p count empty body rows at once.
    void addRows(int count);
    QString& cell(int bodyRow, int col) { return cells[static_cast<size_t>(bodyRow) * columns.size() + col]; }
    const QString& cell(int bodyRow, int col) const {
        return cells[static_cast<size_t>(bodyRow) * columns.size() + col];
    }
    void setColour(int bodyRow, int col, Rgb colour) {
        if (colours.size() < cells.size())
            colours.resize(cells.size(), 0);
        colours[static_cast<size_t>(bodyRow) * columns.size() + col] = 0xFF000000u | colour;
    }
    std::optional<Rgb> colour(int bodyRow, int col) const {
        const size_t at = static_cast<size_t>(bodyRow) * columns.size() + col;
        const std::uint32_t c = at < colours.size() ? colours[at] : 0;
        return c ? std::optional<Rgb>(c & 0xFFFFFFu) : std::nullopt;
    }
    /// Reserves room for @p rows body rows.
    void reserve(int rows);
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
