#include "RangeView.h"

#include "BodyMeasures.h"
#include "NumberFormat.h"

#include <cmath>
#include <optional>

namespace puka::range {
namespace {

// floor(value + tenths / 10) for a value as the log stores it (its shortest decimal text), so
// that 70.1 + 0.9 gives 71 and not the 70.99999 of the binary float
int floorOfStored(float value, int tenths) {
    const double stored = storedValue(value);
    const long long millionths = std::llround(stored * 1e6) + tenths * 100000LL;
    return static_cast<int>(std::floor(static_cast<double>(millionths) / 1e6));
}

void setAxis(AxisLimits& axis, int low, int high) {
    // a single whole weight would give the axis no range to draw in
    if (high <= low)
        high = low + 1;
    axis.max = high;
    axis.min = low;
}

double chartValue(float value) {
    return storedValue(value);
}

void setDifference(GridModel& g, int row, int col, float difference) {
    // the arrow follows the number as shown, so a shown zero is no change whatever its sign;
    // the shown text never carries a minus before a zero
    QString& shown = g.cell(row, col);
    shown = fmt::kg(difference);
    static const DiffMark kUp = diffMarkExact(1.0f);
    static const DiffMark kDown = diffMarkExact(-1.0f);
    static const DiffMark kSame = diffMarkExact(0.0f);
    const bool zero = shown.size() == 5 && shown.startsWith(u"0.0Kg");
    const DiffMark& mark = zero ? kSame : shown.startsWith(QLatin1Char('-')) ? kDown : kUp;
    g.cell(row, col + 1) = mark.arrow;
    g.setColour(row, col + 1, mark.colour);
}

// The records of one day share one date text, so the same text is found by its address
// before its characters are compared.
bool sameText(const QString& a, const QString& b) {
    return a.size() == b.size() && (a.constData() == b.constData() || a == b);
}

} // namespace

GridModel SET_TAIJYU_GRID() {
    GridModel g;
    g.name = QStringLiteral("msgBunseki");
    g.fixedCols = 1;
    g.fontPt = 10;
    g.columns = {
        {QStringLiteral("回"), 600, Align::CenterCenter},    {QStringLiteral("日付け"), 950, Align::CenterCenter},
        {QStringLiteral("曜"), 320, Align::CenterCenter},    {QStringLiteral("行動"), 1800, Align::LeftCenter},
        {QStringLiteral("体重"), 800, Align::RightCenter},   {QStringLiteral("前回差"), 730, Align::RightCenter},
        {QStringLiteral("差"), 320, Align::CenterCenter},    {QStringLiteral("初回差"), 730, Align::RightCenter},
        {QStringLiteral("差"), 320, Align::CenterCenter},    {QStringLiteral("ＢＭＩ"), 580, Align::RightCenter},
        {QStringLiteral("肥満度"), 700, Align::RightCenter}, {QStringLiteral("体脂肪"), 700, Align::RightCenter},
    };
    return g;
}

RangeView build(Builder builder, const std::vector<WeightRecord>& records, float heightCm,
                const Conditions& conditions) {
    RangeView v;
    v.grid = SET_TAIJYU_GRID();
    v.chart.name = QStringLiteral("mcrBunseki");
    v.chart.series = {{QStringLiteral("体重"), false, {}, true}, {QStringLiteral("体脂肪率"), true, {}, true}};
    const bool opening = builder == Builder::DSP_TAIJYU;

    // choose the rows first, so the grid and the chart are reserved once at their final size
    std::vector<const WeightRecord*> listed;
    listed.reserve(records.size());
    for (const WeightRecord& r : records)
        if (passes(builder, conditions, r))
            listed.push_back(&r);
    v.grid.addRows(static_cast<int>(listed.size()));
    v.recordNumbers.reserve(listed.size());
    for (const WeightRecord* r : listed)
        v.recordNumbers.push_back(static_cast<int>(r - records.data()) + 1);
    v.chart.series[0].points.reserve(listed.size());
    v.chart.series[1].points.reserve(listed.size());

    const bool hasHeight = heightCm > 0;
    float largestWeight = 0, smallestWeight = 999, largestFat = 0, smallestFat = 999;
    float firstWeight = 0, previousWeight = 0;
    int n = 1;
    QString day, shortDay, weekday;
    for (const WeightRecord* r : listed) {
        if (n == 1)
            firstWeight = r->weight;
        const int row = n - 1;
        v.grid.cell(row, 0) = countText(n);
        // the rows of one day share their date and weekday texts
        if (!sameText(r->date, day)) {
            day = r->date;
            shortDay = day.mid(2);
            weekday = weekdayName(weekdayOf(day));
        }
        v.grid.cell(row, 1) = shortDay;
        v.grid.cell(row, 2) = weekday;
        v.grid.cell(row, 3) = r->situation;
        v.grid.cell(row, 4) = fmt::kg(r->weight);
        // a reference weight of 0 is unset (a measurement of body fat only): compare with itself
        if (previousWeight == 0)
            previousWeight = r->weight;
        setDifference(v.grid, row, 5, r->weight - previousWeight);
        setDifference(v.grid, row, 7, r->weight - firstWeight);
        if (hasHeight) {
            v.grid.cell(row, 9) = fmt::one(body::bmi(r->weight, heightCm));
            v.grid.cell(row, 10) = fmt::percent(body::obesity(r->weight, heightCm));
        }
        v.grid.cell(row, 11) = fmt::onePercent(r->bodyFat);
        if (r->weight > largestWeight)
            largestWeight = r->weight;
        if (r->weight < smallestWeight)
            smallestWeight = r->weight;
        if (r->bodyFat > largestFat)
            largestFat = r->bodyFat;
        if (r->bodyFat < smallestFat)
            smallestFat = r->bodyFat;
        v.chart.series[0].points.push_back(chartValue(r->weight));
        v.chart.series[1].points.push_back(chartValue(r->bodyFat));
        previousWeight = r->weight;
        ++n;
    }
    // more than 11 grid rows with the header: keep the last listed row in view
    if (v.grid.bodyRows() + 1 > 11)
        v.grid.topRow = v.grid.bodyRows();
    // with nothing listed the extremes keep their start values, which give no usable range:
    // the axes are then left to choose their own
    if (!listed.empty()) {
        setAxis(v.chart.primary, floorOfStored(smallestWeight, 0), floorOfStored(largestWeight, 9));
        setAxis(v.chart.secondary, floorOfStored(smallestFat, -40), floorOfStored(largestFat, 39));
    }

    if (opening) {
        const QString* remembered = nullptr;
        for (const WeightRecord& r : records) {
            if (!remembered || !sameText(*remembered, r.date)) {
                v.dates.append(r.date);
                remembered = &r.date;
            }
        }
        if (!v.dates.isEmpty()) {
            v.startText = v.dates.first();
            v.endText = v.dates.last();
        }
    } else {
        v.startText = conditions.startText;
        v.endText = conditions.endText;
    }
    return v;
}

RangeView DSP_TAIJYU(const std::vector<WeightRecord>& records, float heightCm) {
    return build(Builder::DSP_TAIJYU, records, heightCm);
}

RangeView refresh(const std::vector<WeightRecord>& records, float heightCm, const Conditions& conditions) {
    return build(REFRESH_TAIJYU(conditions), records, heightCm, conditions);
}

void applyChartOption(ChartModel& chart, ChartOption option) {
    const bool weight = option != ChartOption::optShi2;
    const bool fat = option != ChartOption::optTai2;
    chart.primary.visible = weight;
    chart.secondary.visible = fat;
    for (ChartSeries& s : chart.series)
        s.visible = s.secondaryAxis ? fat : weight;
}

ViewModel viewModel(const RangeView& view) {
    ViewModel v;
    v.view = QStringLiteral("range");
    v.grids.push_back(view.grid);
    v.charts.push_back(view.chart);
    v.labels = {{QStringLiteral("cboStdate"), view.startText}, {QStringLiteral("cboEddate"), view.endText}};
    return v;
}

} // namespace puka::range
