#pragma once

#include "core/base/Notice.h"
#include "core/base/Status.h"
#include "core/base/WeightRecord.h"
#include "core/files/Settings.h"

#include <QDate>
#include <QString>

#include <optional>

namespace puka {

/// New start: a new profile and a log of one start record, the old log kept as a dated backup.
namespace newstart {

/// The initial text of `txtNowJyou`.
QString defaultSituation();

/// The message `cmdNew1` shows when the frame opens.
Notice introduction();

/// The texts of the frame `fraNew`.
struct Input {
    QString name;          ///< txtPriData1
    QString heightText;    ///< txtSincyou1
    QString targetText;    ///< txtMokuTai1
    QString weightText;    ///< txtNowTai
    QString fatText;       ///< txtNowShi
    QString situationText; ///< txtNowJyou
};

/// The refusal of a height or target weight that is empty or no positive number (blanks at
/// either end allowed), checked in that order, or nothing. The profile edit checks alike.
std::optional<Notice> profileRefusal(const QString& heightText, const QString& targetText);

/// The refusal of a name that the profile file cannot hold (a double quote, a line break or a
/// character code page 932 cannot hold), or nothing. An empty name is allowed.
std::optional<Notice> nameRefusal(const QString& name);

/**
 * The first check of `cmdStHozon` that does not pass, in their fixed order: height (empty,
 * then no positive number), target weight (alike), current weight (empty, then no number
 * above 0 and below 999), body fat (empty, then no number of 0 or more), the first situation
 * (empty, then a text the log cannot hold), and the name. Nothing when all pass.
 */
std::optional<Notice> firstRefusal(const Input& input);

/// The confirmation asked after the checks (exclamation icon, OK and Cancel, OK the default).
Notice confirmQuestion();

/// The profile and the start record of checked input, dated @p today.
Profile profileOf(const Input& input);
WeightRecord startRecord(const Input& input, const QDate& today);

/// The name of the backup the old log gets: "データ_yyyyMMdd.txt", or "データ_yyyyMMdd_2.txt",
/// "_3", ... when that name is taken.
QString backupName(const QString& dir, const QDate& today);

/// What the new start did.
struct StartOutcome {
    Profile profile;
    WeightRecord record;
    QString backupName; ///< where the old log now is; empty when there was none
};

/**
 * The new start after the user confirmed: the old log, when there is one, is first copied
 * whole to backupName(); then the profile is written by writeProfile and the log replaced by
 * the one start record of today, weight and body fat in 64 bits. The input is checked again
 * and refused with firstRefusal()'s text. On any failure the files are as they were before,
 * except when a folder flush failed after its file was put in place: the new start then goes
 * on, and its status is that failure (Status::inPlace() tells that the new start was made).
 * Everything happens under one hold of the folder's write lock.
 */
Status start(const QString& dir, const Input& input, StartOutcome* result = nullptr);

/// The closing message; it names the backup when there is one.
Notice finished(const QString& backupName);

} // namespace newstart
} // namespace puka
