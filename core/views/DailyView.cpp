#include "core/views/DailyView.h"

#include "core/base/NumberFormat.h"
#include "core/views/MainView.h"

#include <cmath>

namespace puka::daily {
namespace {

enum Column { Number = 0, Date = 1, Mean = 2 };

// Record dates have passed the log reader's check, so the fixed positions hold digits.
int digitsAt(const QString& text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c - u'0');
    }
    return value;
}

QDate recordDate(const QString& text) {
    if (text.size() != 10)
        return QDate();
    return QDate(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
}

// "yy/MM/dd", written directly: the whole-log list makes one for every day
QString gridDate(const QDate& date) {
    if (!date.isValid() || date.year() < 0)
        return date.toString(QStringLiteral("yy/MM/dd"));
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    const char16_t text[8] = {char16_t(u'0' + y / 10 % 10), char16_t(u'0' + y % 10), u'/',
                              char16_t(u'0' + m / 10),      char16_t(u'0' + m % 10), u'/',
                              char16_t(u'0' + d / 10),      char16_t(u'0' + d % 10)};
    return QString(reinterpret_cast<const QChar*>(text), 8);
}

// The chart shows the mean as the list would write it, not the float's binary tail.
double chartValue(float mean) {
    return storedValue(mean);
}

ChartModel emptyChart() {
    ChartModel c;
    c.name = QStringLiteral("mcrAvgtai");
    c.series = {{QStringLiteral("平均体重"), false, {}, true}};
    return c;
}

void setAxes(const DayTable& table, ChartModel& chart) {
    if (table.heaviest < table.lightest)
        return; // no record: the chart chooses its own range
    const int low = static_cast<int>(std::floor(table.lightest));
    int high = mainview::ceilingOfStored(table.heaviest);
    // a log whose weights are all one whole number would give an axis without height
    if (high <= low)
        high = low + 1;
    chart.primary.min = low;
    chart.primary.max = high;
}

void sizeGrid(GridModel& grid, int rows) {
    grid.clearRows();
    grid.addRows(rows);
}

/// Walks the days in order, carrying the last mean over days without measurements, as both
/// builds need it: the period's first day may take its chart value from before the period.
class DayWalk {
public:
    explicit DayWalk(const DayTable& table) : m_table(table) {}

    /// Steps to day @p day (from 1, called for 1, 2, ...).
    void step(int day) {
        const size_t i = static_cast<size_t>(day - 1);
        const float sum = m_table.sum[i];
        const int n = m_table.count[i];
        m_meanText = n > 0 ? formats::one(sum / static_cast<float>(n)) : QString();
        if (sum != 0) {
            m_sum = sum;
            m_count = n;
        }
    }
    const QString& meanText() const { return m_meanText; }
    double chartPoint() const {
        return m_count > 0 ? chartValue(m_sum / static_cast<float>(m_count)) : ChartModel::unset();
    }

private:
    const DayTable& m_table;
    QString m_meanText;
    float m_sum = 0;
    int m_count = 0;
};

void fillRow(GridModel& grid, int row, int number, const QString& date, const QString& mean) {
    grid.setCell(row, Number, countText(number));
    grid.setCell(row, Date, date);
    grid.setCell(row, Mean, mean);
}

QString describe(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("（空欄）") : QStringLiteral("「%1」").arg(text);
}

} // namespace

DayTable buildDayTable(const std::vector<WeightRecord>& records) {
    DayTable t;
    if (records.empty())
        return t;
    t.firstDate = recordDate(records.front().date);
    t.lastDate = recordDate(records.back().date);
    if (t.firstDate.isValid() && t.lastDate.isValid()) {
        // a last record before the first is out of order: no day can be listed
        t.days = static_cast<int>(std::max<qint64>(0, t.firstDate.daysTo(t.lastDate) + 1));
    }
    t.sum.assign(static_cast<size_t>(t.days), 0.0f);
    t.count.assign(static_cast<size_t>(t.days), 0);

    qint64 cursor = 1;
    for (const WeightRecord& r : records) {
        if (r.weight > t.heaviest)
            t.heaviest = r.weight;
        if (r.weight < t.lightest)
            t.lightest = r.weight;
        if (cursor > t.days)
            continue;
        const QDate date = recordDate(r.date);
        const qint64 day = date.isValid() ? t.firstDate.daysTo(date) + 1 : 0;
        // the cursor only moves forward: a record before it is out of order, and the scan
        // that looks for its day from the cursor on runs past the last day
        if (day < cursor || day > t.days) {
            cursor = static_cast<qint64>(t.days) + 1;
            continue;
        }
        cursor = day;
        t.sum[static_cast<size_t>(day - 1)] += r.weight;
        ++t.count[static_cast<size_t>(day - 1)];
    }
    return t;
}

GridModel emptyDailyList() {
    GridModel g;
    g.name = QStringLiteral("msgAvgtai");
    g.fixedColumns = 1;
    g.fontPt = 9;
    g.columns = {
        {QStringLiteral("数"), 500, Align::RightCenter},
        {QStringLiteral("日付"), 900, Align::CenterCenter},
        {QStringLiteral("体重"), 550, Align::RightCenter},
    };
    return g;
}

DailyView buildDailyView(const std::vector<WeightRecord>& records) {
    DailyView v;
    v.grid = emptyDailyList();
    v.chart = emptyChart();
    const DayTable table = buildDayTable(records);
    const int days = table.days;
    sizeGrid(v.grid, days);
    std::vector<double>& points = v.chart.series.front().points;
    points.reserve(static_cast<size_t>(days));
    v.dateList.reserve(days);
    v.chart.categoryLabels.reserve(days);

    DayWalk walk(table);
    QDate date = table.firstDate;
    for (int d = 1; d <= days; ++d, date = date.addDays(1)) {
        walk.step(d);
        const QString text = gridDate(date);
        fillRow(v.grid, d - 1, d, text, walk.meanText());
        v.dateList.append(text);
        v.chart.categoryLabels.append(text);
        points.push_back(walk.chartPoint());
    }
    if (!records.empty()) {
        v.startText = gridDate(recordDate(records.front().date));
        v.endText = gridDate(recordDate(records.back().date));
    }
    setAxes(table, v.chart);
    return v;
}

std::optional<QDate> readComboDate(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return std::nullopt;
    for (const QString& p : parts) {
        if (p.isEmpty())
            return std::nullopt;
        for (const QChar c : p)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
    }
    const QString& y = parts.at(0);
    if ((y.size() != 2 && y.size() != 4) || parts.at(1).size() > 2 || parts.at(2).size() > 2)
        return std::nullopt;
    int year = y.toInt();
    if (y.size() == 2)
        year += year < 30 ? 2000 : 1900;
    const QDate date(year, parts.at(1).toInt(), parts.at(2).toInt());
    if (!date.isValid() || year < 1)
        return std::nullopt;
    return date;
}

Result<Period> readPeriod(const QString& startText, const QString& endText) {
    const auto s = readComboDate(startText);
    if (!s)
        return Status::failure(
            QStringLiteral(
                "開始日%1は日付として読めません。\r\n日付は yy/mm/dd の形（例 03/11/08）で指定してください。")
                .arg(describe(startText)),
            periodRefusalTitle());
    const auto e = readComboDate(endText);
    if (!e)
        return Status::failure(
            QStringLiteral(
                "終了日%1は日付として読めません。\r\n日付は yy/mm/dd の形（例 03/11/08）で指定してください。")
                .arg(describe(endText)),
            periodRefusalTitle());
    if (*e < *s)
        return Status::failure(
            QStringLiteral("終了日（%1）が開始日（%2）より前になっています。\r\n期間を指定し直してください。")
                .arg(gridDate(*e), gridDate(*s)),
            periodRefusalTitle());
    if (s->daysTo(*e) + 1 > kMaxPeriodDays)
        return Status::failure(QStringLiteral("指定した期間が長すぎます。\r\n100年以内の期間を指定してください。"),
                               periodRefusalTitle());
    return Period{*s, *e};
}

QString periodRefusalTitle() {
    return QStringLiteral("期間の指定");
}

Status fillPeriod(const std::vector<WeightRecord>& records, const QString& startText, const QString& endText,
                  DailyView* view) {
    const auto period = readPeriod(startText, endText);
    if (!period)
        return period.status();
    const QDate start = period->start;
    const QDate end = period->end;

    const DayTable table = buildDayTable(records);
    const int rows = static_cast<int>(start.daysTo(end) + 1);
    GridModel grid = emptyDailyList();
    sizeGrid(grid, rows);
    ChartModel chart = emptyChart();
    std::vector<double>& points = chart.series.front().points;
    points.assign(static_cast<size_t>(rows), ChartModel::unset());
    chart.categoryLabels.reserve(rows);

    DayWalk walk(table);
    int r = 0;
    QDate date = table.firstDate;
    for (int d = 1; d <= table.days; ++d, date = date.addDays(1)) {
        // an End before the log's first day must not let the log's days overrun the rows
        if (date > end)
            break;
        walk.step(d);
        if (date < start)
            continue;
        const QString text = gridDate(date);
        fillRow(grid, r, r + 1, text, walk.meanText());
        chart.categoryLabels.append(text);
        points[static_cast<size_t>(r)] = walk.chartPoint();
        ++r;
    }
    while (chart.categoryLabels.size() < rows)
        chart.categoryLabels.append(QString());
    setAxes(table, chart);
    view->grid = std::move(grid);
    view->chart = std::move(chart);
    return {};
}

ViewModel viewModel(const DailyView& averages) {
    ViewModel v;
    v.view = QStringLiteral("daily");
    v.grids.push_back(averages.grid);
    v.charts.push_back(averages.chart);
    v.labels = {{QStringLiteral("cboStdate2"), averages.startText}, {QStringLiteral("cboEddate2"), averages.endText}};
    return v;
}

QString guidanceText() {
    return QStringLiteral("日毎の平均体重をリストとグラフに表示します。\r\n"
                          "\r\n"
                          "表示中の平均データはテキストデータに保存したり、印刷することができます。\r\n");
}

} // namespace puka::daily
