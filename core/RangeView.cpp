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

// The arrow follows the number as shown, so a shown zero is no change whatever its sign; the
// shown text never carries a minus before a zero.
const DiffMark& markOfShown(const QString& shown) {
    static const DiffMark kUp = diffMarkExact(1.0f);
    static const DiffMark kDown = diffMarkExact(-1.0f);
    static const DiffMark kSame = diffMarkExact(0.0f);
    const bool zero = shown.size() == 5 && shown.startsWith(u"0.0Kg");
    return zero ? kSame : shown.startsWith(QLatin1Char('-')) ? kDown : kUp;
}

// The records of one day share one date text, so the same text is found by its address
// before its characters are compared.
bool sameText(const QString& a, const QString& b) {
    return a.size() == b.size() && (a.constData() == b.constData() || a == b);
}

/// The listed records, their texts made when a row is shown or printed.
class RangeRows : public GridRows {
public:
    struct Row {
        QString date;
        QString situation;
        float weight = 0;
        float bodyFat = 0;
        float sincePrevious = 0; ///< the weight less the previous listed one
        float sinceFirst = 0;    ///< the weight less the first listed one
    };

    explicit RangeRows(float heightCm) : m_heightCm(heightCm) {}
    std::vector<Row>& rows() { return m_rows; }

    int count() const override { return static_cast<int>(m_rows.size()); }

    QString text(int row, int col) const override {
        const Row& r = m_rows[static_cast<size_t>(row)];
        switch (col) {
        case 0:
            return integerText(row + 1);
        case 1:
            return r.date.mid(2);
        case 2:
            return weekdayName(weekdayOf(r.date));
        case 3:
            return r.situation;
        case 4:
            return fmt::kg(r.weight);
        case 5:
            return fmt::kg(r.sincePrevious);
        case 6:
            return markOfShown(fmt::kg(r.sincePrevious)).arrow;
        case 7:
            return fmt::kg(r.sinceFirst);
        case 8:
            return markOfShown(fmt::kg(r.sinceFirst)).arrow;
        case 9:
            return m_heightCm > 0 ? fmt::one(body::bmi(r.weight, m_heightCm)) : QString();
        case 10:
            return m_heightCm > 0 ? fmt::percent(body::obesity(r.weight, m_heightCm)) : QString();
        case 11:
            return fmt::onePercent(r.bodyFat);
        default:
            return QString();
        }
    }

    std::optional<Rgb> colour(int row, int col) const override {
        const Row& r = m_rows[static_cast<size_t>(row)];
        if (col == 6)
            return markOfShown(fmt::kg(r.sincePrevious)).colour;
        if (col == 8)
            return markOfShown(fmt::kg(r.sinceFirst)).colour;
        return std::nullopt;
    }

private:
    std::vector<Row> m_rows;
    float m_heightCm;
};

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

    auto rows = std::make_shared<RangeRows>(heightCm);
    std::vector<RangeRows::Row>& listed = rows->rows();
    float largestWeight = 0, smallestWeight = 999, largestFat = 0, smallestFat = 999;
    float firstWeight = 0, previousWeight = 0;
    for (const WeightRecord& r : records) {
        if (!passes(builder, conditions, r))
            continue;
        if (listed.empty())
            firstWeight = r.weight;
        // a reference weight of 0 is unset (a measurement of body fat only): compare with itself
        if (previousWeight == 0)
            previousWeight = r.weight;
        listed.push_back({r.date, r.situation, r.weight, r.bodyFat, r.weight - previousWeight, r.weight - firstWeight});
        if (r.weight > largestWeight)
            largestWeight = r.weight;
        if (r.weight < smallestWeight)
            smallestWeight = r.weight;
        if (r.bodyFat > largestFat)
            largestFat = r.bodyFat;
        if (r.bodyFat < smallestFat)
            smallestFat = r.bodyFat;
        previousWeight = r.weight;
    }
    listed.shrink_to_fit();
    v.chart.series[0].points.reserve(listed.size());
    v.chart.series[1].points.reserve(listed.size());
    for (const RangeRows::Row& r : listed) {
        v.chart.series[0].points.push_back(chartValue(r.weight));
        v.chart.series[1].points.push_back(chartValue(r.bodyFat));
    }
    v.grid.setRows(std::move(rows));
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
