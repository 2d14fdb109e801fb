#pragma once

#include "core/base/Status.h"
#include "core/base/WeightRecord.h"
#include "core/edits/LogEdits.h"

#include <QString>

#include <vector>

namespace puka {

/// The comment diary's save and the diary panel's texts.
namespace diary {

/// The guidance text of the diary panel for the help tour.
QString guidanceText();

/**
 * The comment rewrite of `cmdMemoHozon`: the log written back whole and at once, every readable
 * record with its date, situation, weight, body fat and comment unchanged and its spare field
 * empty, except that the record of body row @p row (counting from 1) of the diary grid gets
 * @p comment. Lines that are no measurement keep their bytes and their place.
 *
 * @p shown are the records the grid shows, as buildDiaryList was given them. When the log no longer
 * holds those records (their number, or the date, situation, weight or body fat of the chosen
 * one differ) nothing is written and the failure asks the user to open the diary again, so a
 * stale grid never puts the comment on another measurement.
 *
 * A comment with a double quote, a line break or a character code page 932 cannot hold is
 * refused with the message of textFieldProblem() before anything is written.
 *
 * @p change, when given, receives the records the save changed (the chosen comment, and any
 * spare field it emptied), so that the save can be taken back.
 */
Status saveComment(const QString& dir, const std::vector<WeightRecord>& shown, int row, const QString& comment,
                   logedits::LogChange* change = nullptr);

} // namespace diary
} // namespace puka
