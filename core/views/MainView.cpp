#include "core/views/MainView.h"

#include "core/base/BodyMeasures.h"
#include "core/base/NumberFormat.h"

#include <cmath>

namespace puka::mainview {
namespace {

QString changeWord(double start, double current) {
    if (start < current)
        return QStringLiteral(" 増");
    if (start > current)
        return QStringLiteral(" 減");
    return QStringLiteral(" 同");
}

QString yymmdd(const QString& date) {
    return date.size() == 10 ? date.mid(2) : date;
}

void setAxis(AxisLimits& axis, float smallest, float largest) {
    if (smallest > largest) {
        // no measurement on the day: leave the axis to choose its own range
        axis.min.reset();
        axis.max.reset();
        return;
    }
    const int low = static_cast<int>(std::floor(smallest));
    int high = ceilingOfStored(largest);
    if (high <= low)
        high = low + 1;
    axis.min = low;
    axis.max = high;
}

} // namespace

int ceilingOfStored(float value) {
    const double stored = storedValue(value);
    const long long hundredths = std::llround(stored * 100.0);
    return static_cast<int>(std::floor((hundredths + 90) / 100.0));
}

GridModel emptyDayList() {
    GridModel g;
    g.name = QStringLiteral("msgDayList");
    g.fixedColumns = 1;
    g.fontPt = 11;
    g.columns = {
        {QStringLiteral("回"), 450, Align::RightCenter},     {QStringLiteral("行動"), 2250, Align::LeftCenter},
        {QStringLiteral("体重"), 930, Align::RightCenter},   {QStringLiteral("前回差"), 880, Align::RightCenter},
        {QStringLiteral("差"), 370, Align::CenterCenter},    {QStringLiteral("初回差"), 880, Align::RightCenter},
        {QStringLiteral("差"), 370, Align::CenterCenter},    {QStringLiteral("ＢＭＩ"), 830, Align::RightCenter},
        {QStringLiteral("肥満度"), 830, Align::RightCenter}, {QStringLiteral("体脂肪"), 830, Align::RightCenter},
    };
    return g;
}

MainView buildMainView(const std::vector<WeightRecord>& records, const QDate& day, float heightCm) {
    MainView v;
    v.dayList = emptyDayList();
    v.chart.name = QStringLiteral("mcrMain");
    v.chart.series = {{QStringLiteral("体重"), false, {}, true}, {QStringLiteral("体脂肪率"), true, {}, true}};
    MainValues& m = v.values;
    const bool hasHeight = heightCm > 0;

    if (!records.empty()) {
        const WeightRecord& first = records.front();
        m.startDate = first.date;
        m.startWeight = first.weight;
        m.startBmi = body::bmi(first.weight, heightCm);
        m.startObesity = body::obesity(first.weight, heightCm);
    }

    const QString selected = day.toString(QStringLiteral("yyyy/MM/dd"));
    float largestWeight = 0, smallestWeight = 999, largestFat = 0, smallestFat = 999;
    int n = 1;
    float firstWeight = 0, previousWeight = 0, previousFat = 0;
    QString dayLastDate;
    QString faceArrow;
    for (const WeightRecord& r : records) {
        if (r.date == selected) {
            if (n == 1)
                firstWeight = r.weight;
            const int row = v.dayList.addRow();
            v.dayList.setCell(row, 0, QString::number(n));
            v.dayList.setCell(row, 1, r.situation);
            v.dayList.setCell(row, 2, formats::kg(r.weight));
            // the day's first row is compared with the last measurement before it, or with
            // itself on the start date
            if (previousWeight == 0 && r.date == m.startDate)
                previousWeight = r.weight;
            if (previousWeight == 0)
                previousWeight = m.lastWeight;
            const DifferenceMark sincePrevious = differenceMarkShown(r.weight - previousWeight);
            v.dayList.setCell(row, 3, formats::kg(r.weight - previousWeight));
            v.dayList.setCell(row, 4, sincePrevious.arrow);
            v.dayList.setColour(row, 4, sincePrevious.colour);
            const DifferenceMark sinceFirst = differenceMarkShown(r.weight - firstWeight);
            v.dayList.setCell(row, 5, formats::kg(r.weight - firstWeight));
            v.dayList.setCell(row, 6, sinceFirst.arrow);
            v.dayList.setColour(row, 6, sinceFirst.colour);
            faceArrow = sinceFirst.arrow;
            if (hasHeight) {
                v.dayList.setCell(row, 7, formats::one(body::bmi(r.weight, heightCm)));
                v.dayList.setCell(row, 8, formats::percent(body::obesity(r.weight, heightCm)));
            }
            v.dayList.setCell(row, 9, formats::one(r.bodyFat) + QLatin1Char('%'));
            if (r.weight > largestWeight)
                largestWeight = r.weight;
            if (r.weight < smallestWeight)
                smallestWeight = r.weight;
            if (r.bodyFat > largestFat)
                largestFat = r.bodyFat;
            if (r.bodyFat < smallestFat)
                smallestFat = r.bodyFat;
            v.chart.series[0].points.push_back(storedValue(r.weight));
            v.chart.series[1].points.push_back(storedValue(r.bodyFat));
            v.chart.categoryLabels.append(r.situation);
            previousWeight = r.weight;
            previousFat = r.bodyFat;
            dayLastDate = r.date;
            ++n;
        }
        m.lastWeight = r.weight;
        m.lastBodyFat = r.bodyFat;
        m.lastDate = r.date;
        ++m.recordCount;
    }
    // more than 11 rows with the header: keep the day's last measurement in view
    if (v.dayList.bodyRows() + 1 > 11)
        v.dayList.topRow = v.dayList.bodyRows();
    setAxis(v.chart.primary, smallestWeight, largestWeight);
    setAxis(v.chart.secondary, smallestFat, largestFat);

    if (previousWeight != 0) {
        m.currentWeight = previousWeight;
        m.currentBodyFat = previousFat;
        m.currentDate = dayLastDate;
    } else {
        m.currentWeight = m.lastWeight;
        m.currentBodyFat = m.lastBodyFat;
        m.currentDate = m.lastDate;
    }
    m.currentBmi = body::bmi(m.currentWeight, heightCm);
    m.currentObesity = body::obesity(m.currentWeight, heightCm);

    if (m.recordCount > 0) {
        const QDate start = QDate::fromString(m.startDate, QStringLiteral("yyyy/MM/dd"));
        const QDate current = QDate::fromString(m.currentDate, QStringLiteral("yyyy/MM/dd"));
        v.daysText = yymmdd(m.startDate) + QStringLiteral(" → ") + QString::number(start.daysTo(current)) +
                     QStringLiteral("日経過");
        v.weightText = formats::kg(m.startWeight) + QStringLiteral(" → ") +
                       formats::kg(std::fabs(m.currentWeight - m.startWeight)) +
                       changeWord(m.startWeight, m.currentWeight);
        if (hasHeight) {
            v.bmiText = formats::one(m.startBmi) + QStringLiteral(" → ") +
                        formats::one(std::fabs(m.currentBmi - m.startBmi)) + changeWord(m.startBmi, m.currentBmi);
            v.obesityText = formats::percent(m.startObesity) + QStringLiteral(" → ") +
                            formats::percent(std::fabs(m.currentObesity - m.startObesity)) +
                            changeWord(m.startObesity, m.currentObesity);
        } else {
            v.bmiText = v.obesityText = QStringLiteral("身長が未設定です");
        }
    }

    if (faceArrow == QStringLiteral("↑"))
        v.face = QStringLiteral("imgkana");
    else if (faceArrow == QStringLiteral("→"))
        v.face = QStringLiteral("imgniko");
    else if (faceArrow == QStringLiteral("↓"))
        v.face = QStringLiteral("imgwara");
    else
        v.face = QStringLiteral("imgNashi");
    return v;
}

ViewModel viewModel(const MainView& view, const std::optional<QString>& bodyType) {
    ViewModel v;
    v.view = QStringLiteral("main");
    v.grids.push_back(view.dayList);
    v.labels = {{QStringLiteral("lblDspNissuu"), view.daysText},
                {QStringLiteral("lblDspTai"), view.weightText},
                {QStringLiteral("lblDspBmi"), view.bmiText},
                {QStringLiteral("lblDspHiman"), view.obesityText},
                {QStringLiteral("lblMHyouka"), bodyType.value_or(QString())}};
    v.charts.push_back(view.chart);
    v.face = view.face;
    return v;
}

} // namespace puka::mainview
