#include "core/views/RangeView.h"

#include "core/base/BodyMeasures.h"
#include "core/base/NumberFormat.h"

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
const DifferenceMark& markOfShown(const QString& shown) {
    static const DifferenceMark kUp = differenceMarkExact(1.0f);
    static const DifferenceMark kDown = differenceMarkExact(-1.0f);
    static const DifferenceMark kSame = differenceMarkExact(0.0f);
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
    RangeRows(SharedRecords records, float heightCm) : m_records(std::move(records)), m_heightCm(heightCm) {}
    /// The indexes of the listed records, in list order.
    std::vector<int>& listed() { return m_listed; }

    int count() const override { return static_cast<int>(m_listed.size()); }

    void appendText(int row, int column, TextBuffer* out) const override {
        const WeightRecord& r = record(row);
        switch (column) {
        case 0:
            appendInteger(out, row + 1);
            return;
        case 1:
            out->append(QStringView(r.date).mid(2));
            return;
        case 2:
            out->append(weekdayName(weekdayOf(r.date)));
            return;
        case 3:
            out->append(r.situation);
            return;
        case 4:
            out->append(formats::kg(r.weight));
            return;
        case 5:
            out->append(formats::kg(sincePrevious(row)));
            return;
        case 6:
            out->append(markOfShown(formats::kg(sincePrevious(row))).arrow);
            return;
        case 7:
            out->append(formats::kg(sinceFirst(row)));
            return;
        case 8:
            out->append(markOfShown(formats::kg(sinceFirst(row))).arrow);
            return;
        case 9:
            if (m_heightCm > 0)
                out->append(formats::one(body::bmi(r.weight, m_heightCm)));
            return;
        case 10:
            if (m_heightCm > 0)
                out->append(formats::percent(body::obesity(r.weight, m_heightCm)));
            return;
        case 11:
            out->append(formats::onePercent(r.bodyFat));
            return;
        default:
            return;
        }
    }

    std::optional<Rgb> colour(int row, int column) const override {
        if (column == 6)
            return markOfShown(formats::kg(sincePrevious(row))).colour;
        if (column == 8)
            return markOfShown(formats::kg(sinceFirst(row))).colour;
        return std::nullopt;
    }

private:
    const WeightRecord& record(int row) const {
        return (*m_records)[static_cast<size_t>(m_listed[static_cast<size_t>(row)])];
    }
    float sincePrevious(int row) const {
        // a reference weight of 0 is unset (a measurement of body fat only): no difference
        const float previous = row > 0 ? record(row - 1).weight : 0.0f;
        return previous == 0 ? 0.0f : record(row).weight - previous;
    }
    float sinceFirst(int row) const { return record(row).weight - record(0).weight; }

    SharedRecords m_records;
    std::vector<int> m_listed;
    float m_heightCm;
};

} // namespace

GridModel emptyRangeList() {
    GridModel g;
    g.name = QStringLiteral("msgBunseki");
    g.fixedColumns = 1;
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

RangeView build(Builder builder, const SharedRecords& shared, float heightCm, const Conditions& conditions) {
    RangeView v;
    v.grid = emptyRangeList();
    v.chart.name = QStringLiteral("mcrBunseki");
    v.chart.series = {{QStringLiteral("体重"), false, {}, true}, {QStringLiteral("体脂肪率"), true, {}, true}};
    const bool opening = builder == Builder::Opening;
    const std::vector<WeightRecord>& records = *shared;

    auto rows = std::make_shared<RangeRows>(shared, heightCm);
    std::vector<int>& listed = rows->listed();
    if (opening)
        listed.reserve(records.size());
    float largestWeight = 0, smallestWeight = 999, largestFat = 0, smallestFat = 999;
    for (size_t i = 0; i < records.size(); ++i) {
        const WeightRecord& r = records[i];
        if (!passes(builder, conditions, r))
            continue;
        listed.push_back(static_cast<int>(i));
        if (r.weight > largestWeight)
            largestWeight = r.weight;
        if (r.weight < smallestWeight)
            smallestWeight = r.weight;
        if (r.bodyFat > largestFat)
            largestFat = r.bodyFat;
        if (r.bodyFat < smallestFat)
            smallestFat = r.bodyFat;
    }
    // a row's record number (1 = the start record) picks the record a correction changes
    v.recordNumbers.reserve(listed.size());
    for (const int i : listed)
        v.recordNumbers.push_back(i + 1);
    v.chart.series[0].points.reserve(listed.size());
    v.chart.series[1].points.reserve(listed.size());
    for (const int i : listed) {
        v.chart.series[0].points.push_back(chartValue(records[static_cast<size_t>(i)].weight));
        v.chart.series[1].points.push_back(chartValue(records[static_cast<size_t>(i)].bodyFat));
    }
    const bool anyListed = !listed.empty();
    v.grid.setRows(std::move(rows));
    // more than 11 grid rows with the header: keep the last listed row in view
    if (v.grid.bodyRows() + 1 > 11)
        v.grid.topRow = v.grid.bodyRows();
    // with nothing listed the extremes keep their start values, which give no usable range:
    // the axes are then left to choose their own
    if (anyListed) {
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

RangeView build(Builder builder, const std::vector<WeightRecord>& records, float heightCm,
                const Conditions& conditions) {
    return build(builder, std::make_shared<const std::vector<WeightRecord>>(records), heightCm, conditions);
}

RangeView buildOpening(const SharedRecords& records, float heightCm) {
    return build(Builder::Opening, records, heightCm);
}

RangeView buildOpening(const std::vector<WeightRecord>& records, float heightCm) {
    return build(Builder::Opening, records, heightCm);
}

RangeView refresh(const SharedRecords& records, float heightCm, const Conditions& conditions) {
    return build(builderFor(conditions), records, heightCm, conditions);
}

RangeView refresh(const std::vector<WeightRecord>& records, float heightCm, const Conditions& conditions) {
    return build(builderFor(conditions), records, heightCm, conditions);
}

void applyChartOption(ChartModel& chart, ChartOption option) {
    const bool weight = option != ChartOption::BodyFat;
    const bool fat = option != ChartOption::Weight;
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
