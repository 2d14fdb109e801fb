#include "core/edits/MeasurementEntry.h"

#include "core/base/Clock.h"
#include "core/base/Messages.h"
#include "core/base/NumberFormat.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FolderWriteLock.h"

#include <QRegularExpression>

#include <cmath>
#include <tuple>

namespace puka::entry {

bool isNumeric(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    return number.match(text.trimmed()).hasMatch();
}

std::optional<Check> firstCheck(const Input& in, int fromStep) {
    const QString notNumber = QStringLiteral("数値を入力してください");
    const double weight = leadingNumber(in.weightText);
    const double fat = leadingNumber(in.fatText);
    // in their fixed order: a later check may assume the earlier ones passed
    for (int step = fromStep; step <= 10; ++step) {
        std::optional<Check> c;
        auto refuse = [&](const QString& message, const QString& title, bool confirm = false) {
            c = Check{step, Notice{message, title}, confirm};
        };
        switch (step) {
        case 0:
            if (in.sampleMode)
                refuse(messages::sampleDataRefusal(), messages::sampleDataRefusalTitle());
            break;
        case 1:
            if (in.situation.isEmpty())
                refuse(QStringLiteral("行動が指定されていません"), QStringLiteral("行動未入力"));
            break;
        case 2:
            if (in.weightText.isEmpty())
                refuse(QStringLiteral("体重が入力されていません"), QStringLiteral("体重未入力"));
            break;
        case 3:
            if (!isNumeric(in.weightText))
                refuse(notNumber, QStringLiteral("数値以外入力"));
            break;
        case 4:
            if (weight <= 0)
                refuse(QStringLiteral("０以下が入力されています"), messages::abnormalInputTitle());
            break;
        case 5:
            if (weight >= 999)
                refuse(QStringLiteral("９９９以上は入力できません"), QStringLiteral("入力制限"));
            break;
        case 6:
            if (std::fabs(static_cast<double>(in.currentWeight) - weight) >= 5)
                refuse(QStringLiteral("前回より５Ｋｇ以上の変動がありますが間違いありませんか？"),
                       messages::abnormalCheckTitle(), true);
            break;
        case 7:
            if (in.fatText.isEmpty())
                refuse(QStringLiteral("体脂肪率が入力されていません"), QStringLiteral("体脂肪率未入力"));
            break;
        case 8:
            if (!isNumeric(in.fatText))
                refuse(notNumber, QStringLiteral("数値以外入力"));
            break;
        case 9:
            if (fat < 0)
                refuse(QStringLiteral("０未満が入力されています"), messages::abnormalInputTitle());
            break;
        case 10:
            if (std::fabs(static_cast<double>(in.currentBodyFat) - fat) >= 10)
                refuse(QStringLiteral("前回より１０％以上の変動がありますが間違いありませんか？"),
                       messages::abnormalCheckTitle(), true);
            break;
        }
        if (c)
            return c;
    }
    return std::nullopt;
}

Result<QString> stepped(const QString& fieldText, const QString& stepText, int direction) {
    const auto step = parseNumber(stepText);
    if (!step || !(*step > 0))
        return Status::failure(QStringLiteral("刻み「%1」が正の数ではないため、↑↓ボタンは使えません。\r\n"
                                              "編集画面の「入力刻み」で刻みを指定してください。")
                                   .arg(stepText),
                               QStringLiteral("入力刻み"));
    const double value = leadingNumber(fieldText) + direction * *step;
    return shortestText(value);
}

std::pair<WeightRecord, Placement> makeRecord(const Input& in, const QDate& day, const QString& lastDate,
                                              bool timeStamp, const QTime& now) {
    WeightRecord r;
    r.date = day.toString(QStringLiteral("yyyy/MM/dd"));
    r.situation = in.situation;
    r.weight = static_cast<float>(leadingNumber(in.weightText));
    r.bodyFat = static_cast<float>(leadingNumber(in.fatText));
    if (lastDate > r.date)
        return {r, Placement::Insert};
    if (timeStamp)
        r.comment = clock::timeText(now);
    return {r, Placement::Append};
}

Status saveEntry(const QString& dir, const Input& input, const QDate& day, bool timeStamp, const QTime& now,
                 const std::optional<QString>& comment, SaveResult* result) {
    SaveResult saved;
    const auto done = [result, &saved](const Status& status) {
        if (result)
            *result = saved;
        return status;
    };
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return done(lock.failure(resolveFile(dir, files::kData)));
    const auto lastDate = datalog::lastRecordDate(dir);
    if (!lastDate)
        return done(lastDate.status());
    std::tie(saved.record, saved.placement) = makeRecord(input, day, *lastDate, timeStamp, now);
    if (comment)
        saved.record.comment = *comment;
    const Status problem = datalog::recordProblem(saved.record);
    if (!problem) {
        saved.refused = true;
        return done(problem);
    }
    return done(saved.placement == Placement::Insert ? datalog::insertRecord(dir, saved.record)
                                                     : datalog::appendRecord(dir, saved.record));
}

bool isSampleData(const QString& startDate, const Profile& profile) {
    return startDate == QLatin1String("2003/07/25") && profile.userName == QStringLiteral("ｔ＆Ｔ") &&
           profile.targetWeight == 65.0f && profile.height == 168.5f;
}

QString freePrompt() {
    return QStringLiteral("状況リストに無い内容をフリーで入力できます。\n\n任意の言葉で内容を書き込んでください。\n\n"
                          "体重は通常と同じように ↓↑ボタンで指定してください。\n");
}

} // namespace puka::entry
