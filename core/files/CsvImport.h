#pragma once

#include "core/base/Status.h"
#include "core/base/WeightRecord.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QTimeZone>

#include <optional>
#include <vector>

namespace puka {

/// Reading the measurements of a CSV or TSV file that another program wrote: a tracker's or a
/// scale app's export, a spreadsheet, or a log of this program from another folder.
namespace csvimport {

/// The situation of a row that has neither a situation nor a time of its own.
inline const QString kDefaultSituation = QStringLiteral("インポート");

/// How many refused rows keep their reason; the rest are only counted.
constexpr int kKeptRefusals = 100;

/// The most measurements one file may bring. A million is decades of weighing many times a
/// day, and a log far beyond it would make every panel slow; a larger file is refused whole.
constexpr qint64 kRowLimit = 1000000;

/// The character encodings a file is read in.
enum class Encoding {
    Utf8,              ///< UTF-8 without a byte order mark (also plain ASCII)
    Utf8WithBom,       ///< UTF-8 with a byte order mark
    Utf16LittleEndian, ///< UTF-16 LE, with or without a byte order mark
    Utf16BigEndian,    ///< UTF-16 BE, with or without a byte order mark
    Cp932,             ///< Shift_JIS as Windows writes it (code page 932)
};

/// The weight units.
enum class Unit {
    Kilogram,
    Pound,
};

/// What the caller chooses.
struct Options {
    /// The unit of every weight and fat mass that does not name its own unit in its cell;
    /// nothing: the unit in the column's header, else kilograms.
    std::optional<Unit> unit;
    /// The situation of rows without a situation column (or with an empty cell there); empty:
    /// the row's time of day as the time button writes it, else kDefaultSituation.
    QString situation;
    /// The zone a date and time with a zone of its own (2020-01-15T07:32:10Z) is taken into.
    QTimeZone zone = QTimeZone::systemTimeZone();
    /// The most rows a file may hold; more refuse the whole file.
    qint64 rowLimit = kRowLimit;
};

/// One measurement of the file, checked as the entry checks a new measurement.
struct Row {
    qint64 lineNumber = 0; ///< the line of the file where the row starts, counted from 1
    QDate date;
    QTime time;        ///< null when the row has no time of day
    float weight = 0;  ///< kg, as it will be stored
    float bodyFat = 0; ///< %, 0 when the row has none
    QString situation; ///< null: the time of day, or kDefaultSituation without one
    QString comment;

    /// The situation the row is saved with.
    QString resolvedSituation() const;
    /// The record the row becomes: its date as "yyyy/mm/dd", its situation resolved.
    WeightRecord record() const;
};

/// A line of the file that is no measurement the log can take, with the reason in Japanese.
struct RefusedRow {
    qint64 lineNumber = 0;
    QString reason;
};

/// How body fat is given in the file.
enum class FatColumn {
    None,       ///< no body fat column: rows get 0
    Percentage, ///< a body fat percentage
    Mass,       ///< a fat mass, converted into a percentage of the row's weight
};

/// The headers of the columns taken, as they stand in the file; empty when there is none.
struct Columns {
    QString date;
    QString time;
    QString weight;
    QString bodyFat;
    QString situation;
    QString comment;
    bool logFormat = false; ///< no header: lines in this program's own log format
};

/// Everything read from a file.
struct Table {
    Status status; ///< a failure: the file holds no table to import (nothing else is set then)
    Encoding encoding = Encoding::Utf8;
    QChar separator = QLatin1Char(',');
    Columns columns;
    FatColumn fat = FatColumn::None;
    bool kilograms = false;          ///< some weight was in kilograms
    bool pounds = false;             ///< some weight was in pounds (converted to kilograms)
    std::vector<Row> rows;           ///< in file order
    std::vector<RefusedRow> refused; ///< the first kKeptRefusals refused rows, in file order
    qint64 refusedCount = 0;         ///< all refused rows
    qint64 withoutBodyFat = 0;       ///< rows with an empty body fat cell, or all without a column
    QDate firstDate;                 ///< the earliest date among the rows
    QDate lastDate;                  ///< the latest

    /// The Japanese lines that say what was found: encoding, separator, columns, units, rows
    /// and their dates, refused rows with their line numbers.
    QStringList findings() const;
};

/**
 * Reads the measurements of a table file. The encoding is detected (byte order marks, UTF-8,
 * else code page 932; UTF-16 also without a mark), then the header: the first line (or '#'
 * line) in which, split at commas, semicolons or tabs, a date (or date-and-time) column and a
 * weight column are found by their header in English or Japanese, whatever the case, the
 * width of the characters and a unit in brackets. Lines before the header, blank lines and
 * lines starting with '#' are passed over; a file without a header whose lines are in this
 * program's own log format is read as such.
 *
 * Each row is checked as the entry checks a new measurement (weight above 0 and below 999 kg,
 * body fat 0 or more; texts that the log cannot hold refused with the entry's messages), and
 * its date must lie from 1900/01/01 to 2099/12/31. Pounds become kilograms rounded to 0.01 kg
 * (every 0.1 lb step of a scale stays distinct); a fat mass becomes a percentage of the row's
 * weight rounded to 0.1 %, the precision a scale shows. A row that fails is refused with its
 * line number and reason; the other rows are still read. A file of more than Options::rowLimit
 * measurements is refused whole, as soon as the row after the limit is read.
 */
Table read(const QByteArray& bytes, const Options& options = Options());

/// The Japanese name of an encoding: "UTF-8（BOM 付き）", "Shift_JIS（CP932）", ...
QString encodingName(Encoding encoding);

} // namespace csvimport
} // namespace puka
