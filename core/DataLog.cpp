#include "DataLog.h"

#include "Cp932.h"
#include "FileNames.h"
#include "FileOps.h"
#include "NumberFormat.h"
#include "TextLines.h"

#include <QDate>
#include <QFileInfo>
#include <QVarLengthArray>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace puka {

QString LogContents::skippedNotice() const {
    const QString encoding = utf8 ? cp932::utf8Message(files::kData) : QString();
    if (skipped.empty())
        return encoding;
    QString text = QStringLiteral("「%1」に読み取れない行が %2 "
                                  "行ありました。\r\nこれらの行は表示や計算に使わず、ファイルにはそのまま残します。")
                       .arg(files::kData)
                       .arg(skipped.size());
    const size_t shown = std::min<size_t>(skipped.size(), 5);
    for (size_t i = 0; i < shown; ++i)
        text += QStringLiteral("\r\n　%1 行目: %2").arg(skipped[i].lineNumber).arg(skipped[i].reason);
    if (skipped.size() > shown)
        text += QStringLiteral("\r\n　…");
    return encoding.isEmpty() ? text : encoding + QStringLiteral("\r\n\r\n") + text;
}

namespace datalog {
namespace {

bool validDateText(QStringView t) {
    if (t.size() != 10 || t.at(4) != QLatin1Char('/') || t.at(7) != QLatin1Char('/'))
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (t.at(i) < QLatin1Char('0') || t.at(i) > QLatin1Char('9'))
            return false;
    auto number = [&](int from, int digits) {
        int v = 0;
        for (int i = from; i < from + digits; ++i)
            v = v * 10 + (t.at(i).unicode() - '0');
        return v;
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2)).isValid();
}

// No scale shows a million: a hand-edited value beyond that is a typing slip, and the views'
// whole-number axes and rounding could not hold it.
constexpr double kLargestValue = 1e6;

std::optional<float> readFloat(QStringView text, QStringView t, const char* ascii, bool plain);

std::optional<float> toFloat(QStringView text) {
    // the plain decimal form the log is written in is read without a copy of the text;
    // anything else takes the general reader
    const QStringView t = text.trimmed();
    char ascii[64] = {};
    bool plain = t.size() > 0 && t.size() < qsizetype(sizeof ascii) && t.front() != QLatin1Char('+');
    for (qsizetype i = 0; plain && i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        plain = (c >= u'0' && c <= u'9') || c == u'.' || c == u'-';
        ascii[i] = static_cast<char>(c);
    }
    // a log repeats its weights and body fats: the numbers of recent short texts are kept,
    // keyed by the text's characters themselves
    std::uint64_t key = 0;
    const bool keyed = plain && t.size() <= 8 && t.size() == text.size();
    struct Kept {
        std::uint64_t key = 0;
        std::optional<float> value;
    };
    constexpr size_t kSlots = 512;
    thread_local std::array<Kept, kSlots> kept{};
    Kept* slot = nullptr;
    if (keyed) {
        std::memcpy(&key, ascii, static_cast<size_t>(t.size()));
        slot = &kept[static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 55) % kSlots];
        if (slot->key == key)
            return slot->value;
    }
    const std::optional<float> value = readFloat(text, t, ascii, plain);
    if (slot) {
        slot->key = key;
        slot->value = value;
    }
    return value;
}

std::optional<float> readFloat(QStringView text, QStringView t, const char* ascii, bool plain) {
    std::optional<double> v;
    if (plain) {
        double d = 0;
        const auto [end, error] = std::from_chars(ascii, ascii + t.size(), d);
        if (error == std::errc() && end == ascii + t.size())
            v = d;
    }
    if (!v)
        v = parseNumber(text.toString());
    if (!v || std::fabs(*v) >= kLargestValue)
        return std::nullopt;
    const float f = static_cast<float>(*v);
    if (!std::isfinite(f))
        return std::nullopt;
    return f;
}

// A log repeats its situation words and many of its comments: the texts of recent fields are
// kept in a small direct-mapped table per thread, so that equal fields share one text.
QString sharedText(QStringView text) {
    if (text.isEmpty() || text.size() > 64)
        return text.toString();
    constexpr size_t kSlots = 256;
    thread_local std::array<QString, kSlots> recent;
    QString& slot = recent[qHash(text) % kSlots];
    if (slot != text)
        slot = text.toString();
    return slot;
}

// parseLine() on a view; a date equal to @p previousDate shares its text, so the many
// records of one day hold one copy of it.
std::optional<WeightRecord> parseView(QStringView line, const QString* previousDate, QString* reason) {
    auto fail = [reason](const QString& why) -> std::optional<WeightRecord> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    const auto fields = fieldViews(line);
    if (!fields)
        return fail(QStringLiteral("引用符（\"）が閉じていません（行が途中で切れています）"));
    if (fields->size() < 6)
        return fail(QStringLiteral("項目が足りません（%1 項目）").arg(fields->size()));
    if (fields->size() > 6)
        return fail(QStringLiteral("項目が多すぎます（%1 項目）").arg(fields->size()));
    const QStringView date = fields->at(0);
    // the date of the record before was checked already
    const bool sameDate = previousDate && *previousDate == date;
    if (!sameDate && !validDateText(date))
        return fail(QStringLiteral("日付「%1」が正しくありません").arg(date));
    WeightRecord r;
    r.date = sameDate ? *previousDate : date.toString();
    r.situation = sharedText(fields->at(1));
    const auto weight = toFloat(fields->at(2));
    if (!weight)
        return fail(parseNumber(fields->at(2).toString())
                        ? QStringLiteral("体重「%1」が大きすぎます").arg(fields->at(2))
                        : QStringLiteral("体重「%1」が数値ではありません").arg(fields->at(2)));
    r.weight = *weight;
    r.comment = sharedText(fields->at(3));
    // An empty body fat is the older form of the log, which the conversion at start-up updates.
    if (!fields->at(4).isEmpty()) {
        const auto fat = toFloat(fields->at(4));
        if (!fat)
            return fail(parseNumber(fields->at(4).toString())
                            ? QStringLiteral("体脂肪率「%1」が大きすぎます").arg(fields->at(4))
                            : QStringLiteral("体脂肪率「%1」が数値ではありません").arg(fields->at(4)));
        r.bodyFat = *fat;
    }
    r.spare = sharedText(fields->at(5));
    return r;
}

const QByteArray kLineEnd("\r\n");

// One line of the log as it stands in the file, with its record when it is one.
struct RawLine {
    QByteArray bytes;
    std::optional<WeightRecord> record;
};

// The writers never touch a log another editor saved in UTF-8.
Status refuseUtf8(const QString& path) {
    const QString refusal = writeRefusal(path, false);
    return refusal.isEmpty() ? Status() : Status::failure(refusal);
}

std::optional<std::vector<RawLine>> readRawLines(const QString& path, Status* status) {
    const auto file = readFileBytes(path, status);
    if (!file)
        return std::nullopt;
    if (cp932::looksLikeUtf8(file->bytes)) {
        *status = Status::failure(cp932::utf8Message(QFileInfo(path).fileName()));
        return std::nullopt;
    }
    std::vector<RawLine> lines;
    for (QByteArray& bytes : splitLines(file->bytes)) {
        RawLine line;
        if (const auto text = cp932::decode(bytes))
            line.record = parseLine(*text);
        line.bytes = std::move(bytes);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

std::optional<WeightRecord> parseLine(const QString& line, QString* reason) {
    return parseView(line, nullptr, reason);
}

QString formatLine(const WeightRecord& r) {
    return quoted(r.date) + QLatin1Char(',') + quoted(r.situation) + QLatin1Char(',') + shortestText(r.weight) +
           QLatin1Char(',') + quoted(r.comment) + QLatin1Char(',') + shortestText(r.bodyFat) + QLatin1Char(',') +
           quoted(r.spare);
}

QString formatLine64(const WeightRecord& r, double weight, double bodyFat) {
    return quoted(r.date) + QLatin1Char(',') + quoted(r.situation) + QLatin1Char(',') + shortestText(weight) +
           QLatin1Char(',') + quoted(r.comment) + QLatin1Char(',') + shortestText(bodyFat) + QLatin1Char(',') +
           quoted(r.spare);
}

QString recordProblem(const WeightRecord& r) {
    for (const auto& [text, what] :
         {std::pair{&r.date, QStringLiteral("日付")}, std::pair{&r.situation, QStringLiteral("状況")},
          std::pair{&r.comment, QStringLiteral("一言日記")}, std::pair{&r.spare, QStringLiteral("予備欄")}}) {
        const QString problem = textFieldProblem(*text, what);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

LogContents READ_DATA(const QString& dir) {
    LogContents c;
    const auto file = readFileBytes(resolveFile(dir, files::kData), &c.status);
    if (!file || !file->exists)
        return c;
    c.exists = true;
    c.utf8 = cp932::looksLikeUtf8(file->bytes);
    const QByteArray& bytes = file->bytes;
    const bool lastTerminated = bytes.isEmpty() || bytes.endsWith('\r') || bytes.endsWith('\n');
    c.records.reserve(static_cast<size_t>(bytes.size() / 40 + 1));
    auto take = [&](QStringView text, int lineNumber, bool last) {
        if (text.trimmed().isEmpty())
            return;
        QString reason;
        const QString* previousDate = c.records.empty() ? nullptr : &c.records.back().date;
        if (auto record = parseView(text, previousDate, &reason)) {
            c.records.push_back(std::move(*record));
        } else {
            if (last && !lastTerminated)
                reason = QStringLiteral("最後の行が途中で切れています（%1）").arg(reason);
            c.skipped.push_back({lineNumber, reason});
        }
    };
    const auto whole = c.utf8 ? std::optional<QString>(cp932::decodeUtf8(bytes)) : cp932::decode(bytes);
    if (whole) {
        // Line ends never occur inside a code page 932 character, so the decoded text is cut
        // into the same lines as the bytes, each seen in place.
        const QStringView text = *whole;
        const qsizetype n = text.size();
        qsizetype start = 0;
        int lineNumber = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const QChar ch = text[i];
            if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n'))
                continue;
            const QStringView line = text.mid(start, i - start);
            if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
            take(line, ++lineNumber, start >= n);
        }
        if (start < n)
            take(text.mid(start), ++lineNumber, true);
        return c;
    }
    const std::vector<QByteArray> raw = splitLines(bytes);
    for (size_t i = 0; i < raw.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const std::optional<QString> text = cp932::decode(raw[i]);
        if (!text) {
            c.skipped.push_back({lineNumber, QStringLiteral("Shift_JIS として読めない文字があります")});
            continue;
        }
        take(*text, lineNumber, i + 1 == raw.size());
    }
    return c;
}

Status APPEND_DATA(const QString& dir, const WeightRecord& record) {
    const QString problem = recordProblem(record);
    if (!problem.isEmpty())
        return Status::failure(problem);
    Status status;
    const auto line = encodeLine(formatLine(record), &status);
    if (!line)
        return status;
    const QString path = resolveFile(dir, files::kData);
    status = refuseUtf8(path);
    if (!status)
        return status;
    return appendToFile(path, *line);
}

Status INSERT_DATA(const QString& dir, const WeightRecord& record) {
    const QString problem = recordProblem(record);
    if (!problem.isEmpty())
        return Status::failure(problem);
    Status status;
    const auto newLine = encodeLine(formatLine(record), &status);
    if (!newLine)
        return status;
    const QString path = resolveFile(dir, files::kData);
    const auto lines = readRawLines(path, &status);
    if (!lines)
        return status;
    QByteArray out;
    bool done = false;
    for (const RawLine& line : *lines) {
        if (!done && line.record && line.record->date > record.date) {
            out += *newLine;
            done = true;
        }
        out += line.bytes + kLineEnd;
    }
    if (!done)
        out += *newLine;
    return writeFileAtomic(path, out, resolveFile(dir, files::kDataCopy));
}

Status REWRITE_DATA(const QString& dir, const QString& copyName, const RecordRule& rule, int* changed) {
    if (changed)
        *changed = 0;
    Status status;
    const QString path = resolveFile(dir, files::kData);
    const auto lines = readRawLines(path, &status);
    if (!lines)
        return status;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(lines->size()) * 48);
    int count = 0;
    for (const RawLine& line : *lines) {
        if (line.record) {
            WeightRecord r = *line.record;
            if (rule(r)) {
                const QString problem = recordProblem(r);
                if (!problem.isEmpty())
                    return Status::failure(problem);
                const auto bytes = encodeLine(formatLine(r), &status);
                if (!bytes)
                    return status;
                out += *bytes;
                ++count;
                continue;
            }
        }
        out += line.bytes + kLineEnd;
    }
    status = writeFileAtomic(path, out, resolveFile(dir, copyName));
    if (status && changed)
        *changed = count;
    return status;
}

Status WRITE_DATA(const QString& dir, const std::vector<WeightRecord>& records) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(records.size()));
    for (const WeightRecord& r : records) {
        const QString problem = recordProblem(r);
        if (!problem.isEmpty())
            return Status::failure(problem);
        lines.append(formatLine(r));
    }
    Status status;
    const auto bytes = encodeLines(lines, &status);
    if (!bytes)
        return status;
    const QString path = resolveFile(dir, files::kData);
    status = refuseUtf8(path);
    if (!status)
        return status;
    return writeFileAtomic(path, *bytes, resolveFile(dir, files::kDataCopy));
}

} // namespace datalog
} // namespace puka
