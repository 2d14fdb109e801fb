#include "ui/controls/ChartView.h"

#include "ui/controls/UiFont.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QClipboard>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QHash>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QScatterSeries>
#include <QScreen>
#include <QSvgRenderer>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstring>

// The pictures are compiled into the ui library and must be registered by hand.
static void registerChartPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace puka::ui {
namespace {

constexpr int kMaxLines = 64;
constexpr int kSmoothPointLimit = 6000;
constexpr qreal kLineWidth = 2.0;
constexpr qreal kCircleSize = 6.0;
constexpr qreal kBallSize = 12.0;
constexpr qreal kDotSize = 6.0;
constexpr int kBallPixels = 48;

const QColor kText(0x44, 0x4E, 0x5E);
const QColor kGrid(0xE6, 0xEA, 0xF0);
const QColor kAxisLine(0xB8, 0xC2, 0xCF);

QColor defaultColour(int index) {
    static const QColor colours[] = {QColor(0x3D, 0x7F, 0xD9), QColor(0xE8, 0x5D, 0x4F), QColor(0xF0, 0x9A, 0x36),
                                     QColor(0x4D, 0xAA, 0x6A), QColor(0x8E, 0x6C, 0xC8)};
    return colours[static_cast<size_t>(index) % std::size(colours)];
}

// The contiguous runs of set points, as chart points at x = category number.
std::vector<QList<QPointF>> runsOf(const std::vector<double>& points) {
    std::vector<QList<QPointF>> runs;
    bool inRun = false;
    for (size_t i = 0; i < points.size(); ++i) {
        const double y = points[i];
        if (!std::isfinite(y)) {
            inRun = false;
            continue;
        }
        if (!inRun)
            runs.emplace_back();
        inRun = true;
        runs.back().append(QPointF(static_cast<double>(i + 1), y));
    }
    return runs;
}

// The round step nearest to @p raw: 1, 2 or 5 times a power of ten.
double niceStep(double raw) {
    if (!(raw > 0))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double best = power;
    for (double f : {2.0, 5.0, 10.0})
        if (std::fabs(std::log(f * power / raw)) < std::fabs(std::log(best / raw)))
            best = f * power;
    return best;
}

int decimalsOf(double step) {
    for (int d = 0; d < 4; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6)
            return d;
    }
    return 4;
}

std::pair<double, double> dataRange(const ChartModel& model, bool secondary) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    for (const ChartSeries& s : model.series) {
        if (s.secondaryAxis != secondary)
            continue;
        for (double v : s.points) {
            if (!std::isfinite(v))
                continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    return {lo, hi};
}

// The range an axis shows: set limits as given, unset ones from the data, never empty or reversed.
std::pair<double, double> axisRange(const AxisLimits& limits, std::pair<double, double> data) {
    std::optional<double> min = limits.min;
    std::optional<double> max = limits.max;
    // reversed limits (what a build leaves when it listed nothing) mean no usable range: follow the data
    if (min && max && *min > *max) {
        min.reset();
        max.reset();
    }
    const bool hasData = std::isfinite(data.first);
    if (!min && !max) {
        if (!hasData)
            return {0, 1};
        if (data.first == data.second)
            return {std::floor(data.first) - 1, std::floor(data.first) + 1};
        const double step = niceStep((data.second - data.first) / 5);
        return {std::floor(data.first / step) * step, std::ceil(data.second / step) * step};
    }
    if (min && !max)
        max = hasData && data.second > *min ? std::ceil(data.second) : *min + 1;
    if (max && !min)
        min = hasData && data.first < *max ? std::floor(data.first) : *max - 1;
    if (*min == *max)
        max = *min + 1;
    return {*min, *max};
}

void styleAxis(QAbstractAxis* axis) {
    axis->setLabelsFont(uiFont(8.5));
    axis->setLabelsColor(kText);
    axis->setTitleFont(uiFont(8.5));
    axis->setTitleBrush(kText);
    axis->setLinePenColor(kAxisLine);
    axis->setGridLineColor(kGrid);
    axis->setShadesVisible(false);
    axis->setMinorGridLineVisible(false);
}

} // namespace

ChartView::ChartView(QWidget* parent) : QChartView(parent) {
    registerChartPictures();
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    // a chart answers the mouse only: the Tab key passes it by
    setFocusPolicy(Qt::NoFocus);

    auto* chart = new QChart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundBrush(QColor(0xFB, 0xFC, 0xFE));
    chart->setPlotAreaBackgroundVisible(true);
    chart->setMargins(QMargins(6, 4, 6, 4));
    // the chart's white fills the whole view instead of floating in a grey frame
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setFont(uiFont(9));
    chart->legend()->setLabelColor(kText);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
    QChartView::setChart(chart);

    m_categoryAxis = new QCategoryAxis();
    m_categoryAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_primaryAxis = new QValueAxis();
    m_secondaryAxis = new QValueAxis();
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(m_categoryAxis), static_cast<QAbstractAxis*>(m_primaryAxis),
                                static_cast<QAbstractAxis*>(m_secondaryAxis)})
        styleAxis(axis);
    // two sets of grid lines over one plot would not line up; the primary axis draws them
    m_secondaryAxis->setGridLineVisible(false);
    chart->addAxis(m_categoryAxis, Qt::AlignBottom);
    chart->addAxis(m_primaryAxis, Qt::AlignLeft);
    chart->addAxis(m_secondaryAxis, Qt::AlignRight);
    for (QValueAxis* axis : {m_primaryAxis, m_secondaryAxis})
        axis->setTickType(QValueAxis::TicksDynamic);

    QSvgRenderer svg(QStringLiteral(":/pictures/marker/ball.svg"));
    m_ballPicture = QImage(kBallPixels, kBallPixels, QImage::Format_ARGB32_Premultiplied);
    m_ballPicture.fill(Qt::transparent);
    if (svg.isValid()) {
        QPainter painter(&m_ballPicture);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    // labels are spaced by the room the plot has, which is known only after a layout
    connect(
        chart, &QChart::plotAreaChanged, this,
        [this](const QRectF& area) {
            if (static_cast<int>(area.width()) != m_labelledWidth)
                updateCategoryLabels();
            // thinned lines are thinned again for the columns the plot has now
            if (m_thinnedFor && plotColumns() != *m_thinnedFor)
                fillPlots();
        },
        Qt::QueuedConnection);
    setChart(ChartModel{});
}

namespace {

// True when @p a and @p b draw the same lines on the same axes: their visibility may differ.
bool sameData(const ChartModel& a, const ChartModel& b) {
    if (a.series.size() != b.series.size() || a.categoryLabels != b.categoryLabels || a.primary.min != b.primary.min ||
        a.primary.max != b.primary.max || a.secondary.min != b.secondary.min || a.secondary.max != b.secondary.max)
        return false;
    for (size_t i = 0; i < a.series.size(); ++i) {
        const ChartSeries& s = a.series[i];
        const ChartSeries& t = b.series[i];
        // the points as bits: an unset point (NaN) equals an unset point
        if (s.name != t.name || s.secondaryAxis != t.secondaryAxis || s.points.size() != t.points.size() ||
            (!s.points.empty() && std::memcmp(s.points.data(), t.points.data(), s.points.size() * sizeof(double)) != 0))
            return false;
    }
    return true;
}

} // namespace

void ChartView::setChart(const ChartModel& model) {
    // the same lines again, shown otherwise at most: only what is shown changes
    if (sameData(model, m_model)) {
        m_model.primary.visible = model.primary.visible;
        m_model.secondary.visible = model.secondary.visible;
        for (size_t i = 0; i < model.series.size(); ++i)
            m_model.series[i].visible = model.series[i].visible;
        applyVisibility();
        return;
    }
    m_model = model;
    syncPlotCount(static_cast<int>(model.series.size()));
    fillPlots();
    int points = 0;
    for (const ChartSeries& series : model.series)
        points += static_cast<int>(series.points.size());
    // smoothing tens of thousands of segments costs about a second per paint, and with far
    // more points than pixels the lines are a dense band where smoothing shows nothing
    setRenderHint(QPainter::Antialiasing, points <= kSmoothPointLimit);
    applyAxes();
    updateCategoryLabels();
    for (Plot& plot : m_plots)
        applyStyle(plot);
    applyVisibility();
}

void ChartView::syncPlotCount(int count) {
    while (static_cast<int>(m_plots.size()) > count) {
        Plot& plot = m_plots.back();
        for (QLineSeries* line : plot.lines) {
            chart()->removeSeries(line);
            delete line;
        }
        if (plot.dots) {
            chart()->removeSeries(plot.dots);
            delete plot.dots;
        }
        m_plots.pop_back();
    }
    while (static_cast<int>(m_plots.size()) < count) {
        Plot plot;
        plot.colour = defaultColour(static_cast<int>(m_plots.size()));
        plot.lines.append(newLine(plot));
        m_plots.push_back(plot);
    }
}

QLineSeries* ChartView::newLine(const Plot& plot) {
    auto* line = new QLineSeries();
    chart()->addSeries(line);
    attach(line, plot.secondary);
    return line;
}

void ChartView::attach(QXYSeries* series, bool secondary) {
    for (QAbstractAxis* axis : series->attachedAxes())
        series->detachAxis(axis);
    series->attachAxis(m_categoryAxis);
    series->attachAxis(secondary ? m_secondaryAxis : m_primaryAxis);
}

void ChartView::fillPlots() {
    m_thinnedFor.reset();
    for (size_t i = 0; i < m_model.series.size() && i < m_plots.size(); ++i)
        fillPlot(m_plots[i], m_model.series[i]);
}

void ChartView::setLineThinning(bool on) {
    m_thinning = on;
    fillPlots();
}

std::pair<double, double> ChartView::plotColumns() const {
    const qreal ratio = devicePixelRatioF();
    // the chart fills the view: its plot's place in the scene is its place on screen, and a
    // hidden chart keeps the place it had when it was shown
    const QRectF plot = chart()->plotArea();
    if (m_laidOut && plot.width() >= 1)
        return {plot.left() * ratio, plot.width() * ratio};
    const int screenWidth = screen() ? screen()->size().width() : 4096;
    return {0, screenWidth * ratio};
}

QList<QPointF> ChartView::pixelColumnPoints(const QList<QPointF>& line, double from, double to, double left,
                                            double width) {
    constexpr double kPointsPerColumn = 4;
    if (!(width >= 1) || !(to > from) || static_cast<double>(line.size()) <= kPointsPerColumn * width)
        return line;
    QList<QPointF> kept;
    kept.reserve(static_cast<qsizetype>(kPointsPerColumn * (width + 2)));
    const double scale = width / (to - from);
    // a two-pixel line covers the pixels whose centres lie within a pixel of it, so the
    // columns that matter run from one pixel centre to the next
    const auto columnOf = [&](const QPointF& p) { return std::floor(left + (p.x() - from) * scale + 0.5); };
    qsizetype first = 0;
    while (first < line.size()) {
        const double column = columnOf(line[first]);
        qsizetype lowest = first, highest = first, last = first;
        for (qsizetype i = first + 1; i < line.size() && columnOf(line[i]) == column; ++i) {
            if (line[i].y() < line[lowest].y())
                lowest = i;
            if (line[i].y() > line[highest].y())
                highest = i;
            last = i;
        }
        // each in its order along the line, each once
        const qsizetype order[] = {first, std::min(lowest, highest), std::max(lowest, highest), last};
        qsizetype previous = -1;
        for (const qsizetype i : order) {
            if (i != previous)
                kept.append(line[i]);
            previous = i;
        }
        first = last + 1;
    }
    return kept;
}

void ChartView::fillPlot(Plot& plot, const ChartSeries& series) {
    if (plot.secondary != series.secondaryAxis) {
        plot.secondary = series.secondaryAxis;
        for (QLineSeries* line : plot.lines)
            attach(line, plot.secondary);
        if (plot.dots)
            attach(plot.dots, plot.secondary);
    }
    std::vector<QList<QPointF>> lines;
    QList<QPointF> dots;
    for (QList<QPointF>& run : runsOf(series.points)) {
        if (run.size() >= 2 && static_cast<int>(lines.size()) < kMaxLines)
            lines.push_back(std::move(run));
        else
            dots.append(run);
    }
    if (lines.empty())
        lines.emplace_back();

    while (plot.lines.size() < static_cast<qsizetype>(lines.size()))
        plot.lines.append(newLine(plot));
    while (plot.lines.size() > static_cast<qsizetype>(lines.size())) {
        QLineSeries* line = plot.lines.takeLast();
        chart()->removeSeries(line);
        delete line;
    }
    // markers are drawn at every point; lines alone draw the same with a few to a column
    const bool thin = m_thinning && m_markerStyle == MarkerStyle::None;
    const std::pair<double, double> columns = thin ? plotColumns() : std::pair<double, double>(0, 0);
    const double from = 0.5;
    const double to = std::max(m_model.categoryCount(), 1) + 0.5;
    for (size_t i = 0; i < lines.size(); ++i) {
        const qsizetype whole = lines[i].size();
        QList<QPointF> drawn = pixelColumnPoints(lines[i], from, to, columns.first, columns.second);
        if (drawn.size() < whole)
            m_thinnedFor = columns;
        plot.lines[static_cast<qsizetype>(i)]->replace(drawn);
    }
    plot.lines.front()->setName(series.name);

    if (!dots.isEmpty() && !plot.dots) {
        plot.dots = new QScatterSeries();
        chart()->addSeries(plot.dots);
        attach(plot.dots, plot.secondary);
    }
    if (plot.dots)
        plot.dots->replace(dots);
}

QImage ChartView::ballImage(const QColor& colour) const {
    // the picture's own blue is the weight colour; other series get the same shading in their hue
    QImage image = m_ballPicture.convertToFormat(QImage::Format_ARGB32);
    const int hue = colour.hsvHue();
    if (hue < 0)
        return image;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = QColor::fromRgba(line[x]);
            if (pixel.alpha() == 0)
                continue;
            line[x] = QColor::fromHsv(hue, pixel.hsvSaturation(), pixel.value(), pixel.alpha()).rgba();
        }
    }
    return image;
}

void ChartView::applyStyle(Plot& plot) {
    QPen pen(plot.colour, kLineWidth);
    // a round join is an arc at every point: with far more points than pixels the arcs cannot
    // be seen, yet drawing them took most of a paint
    int points = 0;
    for (const ChartSeries& s : m_model.series)
        points += static_cast<int>(s.points.size());
    const bool dense = points > kSmoothPointLimit;
    pen.setCapStyle(dense ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(dense ? Qt::BevelJoin : Qt::RoundJoin);
    const QImage ball = m_markerStyle == MarkerStyle::Ball ? ballImage(plot.colour) : QImage();
    QList<QXYSeries*> parts(plot.lines.begin(), plot.lines.end());
    for (QXYSeries* line : parts) {
        line->setPen(pen);
        line->setBrush(plot.colour);
        line->setPointsVisible(m_markerStyle == MarkerStyle::Circle);
        line->setLightMarker(ball);
        line->setMarkerSize(m_markerStyle == MarkerStyle::Ball ? kBallSize : kCircleSize);
    }
    if (plot.dots) {
        plot.dots->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        plot.dots->setColor(plot.colour);
        plot.dots->setBorderColor(plot.colour);
        plot.dots->setLightMarker(ball);
        plot.dots->setMarkerSize(m_markerStyle == MarkerStyle::Ball     ? kBallSize
                                 : m_markerStyle == MarkerStyle::Circle ? kCircleSize
                                                                        : kDotSize);
    }
}

bool ChartView::plotVisible(int series) const {
    const size_t i = static_cast<size_t>(series);
    return m_plots[i].shown && (i >= m_model.series.size() || m_model.series[i].visible);
}

void ChartView::applyVisibility() {
    QLegend* legend = chart()->legend();
    for (int i = 0; i < seriesCount(); ++i) {
        const Plot& plot = m_plots[static_cast<size_t>(i)];
        const bool visible = plotVisible(i);
        for (QLineSeries* line : plot.lines) {
            line->setVisible(visible);
            for (QLegendMarker* marker : legend->markers(line))
                marker->setVisible(visible && line == plot.lines.front());
        }
        if (plot.dots) {
            plot.dots->setVisible(visible);
            for (QLegendMarker* marker : legend->markers(plot.dots))
                marker->setVisible(false);
        }
    }
    m_primaryAxis->setVisible(m_primaryShown && m_model.primary.visible);
    m_secondaryAxis->setVisible(m_secondaryShown && m_model.secondary.visible);
}

void ChartView::applyAxes() {
    applyAxis(Axis::Primary);
    applyAxis(Axis::Secondary);
    const int n = m_model.categoryCount();
    m_categoryAxis->setStartValue(0.5);
    m_categoryAxis->setRange(0.5, std::max(n, 1) + 0.5);
}

void ChartView::applyAxis(Axis which) {
    const bool secondary = which == Axis::Secondary;
    QValueAxis* axis = valueAxis(which);
    const auto [lo, hi] = axisRange(secondary ? m_model.secondary : m_model.primary, dataRange(m_model, secondary));
    // about one labelled tick per 36 pixels of height, so small charts are not crowded
    const int ticks = std::clamp((height() - 90) / 36, 3, 10);
    const double step = niceStep((hi - lo) / ticks);
    axis->setRange(lo, hi);
    axis->setTickAnchor(std::ceil(lo / step) * step);
    axis->setTickInterval(step);
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimalsOf(step)));
}

void ChartView::updateCategoryLabels() {
    const int n = m_model.categoryCount();
    const QStringList& texts = m_model.categoryLabels;
    const auto labelOf = [&](int category) {
        return category - 1 < texts.size() ? texts[category - 1] : QString::number(category);
    };
    // as many labels as fit side by side, evenly spaced, so thousands of categories stay readable
    const QFontMetrics metrics(m_categoryAxis->labelsFont());
    int widest = metrics.horizontalAdvance(QStringLiteral("0000"));
    for (int c = 1; c <= std::min(n, 50); ++c)
        widest = std::max(widest, metrics.horizontalAdvance(labelOf(c)));
    if (n > 0)
        widest = std::max(widest, metrics.horizontalAdvance(labelOf(n)));
    m_labelledWidth = static_cast<int>(chart()->plotArea().width());
    // before the first layout the plot has no width yet; a guess serves until it has one
    const int width = std::max(m_labelledWidth, 200);
    const int fitting = std::max(2, width / (widest + 24));
    const int step = std::max(1, static_cast<int>(std::ceil(static_cast<double>(n) / fitting)));

    for (const QString& label : m_categoryAxis->categoriesLabels())
        m_categoryAxis->remove(label);
    // a category axis keeps each text once: a text shown again (a second 起床後 of the day, a
    // date with several weigh-ins) is told apart by zero-width spaces, which draw nothing
    QHash<QString, int> shown;
    for (int c = 1; c <= n; c += step) {
        const QString label = labelOf(c);
        const int before = shown.value(label, 0);
        shown.insert(label, before + 1);
        m_categoryAxis->append(label + QString(before, QChar(0x200B)), c);
    }
}

int ChartView::pointCount(int series) const {
    int count = 0;
    for (QXYSeries* part : seriesParts(series))
        count += static_cast<int>(part->count());
    return count;
}

QList<QXYSeries*> ChartView::seriesParts(int series) const {
    QList<QXYSeries*> parts;
    if (series < 0 || series >= seriesCount())
        return parts;
    const Plot& plot = m_plots[static_cast<size_t>(series)];
    for (QLineSeries* line : plot.lines)
        parts.append(line);
    if (plot.dots && plot.dots->count() > 0)
        parts.append(plot.dots);
    return parts;
}

void ChartView::setSeriesVisible(int series, bool visible) {
    if (series < 0 || series >= seriesCount())
        return;
    m_plots[static_cast<size_t>(series)].shown = visible;
    applyVisibility();
}

bool ChartView::isSeriesVisible(int series) const {
    return series >= 0 && series < seriesCount() && plotVisible(series);
}

void ChartView::setSeriesColour(int series, const QColor& colour) {
    if (series < 0 || series >= seriesCount())
        return;
    Plot& plot = m_plots[static_cast<size_t>(series)];
    plot.colour = colour;
    applyStyle(plot);
}

QColor ChartView::seriesColour(int series) const {
    return series >= 0 && series < seriesCount() ? m_plots[static_cast<size_t>(series)].colour : QColor();
}

void ChartView::setAxisVisible(Axis axis, bool visible) {
    (axis == Axis::Primary ? m_primaryShown : m_secondaryShown) = visible;
    applyVisibility();
}

bool ChartView::isAxisVisible(Axis axis) const {
    return valueAxis(axis)->isVisible();
}

void ChartView::setAxisLimits(Axis axis, std::optional<double> min, std::optional<double> max) {
    AxisLimits& limits = axis == Axis::Primary ? m_model.primary : m_model.secondary;
    limits.min = min;
    limits.max = max;
    applyAxis(axis);
}

void ChartView::setAxisTitle(Axis axis, const QString& title) {
    valueAxis(axis)->setTitleText(title);
}

QValueAxis* ChartView::valueAxis(Axis axis) const {
    return axis == Axis::Primary ? m_primaryAxis : m_secondaryAxis;
}

void ChartView::setMarkerStyle(MarkerStyle style) {
    // markers need every point of a line, thinned or not
    const bool refill = (style == MarkerStyle::None) != (m_markerStyle == MarkerStyle::None);
    m_markerStyle = style;
    if (refill)
        fillPlots();
    for (Plot& plot : m_plots)
        applyStyle(plot);
}

void ChartView::setLegendVisible(bool visible) {
    chart()->legend()->setVisible(visible);
}

QPixmap ChartView::grabPicture() {
    // a chart that was never shown has not been laid out at its size yet
    if (!isVisible()) {
        chart()->resize(contentsRect().size());
        QApplication::sendPostedEvents();
        if (static_cast<int>(chart()->plotArea().width()) != m_labelledWidth) {
            updateCategoryLabels();
            QApplication::sendPostedEvents();
        }
    }
    return grab();
}

QPixmap ChartView::copyToClipboard() {
    const QPixmap picture = grabPicture();
    QApplication::clipboard()->setPixmap(picture);
    return picture;
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    QChartView::mousePressEvent(event);
    // the press is the first half of a click; taking it makes the release come here too
    if (event->button() == Qt::LeftButton)
        event->accept();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    QChartView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void ChartView::showEvent(QShowEvent* event) {
    QChartView::showEvent(event);
    m_laidOut = true;
    // lines thinned before the chart had its place are thinned again for the place it has
    if (m_thinnedFor && plotColumns() != *m_thinnedFor)
        fillPlots();
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    // the tick spacing follows the height
    applyAxis(Axis::Primary);
    applyAxis(Axis::Secondary);
}

} // namespace puka::ui
