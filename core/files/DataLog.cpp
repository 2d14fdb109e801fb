#include "core/files/DataLog.h"

#include "core/base/NumberFormat.h"
#include "core/files/Backups.h"
#include "core/files/Cp932.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/TextLines.h"

#include <QDate>
#include <QFileInfo>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace puka {

QString LogContents::skippedNotice() const {
    const QString encoding = utf8 ? cp932::utf8Message(files::kData) : QString();
    if (skippedCount == 0)
        return encoding;
    QString text = QStringLiteral("「%1」に読み取れない行が %2 "
                                  "行ありました。\r\nこれらの行は表示や計算に使わず、ファイルにはそのまま残します。")
                       .arg(files::kData)
                       .arg(skippedCount);
    const size_t shown = std::min<size_t>(skipped.size(), 5);
    for (size_t i = 0; i < shown; ++i)
        text += QStringLiteral("\r\n　%1 行目: %2").arg(skipped[i].lineNumber).arg(skipped[i].reason);
    if (skippedCount > static_cast<qint64>(shown))
        text += QStringLiteral("\r\n　…");
    return encoding.isEmpty() ? text : encoding + QStringLiteral("\r\n\r\n") + text;
}

namespace datalog {
namespace {

enum class DateCheck { Valid, NoDate, OutOfRange };

DateCheck checkDate(QStringView t) {
    if (t.size() != 10 || t.at(4) != QLatin1Char('/') || t.at(7) != QLatin1Char('/'))
        return DateCheck::NoDate;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (t.at(i) < QLatin1Char('0') || t.at(i) > QLatin1Char('9'))
            return DateCheck::NoDate;
    auto number = [&](int from, int digits) {
        int v = 0;
        for (int i = from; i < from + digits; ++i)
            v = v * 10 + (t.at(i).unicode() - '0');
        return v;
    };
    const int year = number(0, 4);
    if (!QDate(year, number(5, 2), number(8, 2)).isValid())
        return DateCheck::NoDate;
    return year < kFirstYear || year > kLastYear ? DateCheck::OutOfRange : DateCheck::Valid;
}

// A field as a reason quotes it: a long one cut short, so that the kept reasons and the
// start-up notice stay small whatever a hand edit left in the line.
QString cutShort(QStringView field) {
    constexpr qsizetype kLongest = 40;
    return field.size() <= kLongest ? field.toString() : field.left(kLongest).toString() + QStringLiteral("…");
}

QString dateReason(QStringView date, DateCheck check) {
    if (check == DateCheck::OutOfRange)
        return QStringLiteral("日付「%1」が 1900/01/01 から 2099/12/31 までの範囲にありません").arg(cutShort(date));
    return QStringLiteral("日付「%1」が正しくありません").arg(cutShort(date));
}

// No scale shows a million: a hand-edited value beyond that is a typing slip, and the views'
// whole-number axes and rounding could not hold it.
constexpr double kLargestValue = 1e6;

std::optional<float> readFloat(QStringView text, QStringView t, const char* ascii, bool plain);

std::optional<float> toFloat(QStringView text) {
    // the plain decimal form the log is written in is read without a copy of the text;
    // anything else takes the general reader
    // blanks around a number are rare: only then are they cut off
    const bool blankEnds = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    const QStringView t = blankEnds ? text.trimmed() : text;
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
    std::uint32_t hash = 2166136261u;
    for (const QChar c : text)
        hash = (hash ^ c.unicode()) * 16777619u;
    QString& slot = recent[(hash ^ (hash >> 16)) % kSlots];
    if (slot.size() != text.size() ||
        std::memcmp(slot.constData(), text.data(), static_cast<size_t>(text.size()) * sizeof(QChar)) != 0)
        slot = text.toString();
    return slot;
}

// parseLine() on a view; a date equal to @p previousDate shares its text, so the many
// records of one day hold one copy of it.
// A field of a line: where it starts and how long it is. Left uninitialised until cut, so
// that reading a line does not first clear room for its fields.
struct FieldSpan {
    const QChar* data;
    qsizetype size;
    QStringView view() const { return QStringView(data, size); }
};

// The six fields of a line in exactly the form the log is written in,
// "date","situation",weight,"comment",body fat,"spare" with plain numbers, cut in one pass;
// false for any other line, which the general field splitter then reads (to the same fields
// for a line in this form).
bool writtenFormFields(QStringView line, FieldSpan* fields) {
    const QChar* p = line.data();
    const QChar* const end = p + line.size();
    const auto quotedField = [&](FieldSpan* out) {
        if (p == end || *p != QLatin1Char('"'))
            return false;
        const QChar* start = ++p;
        while (p != end && *p != QLatin1Char('"'))
            ++p;
        if (p == end)
            return false;
        *out = {start, p - start};
        ++p;
        return true;
    };
    const auto numberField = [&](FieldSpan* out) {
        const QChar* start = p;
        while (p != end &&
               ((*p >= QLatin1Char('0') && *p <= QLatin1Char('9')) || *p == QLatin1Char('.') || *p == QLatin1Char('-')))
            ++p;
        *out = {start, p - start};
        return p != start;
    };
    const auto comma = [&] {
        if (p == end || *p != QLatin1Char(','))
            return false;
        ++p;
        return true;
    };
    return quotedField(&fields[0]) && comma() && quotedField(&fields[1]) && comma() && numberField(&fields[2]) &&
           comma() && quotedField(&fields[3]) && comma() && numberField(&fields[4]) && comma() &&
           quotedField(&fields[5]) && p == end;
}

// The six fields of any other line, through the general splitter; the reason when the line
// does not have six.
Q_NEVER_INLINE std::optional<QString> generalFields(QStringView line, FieldSpan* fields) {
    // the six fields a record has are kept, any more only counted
    qsizetype count = 0;
    const auto general = fieldViews(line, 6, &count);
    if (!general)
        return QStringLiteral("引用符（\"）が閉じていません（行が途中で切れています）");
    if (count < 6)
        return QStringLiteral("項目が足りません（%1 項目）").arg(count);
    if (count > 6)
        return QStringLiteral("項目が多すぎます（%1 項目）").arg(count);
    for (int i = 0; i < 6; ++i)
        fields[i] = {general->at(i).data(), general->at(i).size()};
    return std::nullopt;
}

std::optional<WeightRecord> parseView(QStringView line, const QString* previousDate, QString* reason) {
    auto fail = [reason](const QString& why) -> std::optional<WeightRecord> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    FieldSpan spans[6];
    if (!writtenFormFields(line, spans))
        if (const auto why = generalFields(line, spans))
            return fail(*why);
    const QStringView fields[6] = {spans[0].view(), spans[1].view(), spans[2].view(),
                                   spans[3].view(), spans[4].view(), spans[5].view()};
    const QStringView date = fields[0];
    // the date of the record before was checked already
    const bool sameDate =
        previousDate && previousDate->size() == date.size() &&
        std::memcmp(previousDate->constData(), date.data(), static_cast<size_t>(date.size()) * sizeof(QChar)) == 0;
    if (!sameDate) {
        const DateCheck check = checkDate(date);
        if (check != DateCheck::Valid)
            return fail(dateReason(date, check));
    }
    WeightRecord r;
    r.date = sameDate ? *previousDate : date.toString();
    r.situation = sharedText(fields[1]);
    const auto weight = toFloat(fields[2]);
    if (!weight)
        return fail(parseNumber(fields[2].toString())
                        ? QStringLiteral("体重「%1」が大きすぎます").arg(cutShort(fields[2]))
                        : QStringLiteral("体重「%1」が数値ではありません").arg(cutShort(fields[2])));
    r.weight = *weight;
    r.comment = sharedText(fields[3]);
    // An empty body fat is the older form of the log, which the conversion at start-up updates.
    if (!fields[4].isEmpty()) {
        const auto fat = toFloat(fields[4]);
        if (!fat)
            return fail(parseNumber(fields[4].toString())
                            ? QStringLiteral("体脂肪率「%1」が大きすぎます").arg(cutShort(fields[4]))
                            : QStringLiteral("体脂肪率「%1」が数値ではありません").arg(cutShort(fields[4])));
        r.bodyFat = *fat;
    }
    r.spare = sharedText(fields[5]);
    return r;
}

const QByteArray kLineEnd("\r\n");

// The first CR or LF from @p p on, or @p end.
const char16_t* firstLineEnd(const char16_t* p, const char16_t* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16('\r');
    const __m128i lf = _mm_set1_epi16('\n');
    for (; end - p >= 8; p += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int found = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(units, lf)));
        if (found)
            return p + __builtin_ctz(static_cast<unsigned>(found)) / 2;
    }
#endif
    for (; p != end; ++p)
        if (*p == u'\r' || *p == u'\n')
            return p;
    return end;
}

// One line of the log as its reader sees it: the bytes as they stand in the file, and the
// decoded text, null when the line cannot be decoded.
struct LogLine {
    QByteArrayView bytes;
    const QStringView* text = nullptr;
    bool last = false; ///< the last line of the file
};

// Calls @p f(const LogLine&) for every line of @p bytes, cut as splitLines() cuts them, until
// f returns false; returns the offset of the line after the last one seen.
// The bytes are decoded a piece of about 64 KB at a time rather than whole: line ends never
// occur inside a code page 932 or UTF-8 character, so pieces that end at a line end decode
// to the same lines, and the decoded piece is still in the cache when its lines are read.
// A piece that does not decode is decoded line by line, so that only its bad lines are lost.
// A reader that needs no bytes (@p kNeedBytes false) gets the lines of a decoded piece from
// its text alone, and its LogLine::bytes stay empty; when it stops early, -1 is returned.
template <bool kNeedBytes, typename F> qsizetype walkLines(const QByteArray& bytes, bool utf8, F&& f) {
    constexpr qsizetype kPiece = 64 * 1024;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    const auto decode = [utf8](const char* from, qsizetype size) {
        const QByteArray raw = QByteArray::fromRawData(from, size);
        return utf8 ? std::optional<QString>(cp932::decodeUtf8(raw)) : cp932::decode(raw);
    };
    qsizetype pieceStart = 0;
    while (pieceStart < n) {
        qsizetype pieceEnd = std::min(n, pieceStart + kPiece);
        while (pieceEnd < n && data[pieceEnd - 1] != '\n' && data[pieceEnd - 1] != '\r')
            ++pieceEnd;
        if (pieceEnd < n && data[pieceEnd - 1] == '\r' && data[pieceEnd] == '\n')
            ++pieceEnd;
        const std::optional<QString> pieceText = decode(data + pieceStart, pieceEnd - pieceStart);
        const QStringView text = pieceText ? QStringView(*pieceText) : QStringView();
        if (!kNeedBytes && pieceText) {
            const qsizetype tn = text.size();
            qsizetype s = 0;
            while (s < tn) {
                const qsizetype i = firstLineEnd(text.utf16() + s, text.utf16() + tn) - text.utf16();
                const QStringView view = text.mid(s, i - s);
                s = i < tn && text[i] == QLatin1Char('\r') && i + 1 < tn && text[i + 1] == QLatin1Char('\n') ? i + 2
                                                                                                             : i + 1;
                LogLine line;
                line.text = &view;
                line.last = pieceEnd >= n && s >= tn;
                if (!f(line))
                    return -1;
            }
            pieceStart = pieceEnd;
            continue;
        }
        qsizetype textAt = 0;
        qsizetype start = pieceStart;
        const auto visit = [&](qsizetype end, qsizetype next) {
            LogLine line;
            line.bytes = QByteArrayView(data + start, end - start);
            line.last = next >= n;
            QStringView view;
            std::optional<QString> own;
            if (pieceText) {
                qsizetype e = textAt;
                while (e < text.size() &&
                       (text[e].unicode() > u'\r' || (text[e] != QLatin1Char('\r') && text[e] != QLatin1Char('\n'))))
                    ++e;
                view = text.mid(textAt, e - textAt);
                if (e < text.size())
                    e +=
                        text[e] == QLatin1Char('\r') && e + 1 < text.size() && text[e + 1] == QLatin1Char('\n') ? 2 : 1;
                textAt = e;
                line.text = &view;
            } else if ((own = decode(data + start, end - start))) {
                view = *own;
                line.text = &view;
            }
            start = next;
            return f(line);
        };
        for (qsizetype i = pieceStart; i < pieceEnd; ++i) {
            const char c = data[i];
            if (static_cast<unsigned char>(c) > '\r' || (c != '\r' && c != '\n'))
                continue;
            const qsizetype end = i;
            if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
                ++i;
            if (!visit(end, i + 1))
                return i + 1;
        }
        if (start < pieceEnd && !visit(pieceEnd, pieceEnd)) // a last line without line end
            return pieceEnd;
        pieceStart = pieceEnd;
    }
    return n;
}

// Appends the lines of @p bytes from @p from on to @p out, each ended by CR LF.
void appendLines(QByteArray* out, const QByteArray& bytes, qsizetype from) {
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = from;
    for (qsizetype i = from; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        out->append(data + start, i - start);
        out->append(kLineEnd);
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n) {
        out->append(data + start, n - start);
        out->append(kLineEnd);
    }
}

// The writers never touch a log another editor saved in UTF-8.
Status refuseUtf8(const QString& path) {
    return writeRefusal(path, false);
}

// The bytes of the log for a rewrite; a failure when it cannot be read or looks saved in UTF-8.
Result<QByteArray> readForRewrite(const QString& path) {
    auto file = readFileBytes(path);
    if (!file)
        return file.status();
    if (cp932::looksLikeUtf8(file->bytes))
        return Status::failure(cp932::utf8Message(QFileInfo(path).fileName()));
    return std::move(file->bytes);
}

// The record of a line, if it is one; @p previousDate is the date of the record before,
// which a record of the same day shares.
std::optional<WeightRecord> recordOf(const LogLine& line, QString* previousDate) {
    if (!line.text)
        return std::nullopt;
    auto record = parseView(*line.text, previousDate->isNull() ? nullptr : previousDate, nullptr);
    if (record)
        *previousDate = record->date;
    return record;
}

void appendFormatted(QString* out, const WeightRecord& r) {
    out->append(QLatin1Char('"'));
    out->append(r.date);
    out->append(u"\",\"");
    out->append(r.situation);
    out->append(u"\",");
    out->append(shortestText(r.weight));
    out->append(u",\"");
    out->append(r.comment);
    out->append(u"\",");
    out->append(shortestText(r.bodyFat));
    out->append(u",\"");
    out->append(r.spare);
    out->append(QLatin1Char('"'));
}

// recordProblem() for a record a rewrite rule has seen: a text the rule left as it was read
// holds no line break and decodes, so only a double quote can keep it from being written.
Status rewrittenProblem(const WeightRecord& before, const WeightRecord& after) {
    const std::pair<const QString*, const QString*> fields[] = {{&before.date, &after.date},
                                                                {&before.situation, &after.situation},
                                                                {&before.comment, &after.comment},
                                                                {&before.spare, &after.spare}};
    for (const auto& [was, is] : fields) {
        const bool kept = was->constData() == is->constData() && was->size() == is->size();
        if (!kept || is->contains(QLatin1Char('"')))
            return recordProblem(after);
    }
    return {};
}

} // namespace

std::optional<WeightRecord> parseLine(const QString& line, QString* reason) {
    return parseView(line, nullptr, reason);
}

std::optional<WeightRecord> parseLine(QStringView line, QString* reason) {
    return parseView(line, nullptr, reason);
}

QString formatLine(const WeightRecord& r) {
    QString line;
    line.reserve(r.date.size() + r.situation.size() + r.comment.size() + r.spare.size() + 40);
    appendFormatted(&line, r);
    return line;
}

QString formatLine64(const WeightRecord& r, double weight, double bodyFat) {
    return quoted(r.date) + QLatin1Char(',') + quoted(r.situation) + QLatin1Char(',') + shortestText(weight) +
           QLatin1Char(',') + quoted(r.comment) + QLatin1Char(',') + shortestText(bodyFat) + QLatin1Char(',') +
           quoted(r.spare);
}

Status recordProblem(const WeightRecord& r) {
    if (const DateCheck check = checkDate(r.date); check != DateCheck::Valid)
        return Status::failure(
            QStringLiteral("日付「%1」は記録できません。\r\n1900/01/01 から 2099/12/31 までの日付を選んでください。")
                .arg(r.date));
    for (const auto& [text, what] :
         {std::pair{&r.date, QStringLiteral("日付")}, std::pair{&r.situation, QStringLiteral("状況")},
          std::pair{&r.comment, QStringLiteral("一言日記")}, std::pair{&r.spare, QStringLiteral("予備欄")}}) {
        const Status problem = textFieldProblem(*text, what);
        if (!problem)
            return problem;
    }
    return {};
}

namespace {

// How many records a log of @p total bytes will give, from the lines of its first 64 KB (the
// start of @p bytes), so that the record
// list is made once at about its final size. A line shorter than the shortest record, or one
// that starts with neither a quote nor a digit, is not counted: a log of millions of such
// lines reserves nothing for them.
size_t expectedRecords(const QByteArray& bytes, qint64 total) {
    constexpr qsizetype kSample = 64 * 1024;
    constexpr qsizetype kShortestRecord = 17; // 1900/01/01,,1,,, and a line end
    const qsizetype sample = std::min(bytes.size(), kSample);
    const char* line = bytes.constData();
    const char* const end = line + sample;
    qsizetype likely = 0;
    while (line < end) {
        const void* found = std::memchr(line, '\n', static_cast<size_t>(end - line));
        const char* lineEnd = found ? static_cast<const char*>(found) : end;
        if (lineEnd - line >= kShortestRecord - 1 && (*line == '"' || (*line >= '0' && *line <= '9')))
            ++likely;
        line = lineEnd + 1;
    }
    if (sample >= total)
        return static_cast<size_t>(likely);
    const double estimate = static_cast<double>(likely) * static_cast<double>(total) / sample * 1.02 + 16;
    return static_cast<size_t>(std::min(estimate, static_cast<double>(total / kShortestRecord + 1)));
}

} // namespace

LogContents readLog(const QString& dir) {
    LogContents c;
    FileReader reader(resolveFile(dir, files::kData));
    if (!reader.status().ok() || !reader.exists()) {
        c.status = reader.status();
        return c;
    }
    const auto failed = [&reader] {
        LogContents failure;
        failure.status = reader.status();
        return failure;
    };
    // The log is read a block at a time: only one block of its bytes is held while the
    // records are made.
    constexpr qint64 kBlock = 256 * 1024;
    QByteArray bytes;
    bytes.reserve(kBlock + 4096);
    if (reader.read(&bytes, kBlock) < 0)
        return failed();
    c.exists = true;
    c.identity = reader.identity();
    c.records.reserve(expectedRecords(bytes, reader.identity().size));
    const auto skip = [&c](qint64 lineNumber, QString reason) {
        if (c.skipped.size() < LogContents::kMaxSkippedKept)
            c.skipped.push_back({lineNumber, std::move(reason)});
        ++c.skippedCount;
    };
    qint64 lineNumber = 0;
    // the lines of @p lines, each with its line end but perhaps the last of the file (@p final)
    const auto takeLines = [&](const QByteArray& lines, bool final) {
        const bool lastTerminated = !final || lines.isEmpty() || lines.endsWith('\r') || lines.endsWith('\n');
        const auto take = [&](QStringView text, bool last) {
            // a record starts with its quoted date; only another line can be blank
            if ((text.isEmpty() || text.front() != QLatin1Char('"')) &&
                std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }))
                return;
            // the reason of a line past the kept ones is not needed: only its count is
            const bool keepReason = c.skipped.size() < LogContents::kMaxSkippedKept;
            QString reason;
            const QString* previousDate = c.records.empty() ? nullptr : &c.records.back().date;
            if (auto record = parseView(text, previousDate, keepReason ? &reason : nullptr)) {
                c.records.push_back(std::move(*record));
            } else {
                if (keepReason && last && !lastTerminated)
                    reason = QStringLiteral("最後の行が途中で切れています（%1）").arg(reason);
                skip(lineNumber, std::move(reason));
            }
        };
        walkLines<false>(lines, c.utf8, [&](const LogLine& line) {
            ++lineNumber;
            if (line.text)
                take(*line.text, line.last);
            else
                skip(lineNumber, QStringLiteral("Shift_JIS として読めない文字があります"));
            return true;
        });
    };

    if (cp932::mayBeUtf8(bytes)) {
        // only the whole log tells UTF-8 from code page 932 when it starts as valid UTF-8 (one
        // saved by another editor, or one of plain ASCII so far): it is read whole
        while (true) {
            const qint64 n = reader.read(&bytes, std::max<qint64>(kBlock, reader.identity().size - bytes.size() + 1));
            if (n < 0)
                return failed();
            if (n == 0)
                break;
        }
        c.utf8 = cp932::looksLikeUtf8(bytes);
        takeLines(bytes, true);
        return c;
    }
    while (true) {
        // the complete lines of the block; the line that runs on into the next block waits for
        // it, and so does a last CR that may be the first half of a CR LF
        qsizetype cut = bytes.lastIndexOf('\n') + 1;
        if (cut == 0 && bytes.size() >= 2)
            cut = bytes.lastIndexOf('\r', bytes.size() - 2) + 1;
        if (cut > 0) {
            takeLines(QByteArray::fromRawData(bytes.constData(), cut), false);
            bytes.remove(0, cut);
        }
        const qint64 n = reader.read(&bytes, kBlock);
        if (n < 0)
            return failed();
        if (n == 0)
            break;
    }
    takeLines(bytes, true);
    return c;
}

Result<QString> lastRecordDate(const QString& dir) {
    const auto file = readFileBytes(resolveFile(dir, files::kData));
    if (!file)
        return file.status();
    const QByteArray& bytes = file->bytes;
    const bool utf8 = cp932::looksLikeUtf8(bytes);
    // from the end, a piece at a time, until a piece holds a record; a piece starts at a line
    // start, so no line is read in part
    qsizetype end = bytes.size();
    qsizetype piece = 4096;
    while (end > 0) {
        qsizetype start = std::max<qsizetype>(0, end - piece);
        while (start > 0 && bytes.at(start - 1) != '\n' && bytes.at(start - 1) != '\r')
            --start;
        const QByteArray part = QByteArray::fromRawData(bytes.constData() + start, end - start);
        QString last;
        QString previousDate;
        walkLines<true>(part, utf8, [&](const LogLine& line) {
            if (const auto r = recordOf(line, &previousDate))
                last = r->date;
            return true;
        });
        if (!last.isNull())
            return last;
        end = start;
        piece *= 2;
    }
    return QString();
}

namespace {

// Runs @p write on the log's path while this process holds the folder's write lock, once the
// checks of every writer of the log have passed: a log saved as UTF-8 is never written, and the
// day's backup is taken first.
Status writeUnderLock(const QString& dir, const std::function<Status(const QString& path)>& write) {
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kData);
    if (!lock.locked())
        return lock.failure(path);
    Status status = refuseUtf8(path);
    if (!status)
        return status;
    status = backups::backupBeforeChange(dir, backups::Reason::FirstChangeOfDay);
    if (!status)
        return status;
    return write(path);
}

} // namespace

Status appendRecord(const QString& dir, const WeightRecord& record) {
    const Status problem = recordProblem(record);
    if (!problem)
        return problem;
    const auto line = encodeLine(formatLine(record));
    if (!line)
        return line.status();
    return writeUnderLock(dir, [&](const QString& path) { return appendToFile(path, *line); });
}

Status insertRecord(const QString& dir, const WeightRecord& record) {
    const Status problem = recordProblem(record);
    if (!problem)
        return problem;
    const auto newLine = encodeLine(formatLine(record));
    if (!newLine)
        return newLine.status();
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kData);
    if (!lock.locked())
        return lock.failure(path);
    const auto bytes = readForRewrite(path);
    if (!bytes)
        return bytes.status();
    Status status;
    QByteArray out;
    out.reserve(bytes->size() + newLine->size() + 64);
    bool done = false;
    QString previousDate;
    // the lines up to the first record of a later date are read; the rest is only copied
    const qsizetype rest = walkLines<true>(*bytes, false, [&](const LogLine& line) {
        const auto r = recordOf(line, &previousDate);
        if (r && r->date > record.date) {
            out += *newLine;
            done = true;
        }
        out.append(line.bytes);
        out.append(kLineEnd);
        return !done;
    });
    appendLines(&out, *bytes, rest);
    if (!done)
        out += *newLine;
    status = backups::backupBeforeChange(dir, backups::Reason::FirstChangeOfDay, &*bytes);
    if (!status)
        return status;
    return writeFileAtomic(path, out);
}

Status rewriteLog(const QString& dir, const RecordRule& rule, int* changed) {
    RewriteOutcome outcome;
    const Status status = rewriteLog(dir, rule, RewriteCheck(), &outcome);
    if (changed)
        *changed = status ? outcome.changed : 0;
    return status;
}

Status rewriteLog(const QString& dir, const RecordRule& rule, const RewriteCheck& check, RewriteOutcome* outcome) {
    if (outcome)
        *outcome = {};
    Status status;
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kData);
    if (!lock.locked())
        return lock.failure(path);
    const auto bytes = readForRewrite(path);
    if (!bytes)
        return bytes.status();
    QByteArray out;
    out.reserve(bytes->size() + bytes->size() / 8 + 64);
    // Rewritten lines are gathered and encoded together: one conversion per run of them
    // rather than one per line.
    QString pending;
    Status failure; // the first record that cannot be written; the rest is still counted
    const auto flush = [&] {
        if (pending.isEmpty() || !failure)
            return;
        const auto encoded = cp932::encode(pending);
        if (encoded)
            out += *encoded;
        else
            failure = encoded.status();
        pending.clear();
    };
    int records = 0;
    int count = 0;
    QString previousDate;
    walkLines<true>(*bytes, false, [&](const LogLine& line) {
        if (auto read = recordOf(line, &previousDate)) {
            ++records;
            WeightRecord r = *read;
            if (rule(r)) {
                if (!failure)
                    return true;
                const Status problem = rewrittenProblem(*read, r);
                if (!problem) {
                    flush();
                    if (failure)
                        failure = problem;
                    return true;
                }
                appendFormatted(&pending, r);
                pending.append(u"\r\n");
                ++count;
                if (pending.size() >= 32 * 1024)
                    flush();
                return true;
            }
        }
        flush();
        out.append(line.bytes);
        out.append(kLineEnd);
        return true;
    });
    flush();
    if (check) {
        status = check(records);
        if (!status)
            return status;
    }
    if (!failure)
        return failure;
    status = backups::backupBeforeChange(dir, backups::Reason::FirstChangeOfDay, &*bytes);
    if (!status)
        return status;
    status = writeFileAtomic(path, out);
    if (outcome && status.inPlace()) {
        outcome->changed = count;
        outcome->before = *bytes;
        outcome->after = std::move(out);
    }
    return status;
}

Status writeLog(const QString& dir, const std::vector<WeightRecord>& records) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(records.size()));
    for (const WeightRecord& r : records) {
        const Status problem = recordProblem(r);
        if (!problem)
            return problem;
        lines.append(formatLine(r));
    }
    const auto bytes = encodeLines(lines);
    if (!bytes)
        return bytes.status();
    return writeUnderLock(dir, [&](const QString& path) { return writeFileAtomic(path, *bytes); });
}

} // namespace datalog
} // namespace puka
