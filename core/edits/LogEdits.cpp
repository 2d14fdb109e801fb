#include "core/edits/LogEdits.h"

#include "core/base/Messages.h"
#include "core/base/NumberFormat.h"
#include "core/files/Backups.h"
#include "core/files/Cp932.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/LogLines.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <set>

namespace puka::logedits {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString changedElsewhere(const WeightRecord& record) {
    return QStringLiteral("「%1」の次の記録は、ほかのウィンドウかプログラムで変更されたか、削除されています。\r\n"
                          "　%2\r\n何も変更していません。")
        .arg(files::kData, recordText(record));
}

QString noSuchRecord(int number, int count) {
    if (count == 0)
        return QStringLiteral("「%1」に記録がありません。").arg(files::kData);
    return QStringLiteral("%1 番目の記録はありません（記録は 1 番目から %2 番目まであります）。")
        .arg(number)
        .arg(count);
}

QString startDateMessage(const QString& nextDate) {
    return QStringLiteral("1 番目の記録はダイエットのスタートの記録のため、日付を次の記録の日付（%1）より"
                          "後にはできません。")
        .arg(nextDate);
}

// The log's lines as a change sees them, with the place of each record.
class EditableLog {
public:
    explicit EditableLog(std::vector<loglines::Line> lines) : m_lines(std::move(lines)) { index(); }

    int recordCount() const { return static_cast<int>(m_recordLines.size()); }
    const WeightRecord& record(int number) const { return *m_lines[lineOf(number)].record; }
    size_t lineOf(int number) const { return m_recordLines[static_cast<size_t>(number - 1)]; }
    std::vector<loglines::Line>& lines() { return m_lines; }

    /// The number of the record that equals @p wanted: @p number itself when it holds it, else
    /// the nearest one that does (the last one when @p number is 0), among those not in @p taken.
    /// 0 when there is none.
    int find(const WeightRecord& wanted, int number, const std::set<int>& taken) {
        if (number >= 1 && number <= recordCount() && !taken.count(number) && record(number) == wanted)
            return number;
        if (!m_byText) {
            m_byText.emplace();
            for (int n = 1; n <= recordCount(); ++n)
                (*m_byText)[datalog::formatLine(record(n))].append(n);
        }
        const auto it = m_byText->constFind(datalog::formatLine(wanted));
        if (it == m_byText->constEnd())
            return 0;
        int best = 0;
        for (const int candidate : *it) {
            if (taken.count(candidate) || record(candidate) != wanted)
                continue;
            const bool closer =
                number == 0 ? candidate > best : best == 0 || std::abs(candidate - number) < std::abs(best - number);
            if (closer)
                best = candidate;
        }
        return best;
    }

private:
    void index() {
        for (size_t i = 0; i < m_lines.size(); ++i)
            if (m_lines[i].record)
                m_recordLines.push_back(i);
    }

    std::vector<loglines::Line> m_lines;
    std::vector<size_t> m_recordLines;
    std::optional<QHash<QString, QList<int>>> m_byText;
};

// A line in the new log: a line of the old one, or a record a step puts in.
struct NewLine {
    const loglines::Line* old = nullptr;
    std::optional<WeightRecord> record; ///< the record of the line in the new log
    int step = -1;                      ///< the step that wrote this line, or -1
};

// The records among @p lines, by their line indexes.
std::vector<size_t> recordLines(const std::vector<NewLine>& lines) {
    std::vector<size_t> records;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].record)
            records.push_back(i);
    return records;
}

// The place the record of @p step goes among @p lines: directly after the record it followed
// when that is still there and the date fits, else at its number when the date fits there,
// else directly before the first record of a later date, else at the end.
size_t placeFor(const std::vector<NewLine>& lines, const RecordStep& step) {
    const std::vector<size_t> records = recordLines(lines);
    const auto count = static_cast<int>(records.size());
    const QString& date = step.added->date;
    const auto dateOf = [&](int index) -> const QString& {
        return lines[records[static_cast<size_t>(index)]].record->date;
    };
    // fits as record index @p at (from 0) of the new log
    const auto fits = [&](int at) {
        return (at == 0 || dateOf(at - 1) <= date) && (at == count || date <= dateOf(at));
    };
    const auto lineAt = [&](int at) { return at == count ? lines.size() : records[static_cast<size_t>(at)]; };
    if (step.addedNumber >= 1) {
        if (step.addedAfter) {
            int best = -1;
            for (int i = 0; i < count; ++i) {
                if (*lines[records[static_cast<size_t>(i)]].record != *step.addedAfter)
                    continue;
                if (best < 0 || std::abs(i - (step.addedNumber - 2)) < std::abs(best - (step.addedNumber - 2)))
                    best = i;
            }
            if (best >= 0 && fits(best + 1))
                return records[static_cast<size_t>(best)] + 1;
        } else if (fits(0)) {
            return lineAt(0);
        }
        const int at = step.addedNumber - 1;
        if (at <= count && fits(at))
            return lineAt(at);
    }
    for (int i = 0; i < count; ++i)
        if (dateOf(i) > date)
            return records[static_cast<size_t>(i)];
    return lines.size();
}

// The change made to @p log in memory: the new bytes, and the change with its numbers.
// A record taken out that is no longer there fails with its message.
Status changedBytes(EditableLog& log, const LogChange& change, QByteArray* bytes, LogChange* applied) {
    // first find every record the change takes out, so that a missing one changes nothing
    std::set<int> taken;
    std::vector<int> found(change.steps.size(), 0);
    for (size_t s = 0; s < change.steps.size(); ++s) {
        const RecordStep& step = change.steps[s];
        if (!step.removed)
            continue;
        const int n = log.find(*step.removed, step.removedNumber, taken);
        if (n == 0)
            return Status::failure(changedElsewhere(*step.removed));
        taken.insert(n);
        found[s] = n;
    }
    // the line of every record put in: as it stood in the file when it is that record,
    // else in the written form
    std::vector<QByteArray> newLines(change.steps.size());
    for (size_t s = 0; s < change.steps.size(); ++s) {
        const RecordStep& step = change.steps[s];
        if (!step.added)
            continue;
        if (!step.addedLine.isEmpty() && loglines::recordOf(step.addedLine) == step.added) {
            newLines[s] = step.addedLine;
            continue;
        }
        const Status problem = datalog::recordProblem(*step.added);
        if (!problem)
            return problem;
        const auto encoded = cp932::encode(datalog::formatLine(*step.added));
        if (!encoded)
            return encoded.status();
        newLines[s] = *encoded;
    }
    // a number with more digits than the written form keeps is read back a little different:
    // the change holds the records as the file will give them
    std::vector<std::optional<WeightRecord>> written(change.steps.size());
    for (size_t s = 0; s < change.steps.size(); ++s)
        if (change.steps[s].added)
            written[s] = loglines::recordOf(newLines[s]).value_or(*change.steps[s].added);

    // the lines that stay, with the records replaced in place
    std::vector<int> stepOfLine(log.lines().size(), -1);
    for (size_t s = 0; s < change.steps.size(); ++s)
        if (found[s] != 0)
            stepOfLine[log.lineOf(found[s])] = static_cast<int>(s);
    std::vector<NewLine> lines;
    lines.reserve(log.lines().size() + change.steps.size());
    for (size_t i = 0; i < log.lines().size(); ++i) {
        const loglines::Line& line = log.lines()[i];
        const int s = stepOfLine[i];
        if (s < 0) {
            lines.push_back({&line, line.record, -1});
            continue;
        }
        const RecordStep& step = change.steps[static_cast<size_t>(s)];
        if (step.inPlace && step.added)
            lines.push_back({nullptr, written[static_cast<size_t>(s)], s});
    }
    // then the records put in, in the order of their numbers, each where its date fits
    std::vector<size_t> additions;
    for (size_t s = 0; s < change.steps.size(); ++s) {
        const RecordStep& step = change.steps[s];
        if (step.added && !(step.inPlace && found[s] != 0))
            additions.push_back(s);
    }
    std::stable_sort(additions.begin(), additions.end(), [&](size_t a, size_t b) {
        const int na = change.steps[a].addedNumber;
        const int nb = change.steps[b].addedNumber;
        return (na == 0 ? INT_MAX : na) < (nb == 0 ? INT_MAX : nb);
    });
    for (const size_t s : additions) {
        const RecordStep& step = change.steps[s];
        const size_t at = placeFor(lines, step);
        lines.insert(lines.begin() + static_cast<qsizetype>(at), NewLine{nullptr, written[s], static_cast<int>(s)});
    }

    // the bytes: old lines as they were (a last line without its end gets one when a line
    // follows it now), new records in the written form
    QByteArray out;
    out.reserve(static_cast<qsizetype>(lines.size()) * 48);
    LogChange result;
    result.steps = change.steps;
    for (size_t s = 0; s < change.steps.size(); ++s) {
        result.steps[s].removedNumber = found[s];
        result.steps[s].removedAfter =
            found[s] > 1 ? std::optional<WeightRecord>(log.record(found[s] - 1)) : std::nullopt;
        result.steps[s].removedLine =
            found[s] > 0 ? log.lines()[log.lineOf(found[s])].text.toByteArray() : QByteArray();
        result.steps[s].addedNumber = 0;
        result.steps[s].addedAfter.reset();
        result.steps[s].addedLine = newLines[s];
        result.steps[s].added = written[s];
    }
    const WeightRecord* previous = nullptr;
    int number = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const NewLine& line = lines[i];
        const WeightRecord* before = previous;
        if (line.record) {
            ++number;
            previous = &*line.record;
        }
        if (line.old) {
            // a line ended by CR alone, now followed by an empty line ended by LF, would join with
            // it into one CR LF: it takes CR LF, so that no line is lost
            if (out.endsWith('\r') && line.old->text.isEmpty() && line.old->end.startsWith('\n'))
                out += '\n';
            out += line.old->text;
            out += line.old->end.isEmpty() && i + 1 < lines.size() ? QByteArrayView("\r\n") : line.old->end;
            continue;
        }
        out += newLines[static_cast<size_t>(line.step)];
        out += "\r\n";
        RecordStep& step = result.steps[static_cast<size_t>(line.step)];
        step.addedNumber = number;
        step.addedAfter = before ? std::optional<WeightRecord>(*before) : std::nullopt;
    }
    *bytes = std::move(out);
    if (applied)
        *applied = std::move(result);
    return {};
}

// Reads the log for a change under the lock the caller holds; a failure when it cannot be
// read, is missing, or looks saved in UTF-8.
Result<loglines::ReadLog> readForChange(const QString& path) {
    auto log = loglines::readLog(path);
    if (!log)
        return log;
    if (!log->exists)
        return Status::failure(messages::fileNotFound(files::kData));
    if (log->utf8)
        return Status::failure(cp932::utf8Message(QFileInfo(path).fileName()));
    return log;
}

// Writes the new log, after the day's first backup.
Status writeChanged(const QString& dir, const QString& path, const QByteArray& before, const QByteArray& after) {
    const Status backup = backups::backupBeforeChange(dir, backups::Reason::FirstChangeOfDay, &before);
    if (!backup)
        return backup;
    return writeFileAtomic(path, after);
}

// Finds the record a list showed as @p number: there, or moved by other writers.
Status locateShown(EditableLog& log, int number, const std::optional<WeightRecord>& shown, int* found) {
    if (number < 1 || (!shown && number > log.recordCount()))
        return Status::failure(noSuchRecord(number, log.recordCount()));
    if (!shown) {
        *found = number;
        return {};
    }
    *found = log.find(*shown, number, {});
    if (*found == 0)
        return Status::failure(changedElsewhere(*shown));
    return {};
}

// Runs @p edit on the log under the lock and writes what it made.
template <typename Edit> Status editLog(const QString& dir, Edit&& edit) {
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kData);
    if (!lock.locked())
        return lock.failure(path);
    auto read = readForChange(path);
    if (!read)
        return read.status();
    const QByteArray before = read->bytes;
    EditableLog log(std::move(read->lines));
    QByteArray after;
    Status status = edit(log, &after);
    if (!status || after == before)
        return status;
    return writeChanged(dir, path, before, after);
}

} // namespace

LogChange LogChange::inverse() const {
    LogChange back;
    back.steps.reserve(steps.size());
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        RecordStep step;
        step.removed = it->added;
        step.removedNumber = it->addedNumber;
        step.added = it->removed;
        step.addedNumber = it->removedNumber;
        step.inPlace = it->inPlace;
        step.removedAfter = it->addedAfter;
        step.addedAfter = it->removedAfter;
        step.removedLine = it->addedLine;
        step.addedLine = it->removedLine;
        back.steps.push_back(std::move(step));
    }
    return back;
}

Status applyChange(const QString& dir, const LogChange& change, LogChange* applied) {
    return editLog(dir, [&](EditableLog& log, QByteArray* after) { return changedBytes(log, change, after, applied); });
}

void RecordCollector::after(const std::optional<WeightRecord>& before, const WeightRecord& record) {
    if (!m_active || !before)
        return;
    ++m_number;
    if (*before != record) {
        // as the rewrite writes it and the file gives it back
        const auto written = datalog::parseLine(datalog::formatLine(record));
        m_change.steps.push_back({before, m_number, written.value_or(record), m_number, true, m_previousBefore,
                                  m_previousAfter, QByteArray(), QByteArray()});
    }
    m_previousBefore = before;
    m_previousAfter = record;
}

Status changedLog(const QByteArray& before, const LogChange& change, QByteArray* after, LogChange* applied) {
    if (cp932::looksLikeUtf8(before))
        return Status::failure(cp932::utf8Message(files::kData));
    EditableLog log(loglines::split(before));
    return changedBytes(log, change, after, applied);
}

LogChange difference(const std::vector<WeightRecord>& before, const std::vector<WeightRecord>& after) {
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const size_t removedCount = before.size() - head - tail;
    const size_t addedCount = after.size() - head - tail;
    const auto number = [](size_t index) { return static_cast<int>(index) + 1; };
    const auto sameRun = [&](size_t from, size_t to, size_t count) {
        return std::equal(before.begin() + static_cast<std::ptrdiff_t>(from),
                          before.begin() + static_cast<std::ptrdiff_t>(from + count),
                          after.begin() + static_cast<std::ptrdiff_t>(to));
    };
    // a step with the records that stood before its two records
    const auto step = [&](std::optional<size_t> removed, std::optional<size_t> added, bool inPlace) {
        RecordStep st;
        if (removed) {
            st.removed = before[*removed];
            st.removedNumber = number(*removed);
            if (*removed > 0)
                st.removedAfter = before[*removed - 1];
        }
        if (added) {
            st.added = after[*added];
            st.addedNumber = number(*added);
            if (*added > 0)
                st.addedAfter = after[*added - 1];
        }
        st.inPlace = inPlace;
        return st;
    };
    LogChange change;
    if (removedCount == addedCount) {
        // one record that moved: the records between its two places are the same on both sides
        const size_t between = removedCount - 1;
        if (removedCount >= 2 && sameRun(head + 1, head, between)) {
            change.steps.push_back(step(head, head + between, false));
            return change;
        }
        if (removedCount >= 2 && sameRun(head, head + 1, between)) {
            change.steps.push_back(step(head + between, head, false));
            return change;
        }
        for (size_t i = head; i < head + removedCount; ++i)
            if (before[i] != after[i])
                change.steps.push_back(step(i, i, true));
        return change;
    }
    for (size_t i = head; i < head + removedCount; ++i)
        change.steps.push_back(step(i, std::nullopt, false));
    for (size_t i = head; i < head + addedCount; ++i)
        change.steps.push_back(step(std::nullopt, i, false));
    return change;
}

Correction correctionOf(const WeightRecord& r) {
    return {r.date, r.situation, shortestText(r.weight), shortestText(r.bodyFat), r.comment};
}

std::optional<WeightRecord> referenceFor(const std::vector<WeightRecord>& records, int number, const QString& date) {
    const auto at = static_cast<size_t>(number - 1);
    if (number < 1 || at >= records.size())
        return std::nullopt;
    // a record that keeps its place (its date, or the start record) follows the one before it
    if (number == 1 || records[at].date == date) {
        if (at > 0)
            return records[at - 1];
        if (at + 1 < records.size())
            return records[at + 1];
        return std::nullopt;
    }
    // a record that moves goes after the last record of its new date: that one is before it
    std::optional<WeightRecord> before;
    std::optional<WeightRecord> after;
    for (size_t i = 0; i < records.size(); ++i) {
        if (i == at)
            continue;
        if (records[i].date <= date)
            before = records[i];
        else if (!after)
            after = records[i];
    }
    return before ? before : after;
}

std::optional<entry::Check> firstCheck(const Correction& c, bool sampleMode,
                                       const std::optional<WeightRecord>& reference, int fromStep) {
    entry::Input input;
    input.sampleMode = sampleMode;
    input.situation = c.situation;
    input.weightText = c.weightText;
    input.fatText = c.fatText;
    // without another record there is nothing to compare with: the questions cannot arise
    input.currentWeight = reference ? reference->weight : static_cast<float>(leadingNumber(c.weightText));
    input.currentBodyFat = reference ? reference->bodyFat : static_cast<float>(leadingNumber(c.fatText));
    return entry::firstCheck(input, fromStep);
}

Status dateProblem(const std::vector<WeightRecord>& records, int number, const QString& date) {
    if (number == 1 && records.size() > 1 && date > records[1].date)
        return Status::failure(startDateMessage(records[1].date));
    return {};
}

WeightRecord correctedRecord(const Correction& c, const WeightRecord& original) {
    WeightRecord r = original;
    r.date = c.date;
    r.situation = c.situation;
    r.weight = static_cast<float>(leadingNumber(c.weightText));
    r.bodyFat = static_cast<float>(leadingNumber(c.fatText));
    r.comment = c.comment;
    return r;
}

Status correctRecord(const QString& dir, int number, const std::optional<WeightRecord>& shown,
                     const WeightRecord& corrected, LogChange* applied) {
    const Status problem = datalog::recordProblem(corrected);
    if (!problem)
        return problem;
    return editLog(dir, [&](EditableLog& log, QByteArray* after) {
        int found = 0;
        const Status located = locateShown(log, number, shown, &found);
        if (!located)
            return located;
        const WeightRecord& old = log.record(found);
        // the start record stays first: its date may not pass the next record's
        if (found == 1 && log.recordCount() > 1 && corrected.date > log.record(2).date)
            return Status::failure(startDateMessage(log.record(2).date));
        LogChange change;
        const bool stays = found == 1 || corrected.date == old.date;
        change.steps.push_back(
            {old, found, corrected, stays ? found : 0, stays, std::nullopt, std::nullopt, QByteArray(), QByteArray()});
        return changedBytes(log, change, after, applied);
    });
}

Status deleteRecord(const QString& dir, int number, const std::optional<WeightRecord>& shown, LogChange* applied) {
    if (number == 1)
        return Status::failure(startRecordMessage());
    return editLog(dir, [&](EditableLog& log, QByteArray* after) {
        int found = 0;
        const Status located = locateShown(log, number, shown, &found);
        if (!located)
            return located;
        if (found == 1)
            return Status::failure(startRecordMessage());
        LogChange change;
        change.steps.push_back(
            {log.record(found), found, std::nullopt, 0, false, std::nullopt, std::nullopt, QByteArray(), QByteArray()});
        return changedBytes(log, change, after, applied);
    });
}

Result<WeightRecord> recordAt(const QString& dir, int number) {
    const auto log = loglines::readLog(resolveFile(dir, files::kData));
    if (!log)
        return log.status();
    std::vector<WeightRecord> records;
    for (const loglines::Line& line : log->lines)
        if (line.record)
            records.push_back(*line.record);
    if (number < 1 || number > static_cast<int>(records.size()))
        return Status::failure(noSuchRecord(number, static_cast<int>(records.size())));
    return records[static_cast<size_t>(number - 1)];
}

QString recordText(const WeightRecord& r) {
    const QString gap = QStringLiteral("　");
    QString text = r.date + gap + r.situation + gap + formats::kg(r.weight) + gap + formats::onePercent(r.bodyFat);
    if (!r.comment.isEmpty())
        text += gap + QStringLiteral("「%1」").arg(r.comment);
    return text;
}

QString deleteQuestion(int number, const WeightRecord& record) {
    return QStringLiteral("次の記録（%1 番目）を削除します。よろしいですか？\r\n\r\n　%2")
        .arg(number)
        .arg(recordText(record));
}

QString deleteTitle() {
    return QStringLiteral("削除確認");
}

QString startRecordMessage() {
    return QStringLiteral("1 番目の記録はダイエットのスタートの記録のため、削除できません。\r\n"
                          "スタートを変えるときは、編集画面の「新規スタート」を使ってください。");
}

} // namespace puka::logedits
