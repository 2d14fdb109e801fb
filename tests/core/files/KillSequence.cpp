#include "tests/core/files/KillSequence.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/TextLines.h"

#include <QDate>

namespace puka::killtest {
namespace {

WeightRecord makeRecord(const QDate& date, const QString& situation, float weight, const QString& comment) {
    WeightRecord r;
    r.date = date.toString(QStringLiteral("yyyy/MM/dd"));
    r.situation = situation;
    r.weight = weight;
    r.comment = comment;
    r.bodyFat = 22.5f;
    return r;
}

const QDate kFirstDay(2003, 1, 1);
const int kDays = 300;

} // namespace

QByteArray initialLog() {
    // large enough that a whole rewrite takes a while: kills land inside the writes too
    QStringList lines;
    for (int day = 0; day < kDays; ++day)
        for (const QString& situation : {QStringLiteral("朝"), QStringLiteral("昼食後"), QStringLiteral("夜")})
            lines.append(datalog::formatLine(makeRecord(kFirstDay.addDays(day), situation,
                                                        70.0f + static_cast<float>(day % 17) / 10,
                                                        QStringLiteral("いつもの一言日記"))));
    const auto bytes = encodeLines(lines);
    return bytes ? *bytes : QByteArray();
}

int stepCount() {
    return 24;
}

Status step(const QString& dir, int index) {
    const QString tag = QString::number(index);
    switch (index % 4) {
    case 0: // a later day: appended
        return datalog::appendRecord(
            dir, makeRecord(kFirstDay.addDays(kDays + index), QStringLiteral("追加") + tag, 69.5f, QString()));
    case 1: // an earlier day: inserted through the copy file
        return datalog::insertRecord(dir, makeRecord(kFirstDay.addDays((index * 37) % kDays),
                                                     QStringLiteral("挿入") + tag, 71.25f, QStringLiteral("9:05:03")));
    case 2: // a rewrite through a copy name, as the situation renaming does
        return datalog::rewriteLog(dir, [&](WeightRecord& r) {
            if (r.situation != QStringLiteral("朝"))
                return false;
            r.comment = QStringLiteral("書き換え") + tag;
            return true;
        });
    default: { // the diary save
        std::vector<WeightRecord> records = datalog::readLog(dir).records;
        records.at(static_cast<size_t>(index) % records.size()).comment = QStringLiteral("日記") + tag;
        return datalog::writeLog(dir, records);
    }
    }
}

} // namespace puka::killtest
