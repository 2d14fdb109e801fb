#include "core/views/AnalysisView.h"

#include "core/base/NumberFormat.h"

#include <QDate>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

namespace puka::analysis {
namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

GridModel emptyGrid(const QString& name, const std::vector<std::pair<QString, int>>& columns) {
    GridModel g;
    g.name = name;
    g.fixedColumns = 0;
    g.fontPt = 11;
    for (const auto& [header, width] : columns)
        g.columns.push_back({header, width, Align::RightCenter, Align::CenterCenter});
    return g;
}

GridModel gridB1() {
    return emptyGrid(QStringLiteral("msgB1"), {{QStringLiteral("回数"), 1150},
                                               {QStringLiteral("日付"), 1500},
                                               {QStringLiteral("体重"), 1165},
                                               {QStringLiteral("初回差"), 1160}});
}

GridModel gridB2() {
    return emptyGrid(QStringLiteral("msgB2"), {{QStringLiteral("区切り"), 1150},
                                               {QStringLiteral("日付"), 1500},
                                               {QStringLiteral("達成"), 1165},
                                               {QStringLiteral("経過"), 1160}});
}

GridModel gridB3() {
    return emptyGrid(QStringLiteral("msgB3"), {{QStringLiteral("回数"), 1150},
                                               {QStringLiteral("体重"), 1150},
                                               {QStringLiteral("平均体重"), 1520},
                                               {QStringLiteral("差"), 1150}});
}

GridModel gridB4() {
    return emptyGrid(QStringLiteral("msgB4"), {{QStringLiteral("順位"), 1150},
                                               {QStringLiteral("体重範囲"), 2000},
                                               {QStringLiteral("累積"), 910},
                                               {QStringLiteral("差"), 910}});
}

// Beyond 10 grid rows (header included) the newest row is kept in view.
void scrollToEnd(GridModel* g) {
    g->topRow = g->bodyRows() + 1 > 10 ? g->bodyRows() : 0;
}

QString caption(BandStep step) {
    return step == BandStep::One ? QStringLiteral("    体重推移累積番付 < 1.0Kg刻み >")
                                 : QStringLiteral("    体重推移累積番付 < 0.5Kg刻み >");
}

qint64 daysBetween(const QString& from, const QString& to) {
    return QDate::fromString(from, kDateFormat).daysTo(QDate::fromString(to, kDateFormat));
}

} // namespace

AnalysisView emptyAnalysisView() {
    AnalysisView v;
    v.timeSeries = gridB1();
    v.milestones = gridB2();
    v.meanTrend = gridB3();
    v.ranking = gridB4();
    v.rankingCaption = caption(BandStep::Half);
    return v;
}

float roundTenth(float x) {
    const float scaled = x * 10.0f;
    return static_cast<float>(std::floor(static_cast<double>(scaled) + 0.5) / 10.0);
}

namespace {

/// The time series: every record's weight and its rounded difference, texts made on demand.
class TimeSeriesRows : public GridRows {
public:
    TimeSeriesRows(const AnalysisSnapshot& s, DifferenceMode mode)
        : m_date(s.date), m_weight(s.weight), m_difference(s.weight.size()) {
        for (size_t i = 1; i < m_weight.size(); ++i)
            m_difference[i] =
                roundTenth(m_weight[i] - (mode == DifferenceMode::Previous ? m_weight[i - 1] : m_weight[0]));
    }
    int count() const override { return static_cast<int>(m_weight.size()); }
    void appendText(int row, int column, TextBuffer* out) const override {
        const size_t i = static_cast<size_t>(row);
        switch (column) {
        case 0:
            appendInteger(out, row + 1, u"回目");
            return;
        case 1:
            out->append(m_date[i]);
            return;
        case 2:
            out->append(formats::kg(m_weight[i]));
            return;
        case 3:
            out->append(formats::signedKg(m_difference[i]));
            return;
        default:
            return;
        }
    }

private:
    std::vector<QString> m_date;
    std::vector<float> m_weight;
    std::vector<float> m_difference;
};

/// The running mean after every record and its change in grams, texts made on demand.
class MeanRows : public GridRows {
public:
    struct Row {
        float weight;
        float mean;
        float grams; ///< the change of the mean; 0 on the first row
    };
    std::vector<Row>& rows() { return m_rows; }
    int count() const override { return static_cast<int>(m_rows.size()); }
    void appendText(int row, int column, TextBuffer* out) const override {
        const Row& r = m_rows[static_cast<size_t>(row)];
        switch (column) {
        case 0:
            appendInteger(out, row + 1, u"回目");
            return;
        case 1:
            out->append(formats::kg(r.weight));
            return;
        case 2:
            out->append(fixedText(r.mean, 3, {}, u"Kg"));
            return;
        case 3:
            // the first row has no change: it shows 0g without a sign
            out->append(fixedText(r.grams, 0,
                                  row == 0       ? QStringView()
                                  : r.grams == 0 ? QStringView(u"±")
                                  : r.grams > 0  ? QStringView(u"+")
                                                 : QStringView(),
                                  u"g"));
            return;
        default:
            return;
        }
    }

private:
    std::vector<Row> m_rows;
};

} // namespace

void fillTimeSeries(const AnalysisSnapshot& s, DifferenceMode mode, GridModel* timeSeries) {
    if (s.empty())
        return;
    GridModel g = gridB1();
    g.columns[3].header = mode == DifferenceMode::Previous ? QStringLiteral("前回差") : QStringLiteral("初回差");
    g.setRows(std::make_shared<TimeSeriesRows>(s, mode));
    scrollToEnd(&g);
    *timeSeries = std::move(g);
}

void fillMilestones(const AnalysisSnapshot& s, GridModel* milestones, QString* milestoneSummary) {
    if (s.empty())
        return;
    const float first = s.weight[0];
    const float bestLoss = roundTenth(first - s.minWeight);
    const double steps = std::floor(static_cast<double>(bestLoss) / 0.5);
    const int n = steps <= 0 ? 0 : steps >= kMaxMilestoneRows ? kMaxMilestoneRows : static_cast<int>(steps);

    GridModel g = gridB2();
    g.addRows(n);
    // A record that reaches a milestone reaches every lower one too, so the reached milestones
    // are always the first `next` ones and each record only looks at the milestones above them.
    const QDate start = QDate::fromString(s.date[0], kDateFormat);
    int next = 0;
    qint64 previousDays = 0;
    for (int i = 0; i < s.count() && next < n; ++i) {
        const float loss = first - s.weight[static_cast<size_t>(i)];
        if (!(0.5 * (next + 1) <= static_cast<double>(loss)))
            continue;
        const qint64 days = start.daysTo(QDate::fromString(s.date[static_cast<size_t>(i)], kDateFormat));
        while (next < n && 0.5 * (next + 1) <= static_cast<double>(loss)) {
            g.setCell(next, 0, fixedText(0.5 * (next + 1), 1, {}, u"Kg減"));
            g.setCell(next, 1, s.date[static_cast<size_t>(i)]);
            g.setCell(next, 2, integerText(days, u"日後"));
            g.setCell(next, 3, integerText(days - previousDays, u"日後"));
            previousDays = days;
            ++next;
        }
    }
    scrollToEnd(&g);
    *milestones = std::move(g);
    if (n == 0)
        return; // no milestone: the label keeps what it said before
    *milestoneSummary = QStringLiteral("最高　") + formats::kg(first - s.minWeight) +
                        QStringLiteral("減を達成してから　") +
                        QString::number(daysBetween(s.minWeightDate, s.date.back())) + QStringLiteral("日経過");
}

void fillMeanTrend(const AnalysisSnapshot& s, GridModel* meanTrend, QString* meanTrendSummary) {
    if (s.empty())
        return;
    GridModel g = gridB3();
    const int count = s.count();
    auto rows = std::make_shared<MeanRows>();
    rows->rows().reserve(static_cast<size_t>(count));
    float sum = 0;
    float previousMean = 0;
    int streak = 0;
    for (int i = 1; i <= count; ++i) {
        const float weight = s.weight[static_cast<size_t>(i) - 1];
        sum += weight;
        const float mean = sum / static_cast<float>(i);
        float grams = 0;
        if (i > 1) {
            grams = (mean - previousMean) * 1000.0f;
            if (grams > 0)
                streak = 0;
            else
                ++streak;
        }
        rows->rows().push_back({weight, mean, grams});
        previousMean = mean;
    }
    g.setRows(std::move(rows));
    scrollToEnd(&g);
    *meanTrend = std::move(g);
    *meanTrendSummary = streak > 0
                            ? QStringLiteral("連続マイナス記録 ") + QString::number(streak) + QStringLiteral("回達成！")
                            : QStringLiteral("平均を上回ってしまいました...");
}

std::vector<int> exchangeOrder(const std::vector<int>& visits) {
    const int n = static_cast<int>(visits.size());
    std::vector<int> item(visits.size());
    std::iota(item.begin(), item.end(), 0);
    std::vector<int> value = visits;
    if (n < 2)
        return item;

    // A max tree over the positions finds the next larger count to the right in log n steps.
    int size = 1;
    while (size < n)
        size <<= 1;
    std::vector<int> tree(2 * static_cast<size_t>(size), std::numeric_limits<int>::min());
    for (int p = 0; p < n; ++p)
        tree[static_cast<size_t>(size + p)] = value[static_cast<size_t>(p)];
    for (int node = size - 1; node > 0; --node)
        tree[static_cast<size_t>(node)] =
            std::max(tree[2 * static_cast<size_t>(node)], tree[2 * static_cast<size_t>(node) + 1]);
    const auto at = [&tree](int node) { return tree[static_cast<size_t>(node)]; };
    const auto update = [&](int p) {
        int node = size + p;
        tree[static_cast<size_t>(node)] = value[static_cast<size_t>(p)];
        for (node >>= 1; node > 0; node >>= 1)
            tree[static_cast<size_t>(node)] = std::max(at(2 * node), at(2 * node + 1));
    };
    // the first position at or after `from` whose count exceeds `x`, or -1
    const auto firstAbove = [&](int from, int x) {
        if (from >= n)
            return -1;
        int node = size + from;
        if (at(node) > x)
            return from;
        for (;;) {
            while (node > 1 && (node & 1))
                node >>= 1;
            if (node <= 1)
                return -1;
            ++node;
            if (at(node) > x)
                break;
        }
        while (node < size) {
            node <<= 1;
            if (at(node) <= x)
                ++node;
        }
        return node - size;
    };

    // Pass j of the exchange sort swaps position j with each later count that beats the one
    // it holds at that moment: those are the rising record counts after j. The held items
    // move one step along that chain, and the largest count lands at j.
    std::vector<int> chain;
    for (int j = 0; j + 1 < n; ++j) {
        chain.clear();
        int from = j;
        int held = value[static_cast<size_t>(j)];
        for (int m; (m = firstAbove(from + 1, held)) >= 0;) {
            chain.push_back(m);
            held = value[static_cast<size_t>(m)];
            from = m;
        }
        int carriedItem = item[static_cast<size_t>(j)];
        int carriedValue = value[static_cast<size_t>(j)];
        for (int m : chain) {
            std::swap(item[static_cast<size_t>(m)], carriedItem);
            std::swap(value[static_cast<size_t>(m)], carriedValue);
            update(m);
        }
        item[static_cast<size_t>(j)] = carriedItem;
        value[static_cast<size_t>(j)] = carriedValue;
    }
    return item;
}

void fillRanking(const AnalysisSnapshot& s, BandStep stepChoice, GridModel* ranking, QString* rankingCaption) {
    if (s.empty())
        return;
    *rankingCaption = caption(stepChoice);
    const float step = stepChoice == BandStep::One ? 1.0f : 0.5f;
    const double top = std::floor(static_cast<double>(s.maxWeight)) + 1;
    const double bottom = std::floor(static_cast<double>(s.minWeight));
    const double lastBand = std::round((top - bottom) / step);
    const auto lowerOf = [&](qint64 j) {
        return roundTenth(static_cast<float>(bottom) + static_cast<float>(j) * step);
    };

    // Bands are disjoint and ascending, so the one band a weight can fall in is found by
    // division; its neighbours are checked too because the bounds are rounded single values.
    std::vector<qint64> bandOfRecord;
    bandOfRecord.reserve(s.weight.size());
    for (const float w : s.weight) {
        const double guess = std::floor((static_cast<double>(w) - bottom) / step);
        if (!(guess >= -1 && guess <= lastBand + 1 && guess < 9e15))
            continue;
        const qint64 g = static_cast<qint64>(guess);
        for (qint64 j = std::max<qint64>(g - 1, 0); j <= g + 1 && j <= lastBand; ++j) {
            const float lower = lowerOf(j);
            const float upper = static_cast<float>(static_cast<double>(lower) + step - 0.01);
            if (lower <= w && w < upper) {
                bandOfRecord.push_back(j);
                break;
            }
        }
    }
    std::sort(bandOfRecord.begin(), bandOfRecord.end());
    // Bands without a visit neither show nor change the order of the others in the exchange
    // sort, so only the visited bands are ranked, in ascending weight order.
    std::vector<qint64> band;
    std::vector<int> visits;
    for (size_t i = 0; i < bandOfRecord.size();) {
        size_t end = i;
        while (end < bandOfRecord.size() && bandOfRecord[end] == bandOfRecord[i])
            ++end;
        band.push_back(bandOfRecord[i]);
        visits.push_back(static_cast<int>(end - i));
        i = end;
    }
    const std::vector<int> order = exchangeOrder(visits);

    GridModel g = gridB4();
    g.addRows(static_cast<int>(order.size()));
    int above = 0;
    for (size_t r = 0; r < order.size(); ++r) {
        const size_t b = static_cast<size_t>(order[r]);
        const float lower = lowerOf(band[b]);
        const int row = static_cast<int>(r);
        g.setCell(row, 0, countText(row + 1, u"位"));
        g.setCell(row, 1,
                  formats::one(lower) + QStringLiteral("～") +
                      fixedText(static_cast<double>(lower) + (static_cast<double>(step) - 0.1), 1) +
                      QStringLiteral("Kg"));
        g.setCell(row, 2, integerText(visits[b], u"回"));
        if (r > 0)
            g.setCell(row, 3, integerText(above - visits[b], u"回"));
        above = visits[b];
    }
    *ranking = std::move(g);
}

void fill(const AnalysisSnapshot& snapshot, DifferenceMode mode, BandStep step, AnalysisView* view) {
    fillTimeSeries(snapshot, mode, &view->timeSeries);
    fillMilestones(snapshot, &view->milestones, &view->milestoneSummary);
    fillMeanTrend(snapshot, &view->meanTrend, &view->meanTrendSummary);
    fillRanking(snapshot, step, &view->ranking, &view->rankingCaption);
}

ViewModel viewModel(const AnalysisView& view) {
    ViewModel v;
    v.view = QStringLiteral("analysis");
    v.grids = {view.timeSeries, view.milestones, view.meanTrend, view.ranking};
    v.labels = {{QStringLiteral("Label5(0)"), view.milestoneSummary},
                {QStringLiteral("Label5(1)"), view.meanTrendSummary},
                {QStringLiteral("fraB4"), view.rankingCaption}};
    return v;
}

QString guidanceText() {
    return QStringList{
        QStringLiteral("登録されている体重データを元に４つの分析結果を一覧表示します。"),
        QString(),
        QStringLiteral("　・時系列連続体重：体重の推移です。前回との差と初回との差で切り替えができます。"),
        QString(),
        QStringLiteral("　・区切り経過　　　：０．５Ｋｇを区切りとして何日後に達成したかが把握できます。"),
        QString(),
        QStringLiteral("　・体重平均推移　　：体重推移の平均です。停滞期でも下がっていくので励みになります。"),
        QString(),
        QStringLiteral(
            "　・体重推移累積番付：何回その体重区間に滞在したかが把握できます。停滞期も楽しく乗りきれます！？"),
        QString(),
        QString(),
        QStringLiteral("これらの情報を利用してダイエットの励みにしましょう。"),
    }
        .join(QStringLiteral("\r\n"));
}

} // namespace puka::analysis
