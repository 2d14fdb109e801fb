#include "core/views/GraphView.h"

#include "core/base/NumberFormat.h"

#include <QDate>
#include <QStringList>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace puka::graph {
namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

// A single value as the chart gets it: the number its shortest (7-digit) text stands for, so
// 75.1 is drawn and printed as 75.1 and not as 75.0999984741211. to_chars and from_chars do
// not depend on the process locale, which Qt sets from the environment.
double chartValueOnce(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 7);
    double result = static_cast<double>(value);
    std::from_chars(text, written.ptr, result);
    return result;
}

// A log repeats its weights and body fats: the values of recent floats are kept per thread.
double chartValue(float value) {
    struct Kept {
        std::uint32_t bits = 0;
        bool used = false;
        double value = 0;
    };
    constexpr size_t kSlots = 1024;
    thread_local std::array<Kept, kSlots> kept{};
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Kept& slot = kept[static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 54) % kSlots];
    if (!slot.used || slot.bits != bits) {
        slot.bits = bits;
        slot.used = true;
        slot.value = chartValueOnce(value);
    }
    return slot.value;
}

long long floorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Int(value + offset) on the value as the log stores it (its shortest decimal text), so a
// heaviest 70.0 gives Int(70.9) = 70 and 70.1 gives 71 whatever the binary value holds.
double floorOfStored(float value, double offset) {
    const double stored = chartValue(value);
    if (std::fabs(stored) < 1e12) {
        const long long thousandths = std::llround(stored * 1000.0) + std::llround(offset * 1000.0);
        return static_cast<double>(floorDiv(thousandths, 1000));
    }
    return std::floor(stored + offset);
}

QString changeWord(float from, float to) {
    if (to > from)
        return QStringLiteral(" 増");
    if (to < from)
        return QStringLiteral(" 減");
    return QStringLiteral(" 同");
}

qint64 daysBetween(const QString& from, const QString& to) {
    return QDate::fromString(from, kDateFormat).daysTo(QDate::fromString(to, kDateFormat));
}

void fillMovingAverage(const std::vector<float>& weights, int window, std::vector<double>* points) {
    const size_t n = weights.size();
    points->assign(n, ChartModel::unset());
    if (window < 1 || static_cast<size_t>(window) > n)
        return;
    const size_t w = static_cast<size_t>(window);
    const size_t first = w - 1; // the first record with w weights up to it
    const size_t windows = n - first;
    if (window <= kLongestSinglePrecisionWindow) {
        // Every window adds its weights oldest first in single precision, as one sum each;
        // adding the k-th weight of all windows in one sweep keeps that order per window.
        std::vector<float> sums(windows, 0.0f);
        for (size_t k = 0; k < w; ++k) {
            const float* add = weights.data() + k;
            for (size_t i = 0; i < windows; ++i)
                sums[i] += add[i];
        }
        for (size_t i = 0; i < windows; ++i)
            (*points)[first + i] = chartValue(sums[i]) / static_cast<double>(window);
        return;
    }
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        sum += chartValue(weights[i]);
        if (i >= w)
            sum -= chartValue(weights[i - w]);
        if (i >= first)
            (*points)[i] = sum / static_cast<double>(window);
    }
}

} // namespace

std::optional<int> windowOf(const QString& text) {
    const double value = leadingNumber(text);
    if (!(value >= 1))
        return std::nullopt;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(std::floor(value));
}

void fillChartSeries(const AnalysisSnapshot& s, int window, ChartModel* chart) {
    chart->series.resize(3);
    chart->series[0].name = QStringLiteral("推移");
    chart->series[0].secondaryAxis = false;
    chart->series[1].name = QStringLiteral("移動平均");
    chart->series[1].secondaryAxis = false;
    chart->series[2].name = QStringLiteral("体脂肪率");
    chart->series[2].secondaryAxis = true;

    const size_t n = s.weight.size();
    std::vector<double>& weight = chart->series[0].points;
    std::vector<double>& fat = chart->series[2].points;
    weight.clear();
    fat.clear();
    weight.reserve(n);
    fat.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        weight.push_back(chartValue(s.weight[i]));
        fat.push_back(chartValue(s.fat[i]));
    }
    fillMovingAverage(s.weight, window, &chart->series[1].points);

    chart->categoryLabels.clear();
    chart->categoryLabels.reserve(static_cast<qsizetype>(n));
    for (const QString& date : s.date)
        chart->categoryLabels.append(date);
}

double primaryMinimum(const AnalysisSnapshot& s, float targetWeight, bool targetOn) {
    return std::floor(static_cast<double>(targetOn ? targetWeight : s.minWeight));
}

std::optional<Rgb> targetButtonColour(bool targetOn) {
    return targetOn ? std::optional<Rgb>(kTargetOnColour) : std::nullopt;
}

GraphView buildGraph(const AnalysisSnapshot& s, float targetWeight, const QString& windowText, bool targetOn) {
    GraphView v;
    v.chart.name = QStringLiteral("mcrRentai");
    fillChartSeries(s, windowOf(windowText).value_or(0), &v.chart);
    if (s.empty())
        return v;

    v.chart.primary.max = floorOfStored(s.maxWeight, 0.9);
    v.chart.primary.min = primaryMinimum(s, targetWeight, targetOn);
    v.chart.secondary.max = floorOfStored(s.maxFat, 3.9);
    v.chart.secondary.min = floorOfStored(s.minFat, -4);

    const float first = s.weight.front();
    const float last = s.weight.back();
    v.periodText = s.date.front() + QStringLiteral(" ( ") + shortestText(first) +
                   QStringLiteral("Kg ) でスタート ～ ") + s.date.back() + QStringLiteral(" ( ") + shortestText(last) +
                   QStringLiteral("Kg ) まで ") + QString::number(daysBetween(s.date.front(), s.date.back())) +
                   QStringLiteral("日経過 _ ") + formats::kg(std::fabs(first - last)) + changeWord(first, last);
    v.lowestText = QStringLiteral("最小記録 ") + s.minWeightDate + QStringLiteral(" の ") + shortestText(s.minWeight) +
                   QStringLiteral("Kg   初日から ") + formats::kg(first - s.minWeight) + changeWord(first, s.minWeight);
    v.targetCaption = QStringLiteral("目標まで残り　") + formats::kg(last - targetWeight);
    return v;
}

GraphTrendView buildWithTrend(const std::vector<WeightRecord>& records, const AnalysisSnapshot& everyRecord,
                              const std::optional<QString>& situation, float targetWeight, const QString& windowText,
                              bool targetOn) {
    GraphTrendView v;
    TrendChoice choice;
    if (situation) {
        choice.situation = situation;
        std::vector<WeightRecord> chosen;
        for (const WeightRecord& r : records)
            if (r.situation == *situation)
                chosen.push_back(r);
        v.chosen = AnalysisSnapshot::load(chosen);
    }
    const AnalysisSnapshot& taken = v.chosen ? *v.chosen : everyRecord;
    v.graph = buildGraph(taken, targetWeight, windowText, targetOn);
    v.trend = trend::compute(records, choice, targetWeight);
    v.graph.chart.series.push_back(trend::recordSeries(v.trend, taken.date));
    return v;
}

void applySeriesChoice(SeriesChoice choice, ChartModel* chart) {
    const bool weight = choice != SeriesChoice::BodyFat;
    const bool fat = choice != SeriesChoice::Weight;
    chart->primary.visible = weight;
    chart->secondary.visible = fat;
    for (ChartSeries& series : chart->series)
        series.visible = series.secondaryAxis ? fat : weight;
}

ViewModel viewModel(const GraphView& view) {
    ViewModel v;
    v.view = QStringLiteral("graph");
    v.charts.push_back(view.chart);
    v.labels = {{QStringLiteral("lblNichis"), view.periodText},
                {QStringLiteral("lblKiro"), view.lowestText},
                {QStringLiteral("cmdMokuChk"), view.targetCaption}};
    return v;
}

QString guidanceText() {
    QString text;
    for (const QString& line : {
             QStringLiteral("プカプカダイエットを開始した日から現在までの体重の推移を表示します。"),
             QString(),
             QStringLiteral("青線は入力した体重データそのものです。"),
             QString(),
             QStringLiteral("赤線は１０回分を平均化した移動平均データです。"),
             QStringLiteral("突発的な増減の影響を受けず傾向をつかみやすいグラフになります。"),
             QString(),
             QStringLiteral("「目標まで残り○○Ｋｇ」ボタンを押すとグラフの下限を目標値に切り替えられます。"),
         })
        text += line + QStringLiteral("\r\n");
    return text;
}

} // namespace puka::graph
