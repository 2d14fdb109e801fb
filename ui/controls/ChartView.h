#pragma once

#include "core/base/ViewModel.h"

#include <QChartView>
#include <QColor>
#include <QImage>
#include <QList>

#include <optional>
#include <vector>

class QCategoryAxis;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QXYSeries;

namespace puka::ui {

/// A line chart over a ChartModel: categories 1..n along the bottom, each series on the primary
/// (left) or secondary (right) value axis.
///
/// An unset point (NaN) is a gap: the lines never join across it. Each contiguous run of set
/// points is drawn as a line series of its own, and a set point with no set neighbour, which no
/// line can show, is drawn as a dot. Beyond 64 runs in one series the further runs are drawn as
/// dots only, so that a pathological series cannot create thousands of chart items.
/// An axis limit left unset follows the data; limits given reversed (min above max, as an
/// empty build leaves them) count as unset, and equal limits are widened to one unit.
/// Series visibility, colours and the marker style belong to the view and survive setChart.
///
/// A line never gets more points than its plot has pixel columns: with more, each column keeps
/// its first, lowest, highest and last point, which draw the same picture (the line runs
/// through every point between them). Markers, drawn at every point, keep every point.
class ChartView : public QChartView {
    Q_OBJECT
public:
    /// The markers drawn at every point.
    enum class MarkerStyle {
        None,   ///< lines only
        Circle, ///< a filled circle in the series colour
        Ball,   ///< the shaded ball picture, tinted to the series colour
    };
    enum class Axis { Primary, Secondary };

    explicit ChartView(QWidget* parent = nullptr);

    /// Shows @p model in place of the data shown before; each drawn series' points are replaced in one call.
    void setChart(const ChartModel& model);
    /// The data as last set, with the limits as changed by setAxisLimits.
    const ChartModel& chartModel() const { return m_model; }

    int seriesCount() const { return static_cast<int>(m_plots.size()); }
    /// The number of set points of @p series that are drawn (hidden series included).
    int pointCount(int series) const;

    /// Draws every point of every line when @p on is false, as for comparing pictures.
    void setLineThinning(bool on);

    /**
     * The points of a line that draw it where the category range @p from to @p to spans the
     * pixels @p left to @p left + @p width: of each pixel column's points the first, the
     * lowest, the highest and the last, in their order. A line with few points to a column is
     * returned whole.
     */
    static QList<QPointF> pixelColumnPoints(const QList<QPointF>& line, double from, double to, double left,
                                            double width);
    /// The chart series that draw @p series: its lines (one per run of set points) and, when it has
    /// isolated points, the dot series last.
    QList<QXYSeries*> seriesParts(int series) const;

    /// Shows or hides a series; its data stay. A series hidden in the model stays hidden.
    void setSeriesVisible(int series, bool visible);
    bool isSeriesVisible(int series) const;
    void setSeriesColour(int series, const QColor& colour);
    QColor seriesColour(int series) const;

    /// Shows or hides a value axis with its scale; the series on it stay as they are.
    void setAxisVisible(Axis axis, bool visible);
    bool isAxisVisible(Axis axis) const;
    /// Changes an axis' limits; an unset limit follows the data.
    void setAxisLimits(Axis axis, std::optional<double> min, std::optional<double> max);
    void setAxisTitle(Axis axis, const QString& title);
    QValueAxis* valueAxis(Axis axis) const;
    QCategoryAxis* categoryAxis() const { return m_categoryAxis; }

    void setMarkerStyle(MarkerStyle style);
    MarkerStyle markerStyle() const { return m_markerStyle; }
    void setLegendVisible(bool visible);

    /// The chart as currently shown (hidden series and axes left out), at the widget's size.
    QPixmap grabPicture();
    /// Puts the chart's picture on the system clipboard and returns it.
    QPixmap copyToClipboard();

Q_SIGNALS:
    /// A click of the left mouse button anywhere on the chart.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // the QChart is owned for the view's life; panels hand over ChartModels instead
    using QChartView::setChart;

    /// One series of the model as drawn.
    struct Plot {
        QList<QLineSeries*> lines; ///< lines[0] always exists: it carries the legend entry
        QScatterSeries* dots = nullptr;
        QColor colour;
        bool shown = true;
        bool secondary = false;
    };

    void syncPlotCount(int count);
    /// Fills every plot from the model, for the pixel columns the plot has now.
    void fillPlots();
    /// Where the plot lies across the view, in pixels of the device: its left edge and width.
    /// Before the chart has been on screen, the screen's width, which no plot exceeds.
    std::pair<double, double> plotColumns() const;
    void fillPlot(Plot& plot, const ChartSeries& series);
    void attach(QXYSeries* series, bool secondary);
    QLineSeries* newLine(const Plot& plot);
    void applyStyle(Plot& plot);
    void applyVisibility();
    void applyAxes();
    void applyAxis(Axis axis);
    void updateCategoryLabels();
    QImage ballImage(const QColor& colour) const;
    bool plotVisible(int series) const;

    ChartModel m_model;
    std::vector<Plot> m_plots;
    QValueAxis* m_primaryAxis = nullptr;
    QValueAxis* m_secondaryAxis = nullptr;
    QCategoryAxis* m_categoryAxis = nullptr;
    bool m_primaryShown = true;
    bool m_secondaryShown = true;
    MarkerStyle m_markerStyle = MarkerStyle::None;
    QImage m_ballPicture;
    int m_labelledWidth = -1;
    bool m_thinning = true;
    bool m_laidOut = false; ///< the chart has been on screen, so its plot has a real place
    /// The plot's columns the lines were thinned for, while a line is thinned.
    std::optional<std::pair<double, double>> m_thinnedFor;
};

} // namespace puka::ui
