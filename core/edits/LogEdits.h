#pragma once

#include "core/base/Status.h"
#include "core/base/WeightRecord.h"
#include "core/edits/MeasurementEntry.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace puka {

/// Corrections and deletions of single measurements, and changes of the log that can be
/// taken back: each is applied to the log as the file holds it under the folder's write lock.
/// A record's number counts the readable records from the first line (1 = the start record),
/// as the comment diary numbers them; lines that are no measurement are not counted and keep
/// their bytes, line ends included.
namespace logedits {

/// One record's part in a change of the log.
struct RecordStep {
    std::optional<WeightRecord> removed; ///< the record taken out, as it stood
    int removedNumber = 0;               ///< its number before the change; 0 when not known
    std::optional<WeightRecord> added;   ///< the record put in
    int addedNumber = 0;                 ///< its number after the change; 0 puts it by its date
    bool inPlace = false;                ///< the added record takes the removed one's line
    /// The records that stood directly before the removed and the added record, so that a record
    /// put back goes right after its old neighbour even when other writers moved the numbers.
    std::optional<WeightRecord> removedAfter;
    std::optional<WeightRecord> addedAfter;
    /// The lines of the two records as they stood in the file (without line end), when known:
    /// a record put back is written as its line stood, so that an undo gives back its bytes,
    /// even those of a line the written form would not give (a hand-edited 75.50).
    QByteArray removedLine;
    QByteArray addedLine;
};

/// A change of the log: records taken out, put in, or replaced where they stand.
struct LogChange {
    std::vector<RecordStep> steps;

    bool empty() const { return steps.empty(); }
    /// The change that takes this one back: every record put in is taken out again and every
    /// record taken out is put back where it stood.
    LogChange inverse() const;
};

/// Gathers the records a rewrite rule changes, as it sees them one after the other, into a
/// change that takes them back. Inactive (and free) when made with false.
class RecordCollector {
public:
    explicit RecordCollector(bool active) : m_active(active) {}
    /// The record as the rule is given it, before the rule changes it.
    std::optional<WeightRecord> before(const WeightRecord& record) const {
        return m_active ? std::optional<WeightRecord>(record) : std::nullopt;
    }
    /// The record as the rule left it; a record that differs from @p before is a step.
    void after(const std::optional<WeightRecord>& before, const WeightRecord& record);
    LogChange take() { return std::move(m_change); }

private:
    bool m_active;
    int m_number = 0;
    std::optional<WeightRecord> m_previousBefore;
    std::optional<WeightRecord> m_previousAfter;
    LogChange m_change;
};

/// A measurement and the number it has in the log, as a list shows it.
struct NumberedRecord {
    int number = 0;
    WeightRecord record;
};

/**
 * Applies @p change to the log as it is now, under the folder's write lock. Every record the
 * change takes out must still be in the log exactly as it was left: it is looked for at its
 * number, and when other writers have moved it since, at the nearest place that holds it.
 * When one is missing nothing is written and the message names it. A record put in goes to
 * its number when its date fits there, else directly before the first record of a later date
 * (after every record of its own date). @p applied receives the change as it was made, with
 * the numbers the records had, so that its inverse() takes it back exactly.
 */
Status applyChange(const QString& dir, const LogChange& change, LogChange* applied = nullptr);

/// applyChange() on the log's bytes @p before in memory, for a writer that writes more than
/// the log under one hold of the lock: @p after receives the new bytes. A log that looks saved
/// in UTF-8 is refused, as every writer refuses it.
Status changedLog(const QByteArray& before, const LogChange& change, QByteArray* after, LogChange* applied = nullptr);

/// The change that turns the records @p before into @p after (for a writer that rewrote the
/// whole log): records equal at either end are left out, a record replaced at the same place
/// is replaced in place, and a record that moved is taken out and put in at its new place.
LogChange difference(const std::vector<WeightRecord>& before, const std::vector<WeightRecord>& after);

/// What the correction dialog or `pukapuka-log edit` gives for a record.
struct Correction {
    QString date; ///< "yyyy/mm/dd"
    QString situation;
    QString weightText;
    QString fatText;
    QString comment;
};

/// The fields of @p record as the correction dialog starts from them.
Correction correctionOf(const WeightRecord& record);

/// The measurement a correction of record @p number to the date @p date is checked against,
/// as the entry checks against the previous one: the record before it when it keeps its place
/// (its date unchanged, or the start record), else the last record of the new date's place;
/// the one after it when none stands before. Nothing when the log holds no other record.
std::optional<WeightRecord> referenceFor(const std::vector<WeightRecord>& records, int number, const QString& date);

/// The entry's checks for a correction, with the same messages and in the same order (the
/// sample data, the situation, the weight, the body fat; the two questions confirm).
/// @p reference is what referenceFor() gives; without one the questions are not asked.
std::optional<entry::Check> firstCheck(const Correction& correction, bool sampleMode,
                                       const std::optional<WeightRecord>& reference, int fromStep = 0);

/// Why record @p number of @p records cannot take the date @p date, as a failure: the
/// start record may take only a date on or before the next record's.
Status dateProblem(const std::vector<WeightRecord>& records, int number, const QString& date);

/// The record a checked correction writes.
WeightRecord correctedRecord(const Correction& correction, const WeightRecord& original);

/**
 * Corrects record @p number. When @p shown is given, the log must still hold that record
 * (where the list showed it, or moved by other writers); otherwise nothing is written and the
 * failure asks to look again. A new date moves the record directly before the first record
 * of a later date; the start record (record 1) stays first and may take only a date on or
 * before the next record's. Everything else in the file keeps its bytes. @p applied receives
 * the change for taking it back.
 */
Status correctRecord(const QString& dir, int number, const std::optional<WeightRecord>& shown,
                     const WeightRecord& corrected, LogChange* applied = nullptr);

/// Deletes record @p number (checked against @p shown as correctRecord() does). The start
/// record cannot be deleted: the message points to 新規スタート.
Status deleteRecord(const QString& dir, int number, const std::optional<WeightRecord>& shown,
                    LogChange* applied = nullptr);

/// The record of a given number as the log holds it now; a failure when there is no such
/// record or the log cannot be read.
Result<WeightRecord> recordAt(const QString& dir, int number);

/// The record in one line for messages: 2026/12/05　起床後　60.2Kg　25.0%　「コメント」.
QString recordText(const WeightRecord& record);

/// The Yes/No question before a deletion, and its title.
QString deleteQuestion(int number, const WeightRecord& record);
QString deleteTitle();

/// The refusal of deleting the start record.
QString startRecordMessage();

} // namespace logedits
} // namespace puka
