#include "bench/LogGenerator.h"

#include "core/base/Clock.h"
#include "core/base/WeightRecord.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "core/files/TextLines.h"

#include <QFile>
#include <QStringList>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace puka::bench {
namespace {

const QStringList kEveryday = {QStringLiteral("起床後"), QStringLiteral("朝食後"), QStringLiteral("昼食後"),
                               QStringLiteral("間食後"), QStringLiteral("夕食前"), QStringLiteral("夕食後"),
                               QStringLiteral("運動後"), QStringLiteral("入浴後"), QStringLiteral("就寝前")};

// The hobbies of the years: every two or three years the user takes up something new and
// names situations after it.
const std::vector<QStringList> kEras = {
    {QStringLiteral("ジョギング後"), QStringLiteral("散歩後")},
    {QStringLiteral("ジム後"), QStringLiteral("プール後"), QStringLiteral("サウナ後")},
    {QStringLiteral("ヨガ後"), QStringLiteral("ストレッチ後")},
    {QStringLiteral("自転車通勤後"), QStringLiteral("ウォーキング後")},
    {QStringLiteral("テニス後"), QStringLiteral("筋トレ後"), QStringLiteral("岩盤浴後")},
};

const QStringList kComments = {QStringLiteral("飲み会で食べ過ぎた…"),
                               QStringLiteral("ジョギング３０分"),
                               QStringLiteral("停滞期かな？"),
                               QStringLiteral("ケーキを２個も食べてしまった"),
                               QStringLiteral("体重計の電池を交換"),
                               QStringLiteral("出張中は外食ばかり"),
                               QStringLiteral("朝より減ったので満足"),
                               QStringLiteral("①腹筋 ②背筋"),
                               QStringLiteral("夜９時以降は食べない～"),
                               QStringLiteral("髙橋さんと焼肉、反省"),
                               QStringLiteral("スーツのウエストがゆるくなった！"),
                               QStringLiteral("ラーメン大盛り。反省")};

// Extra weight on the scale after each kind of situation (kg).
double situationOffset(int everydayIndex) {
    static const double kOffsets[] = {0.0, 0.4, 0.6, 0.3, 0.5, 0.9, -0.3, -0.2, 0.6};
    return kOffsets[everydayIndex];
}

double onScale(double kg, double step) {
    return std::round(kg / step) * step;
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

GeneratedLog writeDataSet(const QString& dir, int records, const QDate& lastDay) {
    std::mt19937 rng(20031108u + static_cast<unsigned>(records));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 1.0);

    // Records per day: most days three to six weigh-ins, some only one, about one day in
    // fifteen none at all (trips, busy days); the last day is a busy one.
    std::discrete_distribution<int> perDay({6, 5, 8, 12, 18, 22, 16, 9, 4});
    std::vector<int> counts;
    int total = 0;
    while (total < records) {
        int n = perDay(rng);
        if (counts.empty() && n == 0)
            n = 1;
        n = std::min(n, records - total);
        counts.push_back(n);
        total += n;
    }
    if (counts.back() == 0)
        counts.back() = 1;
    const int lastBusy = std::min(12, records);
    // move records to the last day so that it holds lastBusy of them, taking from earlier days
    for (int need = lastBusy - counts.back(), i = static_cast<int>(counts.size()) - 2; need > 0 && i > 0; --i) {
        const int take = std::min(need, std::max(0, counts[static_cast<size_t>(i)] - 1));
        counts[static_cast<size_t>(i)] -= take;
        counts.back() += take;
        need -= take;
    }

    GeneratedLog g;
    g.records = records;
    g.days = static_cast<int>(counts.size());
    g.first = lastDay.addDays(-(g.days - 1));
    g.last = lastDay;

    std::vector<WeightRecord> log;
    log.reserve(static_cast<size_t>(records));
    double trend = 78.0;
    double drift = -0.01;
    int busiest = -1;
    const int eraDays = 900; // about two and a half years
    for (int day = 0; day < g.days; ++day) {
        const int n = counts[static_cast<size_t>(day)];
        const QDate date = g.first.addDays(day);
        const QString dateText = date.toString(QStringLiteral("yyyy/MM/dd"));
        // the trend wanders between a diet and a relapse, never far from a healthy range
        if (day % 120 == 0)
            drift = (trend > 74 ? -0.012 : 0.008) + 0.01 * noise(rng);
        trend = std::clamp(trend + drift + 0.05 * noise(rng), 55.0, 95.0);
        if (n == 0)
            continue;
        if (busiest < 0 || n > counts[static_cast<size_t>(busiest)])
            busiest = day;
        if (g.middleDay.isNull() && day >= g.days / 2)
            g.middleDay = date;
        const QStringList& era = kEras[static_cast<size_t>(day / eraDays) % kEras.size()];
        const bool stamping = (day / 200) % 7 == 3;             // the automatic time stamp was on for a while
        const double step = (day / 1500) % 2 == 0 ? 0.1 : 0.05; // the user bought a finer scale
        int slot = 0;
        QTime time(6, 30 + static_cast<int>(unit(rng) * 29));
        for (int i = 0; i < n; ++i) {
            WeightRecord r;
            r.date = dateText;
            double offset = 0;
            const double pick = unit(rng);
            if (pick < 0.12) {
                r.situation = clock::timeText(time);
            } else if (pick < 0.24) {
                r.situation = era.at(static_cast<qsizetype>(unit(rng) * era.size()));
                offset = -0.4;
            } else if (pick < 0.25) {
                r.situation = QStringLiteral("飲み会後");
                offset = 1.1;
            } else {
                slot = std::min<int>(8, slot + static_cast<int>(unit(rng) * 3));
                r.situation = kEveryday.at(slot);
                offset = situationOffset(slot);
            }
            r.weight = static_cast<float>(onScale(trend + offset + 0.15 * noise(rng), step));
            r.bodyFat = static_cast<float>(std::round((18 + (trend - 55) * 0.3 + 0.4 * noise(rng)) * 10) / 10);
            if (stamping)
                r.comment = clock::timeText(time);
            else if (unit(rng) < 0.08)
                r.comment = kComments.at(static_cast<qsizetype>(unit(rng) * kComments.size()));
            time = time.addSecs(1800 + static_cast<int>(unit(rng) * 7200));
            log.push_back(std::move(r));
        }
    }
    g.busiestDay = g.first.addDays(busiest);

    QStringList lines;
    lines.reserve(records);
    for (const WeightRecord& r : log)
        lines.append(datalog::formatLine(r));
    const auto bytes = encodeLines(lines);
    if (!bytes || !writeBytes(dir + QLatin1Char('/') + files::kData, *bytes))
        qFatal("cannot write the generated log");

    // the user of some years: own profile, no help tour, the list of the latest hobbies
    settings::writeProfile(dir, Profile{QStringLiteral("ベンチ太郎"), 171.5f, 68.0f});
    settings::writeHelpTour(dir, 0);
    settings::writeSteps(dir, Steps{QStringLiteral("0.05"), QStringLiteral("0.1")});
    settings::writeMovingAverage(dir, QStringLiteral("10"));
    settings::writeMarker(dir, 1);
    settings::writeTimeStamp(dir, 0);
    settings::writeNotes(dir, QStringLiteral("・朝起きてトイレの後に量るのが一番正確。\r\n・夜９時以降は食べない！"));
    QStringList situations = kEveryday;
    situations += kEras[static_cast<size_t>((g.days - 1) / eraDays) % kEras.size()];
    situations.append(QStringLiteral("飲み会後"));
    const auto list = encodeLines(situations);
    if (!list || !writeBytes(dir + QLatin1Char('/') + files::kSituations, *list))
        qFatal("cannot write the situation list");
    return g;
}

} // namespace puka::bench
