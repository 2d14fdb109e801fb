#include "core/edits/ImportPlan.h"

#include "core/files/Cp932.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <unordered_set>

namespace puka {
namespace {

// What makes two measurements the same: date, situation, weight and body fat.
struct Key {
    qint64 day = 0;
    float weight = 0;
    float bodyFat = 0;
    QString situation;

    bool operator==(const Key& o) const {
        return day == o.day && weight == o.weight && bodyFat == o.bodyFat && situation == o.situation;
    }
};

struct KeyHash {
    size_t operator()(const Key& k) const {
        std::uint32_t weight = 0;
        std::uint32_t fat = 0;
        std::memcpy(&weight, &k.weight, sizeof weight);
        std::memcpy(&fat, &k.bodyFat, sizeof fat);
        return qHashMulti(0, k.day, weight, fat, k.situation);
    }
};

using KeySet = std::unordered_set<Key, KeyHash>;

// The day number of a record's "yyyy/mm/dd" date, which the log's reader has checked.
qint64 dayOf(const QString& date) {
    const auto number = [&date](int from, int digits) {
        int v = 0;
        for (int i = from; i < from + digits; ++i)
            v = v * 10 + (date[i].unicode() - u'0');
        return v;
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2)).toJulianDay();
}

Key keyOf(qint64 day, const WeightRecord& r) {
    return {day, r.weight, r.bodyFat, r.situation};
}

Key keyOf(qint64 day, const csvimport::Row& row) {
    return {day, row.weight, row.bodyFat, row.resolvedSituation()};
}

// One line of the log: where its bytes are, and the day of its record (none when it is no
// measurement).
struct LogLine {
    qsizetype from = 0;
    qsizetype to = 0;
    std::optional<qint64> day;
};

// Cuts the log into lines at CR LF, LF or a lone CR, and reads each as the log's reader does.
std::vector<LogLine> readLog(const QByteArray& bytes, KeySet* keys) {
    std::vector<LogLine> lines;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    const auto take = [&](qsizetype end) {
        LogLine line{start, end, std::nullopt};
        if (const auto text = cp932::decode(QByteArray::fromRawData(data + start, end - start)))
            if (const auto record = datalog::parseLine(*text)) {
                line.day = dayOf(record->date);
                keys->insert(keyOf(*line.day, *record));
            }
        lines.push_back(line);
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] != '\r' && data[i] != '\n')
            continue;
        take(i);
        if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        take(n);
    return lines;
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

} // namespace

ImportPlan planImport(const std::optional<QByteArray>& log, const std::vector<csvimport::Row>& rows,
                      bool takeBeforeStart) {
    ImportPlan plan;
    if (log && cp932::looksLikeUtf8(*log)) {
        plan.status = Status::failure(cp932::utf8Message(files::kData));
        return plan;
    }
    plan.newLog = !log;
    KeySet logKeys;
    const std::vector<LogLine> lines = log ? readLog(*log, &logKeys) : std::vector<LogLine>();
    std::optional<qint64> startDay;
    for (const LogLine& line : lines) {
        if (line.day) {
            startDay = line.day;
            plan.startDate = dateText(QDate::fromJulianDay(*line.day));
            break;
        }
    }

    // the rows by date, then time of day, then their place in the file
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [&rows](size_t a, size_t b) {
        const csvimport::Row& x = rows[a];
        const csvimport::Row& y = rows[b];
        if (x.date != y.date)
            return x.date < y.date;
        const int xt = x.time.isValid() ? x.time.msecsSinceStartOfDay() : -1;
        const int yt = y.time.isValid() ? y.time.msecsSinceStartOfDay() : -1;
        if (xt != yt)
            return xt < yt;
        return x.lineNumber < y.lineNumber;
    });

    // duplicates of the file share a date, so an earlier row of the same date is all there is to compare with
    std::vector<size_t> taken;
    taken.reserve(rows.size());
    KeySet sameDay;
    qint64 currentDay = std::numeric_limits<qint64>::min();
    for (const size_t i : order) {
        const csvimport::Row& row = rows[i];
        const qint64 day = row.date.toJulianDay();
        if (day != currentDay) {
            sameDay.clear();
            currentDay = day;
        }
        Key key = keyOf(day, row);
        if (logKeys.count(key)) {
            ++plan.duplicatesOfLog;
            continue;
        }
        if (!sameDay.insert(std::move(key)).second) {
            ++plan.duplicatesInFile;
            continue;
        }
        if (startDay && day < *startDay) {
            if (plan.beforeStart++ == 0)
                plan.beforeStartFirst = row.date;
            if (!takeBeforeStart)
                continue;
        }
        taken.push_back(i);
    }
    plan.beforeStartTaken = takeBeforeStart && plan.beforeStart > 0;
    plan.added = static_cast<qint64>(taken.size());
    if (taken.empty())
        return plan;
    plan.firstAdded = rows[taken.front()].date;
    plan.lastAdded = rows[taken.back()].date;
    if (!startDay || plan.beforeStartTaken)
        plan.newStartDate = dateText(plan.firstAdded);
    else
        plan.newStartDate = plan.startDate;

    // The log's lines with the rows among them: a row goes directly before the first record of
    // a later date, as the entry's insert puts a record.
    QByteArray& out = plan.content;
    out.reserve((log ? log->size() : 0) + static_cast<qsizetype>(taken.size()) * 48);
    QString pending;
    const auto encodePending = [&]() {
        if (pending.isEmpty() || !plan.status)
            return;
        if (const auto bytes = cp932::encode(pending))
            out += *bytes;
        else
            plan.status = bytes.status();
        pending.clear();
    };
    size_t next = 0;
    const auto addRowsBefore = [&](std::optional<qint64> day) {
        for (; next < taken.size() && (!day || rows[taken[next]].date.toJulianDay() < *day); ++next) {
            pending += datalog::formatLine(rows[taken[next]].record());
            pending += QStringLiteral("\r\n");
            if (pending.size() >= 32 * 1024)
                encodePending();
        }
        encodePending();
    };
    for (const LogLine& line : lines) {
        if (line.day && next < taken.size())
            addRowsBefore(line.day);
        out.append(log->constData() + line.from, line.to - line.from);
        out.append("\r\n");
    }
    addRowsBefore(std::nullopt);
    if (!plan.status) {
        plan.content.clear();
        plan.added = 0;
    }
    return plan;
}

QStringList ImportPlan::summary() const {
    QStringList lines;
    if (!status) {
        lines << status.message();
        return lines;
    }
    if (added > 0)
        lines
            << QStringLiteral("追加する行: %1 行（%2～%3）").arg(added).arg(dateText(firstAdded), dateText(lastAdded));
    else
        lines << QStringLiteral("追加する行: 0 行（記録は変わりません）");
    if (duplicatesOfLog + duplicatesInFile > 0)
        lines << QStringLiteral("重複のため取り込まない行: %1 行（記録にあるもの %2 行、ファイル内の重複 %3 行）")
                     .arg(duplicatesOfLog + duplicatesInFile)
                     .arg(duplicatesOfLog)
                     .arg(duplicatesInFile);
    if (beforeStart > 0)
        lines << (beforeStartTaken
                      ? QStringLiteral("開始記録（%1）より前の行: %2 行（取り込み、開始日は %3 になります）")
                            .arg(startDate)
                            .arg(beforeStart)
                            .arg(newStartDate)
                      : QStringLiteral("開始記録（%1）より前の行: %2 行（取り込みません）")
                            .arg(startDate)
                            .arg(beforeStart));
    if (newLog && added > 0)
        lines << QStringLiteral("記録ファイル「%1」を新しく作ります（最初の行 %2 が開始記録になります）")
                     .arg(files::kData, newStartDate);
    return lines;
}

QString ImportPlan::beforeStartQuestion() const {
    if (beforeStart == 0)
        return QString();
    return QStringLiteral("開始記録（%1）より前の日付の行が %2 行あります。\r\n"
                          "取り込むと開始日が %3 に変わり、開始時からの変化はその日から数えます。\r\n"
                          "これらの行も取り込みますか？（取り込まない場合も、ほかの行は取り込めます）")
        .arg(startDate)
        .arg(beforeStart)
        .arg(dateText(beforeStartFirst));
}

} // namespace puka
