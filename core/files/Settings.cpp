#include "core/files/Settings.h"

#include "core/base/NumberFormat.h"
#include "core/files/Cp932.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/TextLines.h"

#include <cmath>
#include <optional>

namespace puka::settings {
namespace {

// The lines of a setting file, or nothing when it is missing or unreadable.
struct Lines {
    bool missing = false;
    QStringList lines; ///< non-blank decoded lines
    QString problem;
};

Lines readLines(const QString& dir, const QString& name, bool keepBlank = false) {
    Lines result;
    const TextFile file = readTextFile(dir, name);
    result.missing = file.missing;
    result.problem = file.problem;
    for (const QString& line : file.decoded.lines)
        if (keepBlank || !line.trimmed().isEmpty())
            result.lines.append(line);
    if (file.decoded.undecodable > 0)
        result.problem = QStringLiteral("「%1」に Shift_JIS として読めない行がありました。").arg(name);
    return result;
}

QString malformed(const QString& name, const QString& fallback) {
    return QStringLiteral("「%1」の内容が読み取れませんでした。\r\n%2として続けます。").arg(name, fallback);
}

QStringList fieldsOf(const QString& line) {
    const auto fields = splitFields(line);
    return fields ? *fields : QStringList();
}

std::optional<int> integerIn(const QString& text, int low, int high) {
    const auto v = parseNumber(text);
    // the range first: a cast of a value beyond int is undefined
    if (!v || *v < low || *v > high || *v != static_cast<int>(*v))
        return std::nullopt;
    return static_cast<int>(*v);
}

// One-value files: the first field of the first line, or the default with a problem.
Setting<int> readFlag(const QString& dir, const QString& name, int fieldIndex, int low, int high, int fallback,
                      const QString& fallbackText) {
    Setting<int> s;
    s.value = fallback;
    const Lines l = readLines(dir, name);
    s.missing = l.missing;
    if (l.missing)
        return s;
    const QStringList fields = l.lines.isEmpty() ? QStringList() : fieldsOf(l.lines.first());
    const auto v = fields.size() > fieldIndex ? integerIn(fields.at(fieldIndex), low, high) : std::nullopt;
    if (v)
        s.value = *v;
    else
        s.problem = malformed(name, fallbackText);
    return s;
}

// A setting file holds one value, so the new value replaces it whole; the write lock keeps it
// from landing in the middle of another writer's change.
Status writeLines(const QString& dir, const QString& name, const QStringList& lines) {
    const auto bytes = encodeLines(lines);
    if (!bytes)
        return bytes.status();
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, name);
    if (!lock.locked())
        return lock.failure(path);
    return writeFileAtomic(path, *bytes);
}

// A number in the plain form stands between two blanks: 1 is written " 1 ".
QString plainNumber(int value) {
    return QLatin1Char(' ') + QString::number(value) + QLatin1Char(' ');
}

} // namespace

Setting<int> readHelpTour(const QString& dir) {
    return readFlag(dir, files::kHelpTour, 1, 0, 1, kDefaultHelpTour, QStringLiteral("ヘルプツアーはオン"));
}

Status writeHelpTour(const QString& dir, int flag) {
    return writeLines(dir, files::kHelpTour,
                      {quoted(QStringLiteral("ヘルプツアー")) + QLatin1Char(',') + QString::number(flag)});
}

Setting<Steps> readSteps(const QString& dir) {
    Setting<Steps> s;
    const Lines l = readLines(dir, files::kSteps);
    s.missing = l.missing;
    if (l.missing)
        return s;
    const QStringList first = l.lines.size() > 0 ? fieldsOf(l.lines.at(0)) : QStringList();
    const QStringList second = l.lines.size() > 1 ? fieldsOf(l.lines.at(1)) : QStringList();
    if (first.isEmpty() || second.isEmpty() || first.first().isEmpty() || second.first().isEmpty()) {
        s.problem = malformed(files::kSteps, QStringLiteral("体重・体脂肪率とも 0.1 刻み"));
        return s;
    }
    s.value.weightStep = first.first();
    s.value.fatStep = second.first();
    return s;
}

Status writeSteps(const QString& dir, const Steps& steps) {
    for (const QString& t : {steps.weightStep, steps.fatStep}) {
        // an empty line would not read back as a step
        if (t.trimmed().isEmpty())
            return Status::failure(QStringLiteral("刻みが入力されていません。"));
        const Status problem = textFieldProblem(t, QStringLiteral("刻み"));
        if (!problem)
            return problem;
    }
    return writeLines(dir, files::kSteps, {steps.weightStep, steps.fatStep});
}

Setting<int> readTimeStamp(const QString& dir) {
    return readFlag(dir, files::kTimeStamp, 0, 0, 1, kDefaultTimeStamp, QStringLiteral("時間の自動記録はオフ"));
}

Status writeTimeStamp(const QString& dir, int value) {
    return writeLines(dir, files::kTimeStamp, {plainNumber(value)});
}

namespace {

// The time stamp file in the written form of the value @p read found there, when the file holds
// another form of it; an empty array when there is nothing to write (the file is missing, holds
// the written form or no readable value); a failure when it cannot be read.
Result<QByteArray> timeStampInWrittenForm(const QString& path, const Setting<int>& read) {
    if (read.missing || !read.problem.isEmpty())
        return QByteArray();
    const auto written = encodeLines({plainNumber(read.value)});
    if (!written)
        return written.status();
    const auto file = readFileBytes(path);
    if (!file)
        return file.status();
    return !file->exists || file->bytes == *written ? QByteArray() : *written;
}

} // namespace

Status rewriteTimeStampInWrittenForm(const QString& dir, const Setting<int>& read) {
    const QString path = resolveFile(dir, files::kTimeStamp);
    // a file in the written form takes no lock, so a folder the user may not write stays silent
    const auto bytes = timeStampInWrittenForm(path, read);
    if (!bytes || bytes->isEmpty())
        return bytes.status();
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return lock.failure(path);
    // read again under the lock: the file is rewritten from what it holds now
    const auto now = timeStampInWrittenForm(path, readTimeStamp(dir));
    if (!now || now->isEmpty())
        return now.status();
    return writeFileAtomic(path, *now);
}

Setting<QString> readMovingAverage(const QString& dir) {
    Setting<QString> s;
    s.value = kDefaultWindow;
    const Lines l = readLines(dir, files::kMovingAverage);
    s.missing = l.missing;
    if (l.missing)
        return s;
    const QStringList fields = l.lines.isEmpty() ? QStringList() : fieldsOf(l.lines.first());
    if (fields.isEmpty() || fields.first().isEmpty())
        s.problem = malformed(files::kMovingAverage, QStringLiteral("移動平均は 10 回"));
    else
        s.value = fields.first();
    return s;
}

Status writeMovingAverage(const QString& dir, const QString& text) {
    // a line of blanks would not read back as a window
    if (text.trimmed().isEmpty())
        return Status::failure(QStringLiteral("移動平均の回数が入力されていません。"));
    const Status problem = textFieldProblem(text, QStringLiteral("移動平均"));
    if (!problem)
        return problem;
    return writeLines(dir, files::kMovingAverage, {text});
}

QStringList movingAverageChoices() {
    QStringList choices;
    for (int i = 1; i <= 30; ++i)
        choices.append(QString::number(i));
    return choices;
}

Setting<Profile> readProfile(const QString& dir) {
    Setting<Profile> s;
    const Lines l = readLines(dir, files::kProfile);
    s.missing = l.missing;
    if (l.missing)
        return s;
    // The labels are written but never interpreted: the value is the second field of each line.
    auto value = [&](int line) {
        const QStringList f = l.lines.size() > line ? fieldsOf(l.lines.at(line)) : QStringList();
        return f.size() > 1 ? std::optional<QString>(f.at(1)) : std::nullopt;
    };
    const auto name = value(0);
    // a number beyond a 32-bit value would read as infinity, which no writer could save again
    auto number = [](const std::optional<QString>& text) -> std::optional<double> {
        const auto v = text ? parseNumber(*text) : std::nullopt;
        return v && std::isfinite(static_cast<float>(*v)) ? v : std::nullopt;
    };
    const auto height = number(value(1));
    const auto target = number(value(2));
    if (name)
        s.value.userName = *name;
    if (height)
        s.value.height = static_cast<float>(*height);
    if (target)
        s.value.targetWeight = static_cast<float>(*target);
    if (!name || !height || !target)
        s.problem = malformed(files::kProfile, QStringLiteral("読めなかった項目は空"));
    return s;
}

Status writeProfile(const QString& dir, const Profile& p) {
    const Status problem = textFieldProblem(p.userName, QStringLiteral("氏名"));
    if (!problem)
        return problem;
    return writeLines(dir, files::kProfile,
                      {quoted(QStringLiteral("氏名")) + QLatin1Char(',') + quoted(p.userName),
                       quoted(QStringLiteral("身長")) + QLatin1Char(',') + shortestText(p.height),
                       quoted(QStringLiteral("目標体重")) + QLatin1Char(',') + shortestText(p.targetWeight)});
}

Setting<QString> readNotes(const QString& dir) {
    Setting<QString> s;
    const Lines l = readLines(dir, files::kNotes, true);
    s.missing = l.missing;
    s.problem = l.problem;
    // Every line is followed by CR LF, then the final CR LF is removed again: the memo reads
    // back exactly as it was saved, empty lines included.
    s.value = l.lines.join(QStringLiteral("\r\n"));
    return s;
}

Status writeNotes(const QString& dir, const QString& text) {
    const Status problem = freeTextProblem(text);
    if (!problem)
        return problem;
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    normalized.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const auto bytes = cp932::encode(normalized + QStringLiteral("\r\n"));
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kNotes);
    if (!lock.locked())
        return lock.failure(path);
    // the memo shown came from the reader: lines it could not read would be lost by this rewrite
    const Status refusal = writeRefusal(path, true);
    if (!refusal)
        return refusal;
    return writeFileAtomic(path, *bytes);
}

Setting<int> readMarker(const QString& dir) {
    return readFlag(dir, files::kMarker, 0, 0, 2, kDefaultMarker, QStringLiteral("マーカーは丸"));
}

Status writeMarker(const QString& dir, int mode) {
    return writeLines(dir, files::kMarker, {QString::number(mode)});
}

QString windowCaption(const QString& userName) {
    if (userName.isEmpty())
        return QStringLiteral(" Pukapuka☆ダイエット");
    return QLatin1Char(' ') + userName + QStringLiteral(" の Pukapuka☆ダイエット");
}

} // namespace puka::settings
