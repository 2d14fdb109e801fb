#pragma once

#include "core/base/Notice.h"
#include "core/base/Status.h"
#include "core/base/WeightRecord.h"
#include "core/files/Settings.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

namespace puka {

/// The checks and the record of one measurement entry.
namespace entry {

/// What the user has entered, and what it is checked against.
struct Input {
    bool sampleMode = false;
    QString situation;
    QString weightText;
    QString fatText;
    float currentWeight = 0;
    float currentBodyFat = 0;
};

/// A check that stopped the save: a refusal, or a question whose Yes lets the save go on.
struct Check {
    int step = 0;
    Notice notice;
    bool confirm = false; ///< Yes/No with No as default; otherwise a warning with OK
};

/// The first check from @p fromStep on that does not pass, in their fixed order, or nothing
/// when the entry can be saved. After a confirmed question, continue from its step + 1.
std::optional<Check> firstCheck(const Input& input, int fromStep = 0);

/// True when the text, apart from blanks at either end, is a number: a sign, digits and an
/// optional decimal point with digits.
bool isNumeric(const QString& text);

/// The field text after one press of an up (+1) or down (−1) button: the field's leading
/// number plus or minus the step, in 64 bits, as its shortest text. A refusal that tells the
/// user why when the step text is not a positive number.
Result<QString> stepped(const QString& fieldText, const QString& stepText, int direction);

/// How a new record goes into the log.
enum class Placement { Append, Insert };

/// The record for a checked entry on @p day, and where it goes: inserted with an empty comment
/// when the log already holds a later day, else appended with the time of day as its comment
/// when the time stamp is on.
std::pair<WeightRecord, Placement> makeRecord(const Input& input, const QDate& day, const QString& lastDate,
                                              bool timeStamp, const QTime& now);

/// What a save wrote, or why it wrote nothing.
struct SaveResult {
    WeightRecord record;
    Placement placement = Placement::Append;
    bool refused = false; ///< the record itself was refused (a text or date the log cannot hold)
};

/**
 * The save of an entry that passed firstCheck() (every question answered Yes), shared by the
 * save button and `pukapuka-log add`. Under the folder's write lock the log's last record, as
 * the file holds it at that moment, decides where the record for @p day goes (makeRecord()):
 * appended, with the time of day @p now as its comment when @p timeStamp is on, or inserted in
 * date order with an empty comment, so a record another window or program saved meanwhile can
 * never put the log out of order. @p comment, when given, is the comment in either case.
 * A record the log cannot hold is refused (SaveResult::refused) before anything is written.
 */
Status saveEntry(const QString& dir, const Input& input, const QDate& day, bool timeStamp, const QTime& now,
                 const std::optional<QString>& comment = std::nullopt, SaveResult* result = nullptr);

/// True when the log and profile are the shipped sample data set (its start date,
/// name, target weight and height); no measurement is saved into it (check step 0).
bool isSampleData(const QString& startDate, const Profile& profile);

/// The prompt of the free situation input.
QString freePrompt();

} // namespace entry
} // namespace puka
