#pragma once

#include "core/base/ViewModel.h"
#include "core/base/WeightRecord.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace puka {

/// The colour calendar `fraCale`: one grid row per month, each measured day coloured by how
/// the weight moved within that day.
namespace calendar {

/// How the weight moved within one day, from its first to its last measurement.
enum class DayKind {
    Down,     ///< two or more weights, the last below the first
    Up,       ///< two or more weights, the last above the first
    NoChange, ///< two or more weights, the last equal to the first
    Once,     ///< exactly one weight
};

/// The display modes of the buttons `cmdSel1`, by index.
enum class Mode {
    Detailed = 0, ///< "詳細表示": every kind its own colour
    Simple = 1,   ///< "簡易表示": no change shows as down, one measurement as up
};

inline constexpr Rgb kDownColour = rgb(192, 255, 192);
inline constexpr Rgb kUpColour = rgb(255, 192, 192);
inline constexpr Rgb kNoChangeColour = rgb(255, 255, 192);
inline constexpr Rgb kOnceColour = rgb(192, 192, 255);
/// The back colour of the selected mode button.
inline constexpr Rgb kSelectedButtonColour = rgb(255, 224, 192);

/// What the panel shows after one build.
struct CalendarView {
    GridModel grid; ///< msgList2
    int down = 0;   ///< Dn
    int up = 0;     ///< Up
    int same = 0;   ///< Sm
    int once = 0;   ///< One
    int unmeasured = 0;
    QString downText;
    QString upText;
    QString sameText;
    QString onceText;
    QString unmeasuredText;
    QString goodDaysText;
    QString badDaysText;
    QString balanceSign; ///< ">", "=" or "<": good days (down, no change) against bad days
    QString face;        ///< imgWara2, imgNiko2 or imgKana2
};

/// The kind of a day from its first weight, its last weight and how many it has (at least 1).
DayKind classify(float first, float last, int count);

/// The cell colour of a day kind in a mode.
Rgb colourOf(DayKind kind, Mode mode);

/// The back colour of mode button @p index (0 or 1) while @p mode is set: the selected button
/// has kSelectedButtonColour, the other the system's button face (nothing).
std::optional<Rgb> modeButtonColour(Mode mode, int index);

/// The captions of the mode buttons `cmdSel1`, by index.
QString modeCaption(Mode mode);

/// The fixed back colours of the legend labels lblDn_c, lblUp_c, lblSm_c, lblOne_c, lblNon_c.
std::array<Rgb, 5> legendColours();

/// The four colour bars under the totals, from left to right.
std::array<Rgb, 4> colourBars();

/// The grid `msgList2` with its header row only.
GridModel emptyCalendarGrid();

/**
 * One pass over the records in file order. A new month opens a row; each day
 * (consecutive records of one date) is classed when the next date begins, or at the end,
 * and its cell coloured in the row of its own month, even when the next record already
 * opened the following month's row. @p today counts the unmeasured days for lblNon_c.
 */
CalendarView buildCalendar(const std::vector<WeightRecord>& records, Mode mode, const QDate& today);

/**
 * The calendar days on which nothing was recorded, from the first record's date up to
 * yesterday: today is still open until the day ends, so a day without a measurement yet is
 * not counted against it. Days already measured, and days dated after today, do not count.
 * Never negative; 0 for an empty log or a first record dated today or later.
 */
int unmeasuredDays(const std::vector<WeightRecord>& records, const QDate& today);

/**
 * The date of a double-clicked cell: the month of the row's column 0 and the day of the
 * column. Nothing for the header row, the month column, a day beyond the month's length or a
 * row that does not exist, so such a double-click does nothing. @p row and @p column are grid
 * rows and columns (row 0 is the header).
 */
std::optional<QDate> dateOfCell(const GridModel& grid, int row, int column);

/// The view as the report prints it.
ViewModel viewModel(const CalendarView& calendar);

/// The help-tour text shown when the panel opens (lines joined by CR LF).
QString guidanceText();

} // namespace calendar
} // namespace puka
